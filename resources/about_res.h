// Resource ids of the About window (frmAbout); cmdOK is IDOK.
#pragma once

#define IDD_ABOUT 3400
#define IDC_ABOUT_LOGO 3401
#define IDC_ABOUT_VERSION 3402
#define IDC_ABOUT_LINK 3403
#define IDC_ABOUT_DIVIDER 3404
#define IDC_ABOUT_DIVIDER2 3405
#define IDC_ABOUT_FOOTER 3406
#define IDS_ABOUT_VERSION 3407
