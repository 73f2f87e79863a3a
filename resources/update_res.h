// Resource ids of the update check's notices and texts (part of
// Pfadwerk.exe). The string ids 2 to 13 are the texts' own numbers.
#pragma once

// The update notice shows the icon named "Update_32_XP".

#define IDS_UPDATE_AVAILABLE 2
#define IDS_UPDATE_INSTALLED 3
#define IDS_UPDATE_OFFERED 4
#define IDS_UPDATE_DOWNLOAD 5
#define IDS_UPDATE_RECOMMENDED 6
#define IDS_UPDATE_CAPTION 7
#define IDS_UPDATE_CURRENT 8
#define IDS_UPDATE_UP_TO_DATE 9
#define IDS_UPDATE_FAILED 10
#define IDS_UPDATE_CLOSE 11
#define IDS_UPDATE_IGNORE 13
#define IDS_UPDATE_OK 1310

// The notice before Vista (frmUpdateCheck); cmdOK and cmdClose are IDOK and
// IDCANCEL.
#define IDD_UPDATECHECK 1300
#define IDC_UPDATE_HEADER 1301
#define IDC_UPDATE_VERSIONDESC 1302
#define IDC_UPDATE_VERSIONS 1303
#define IDC_UPDATE_TIP 1304
