// Pictures of the main window's menus and dialogs: UiShots OUT_FOLDER
// DIST_FOLDER HISTORY_FILE. Loads the main window in this process over the
// given history, opens the button menu, the menu bar, each page of the
// options, the About window, the ignore manager and entry dialog, the notices
// of the update check (an update, for the menu command and the weekly check,
// and up to date, against a version file served on 127.0.0.1), the import of
// the folders Windows remembers (planted in the prefix's own places, one per
// source) with the lists after it, and the help, and saves each as
// OUT_FOLDER\NAME.bmp (what the screen shows in the rectangle of the windows
// concerned). Run only inside a scratch Wine prefix (tools/ui-screenshots.sh).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DestListBytes.h"
#include "Handles.h"
#include "LoopbackHttpServer.h"
#include "WindowsHistoryFixture.h"
#include "MainControls.h"
#include "PfadwerkVersion.h"
#include "ShellFolders.h"
#include "app_res.h"
#include "frmMain.h"
#include "options_res.h"

namespace {

std::wstring out;

void Pump(int milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

RECT Union(std::initializer_list<HWND> windows) {
    RECT all{};
    for (HWND w : windows) {
        RECT r{};
        if (w && IsWindowVisible(w) && GetWindowRect(w, &r))
            UnionRect(&all, &all, &r);
    }
    return all;
}

void Save(const std::wstring& name, RECT r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + size), 0, 0,
                          static_cast<DWORD>(sizeof file + sizeof info.bmiHeader)};
    if (FILE* f = _wfopen((out + L"\\" + name + L".bmp").c_str(), L"wb")) {
        fwrite(&file, sizeof file, 1, f);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
        fwrite(bits, size, 1, f);
        fclose(f);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// Runs what inside the modal loop of the window that open() shows.
std::function<void(HWND)> inModal;
HWND modalOwner = nullptr;
BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (GetWindow(window, GW_OWNER) == modalOwner && IsWindowVisible(window) && IsWindowEnabled(window)) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
    }
    return TRUE;
}
void CALLBACK RunInModal(HWND, UINT, UINT_PTR id, DWORD) {
    HWND shown = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&shown));
    if (!shown)
        return;
    KillTimer(nullptr, id);
    inModal(shown);
}
void WithModal(HWND owner, const std::function<void()>& open, const std::function<void(HWND)>& what) {
    modalOwner = owner;
    inModal = what;
    SetTimer(nullptr, 0, 200, &RunInModal);
    open();
}

HWND main_ = nullptr;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// A version file that offers this build plus `ahead` to every check.
std::string VersionFile(int ahead) {
    const std::string build = std::to_string(PFADWERK_VERSION_BUILD + ahead);
    return "<pfadwerk><version_info><major>" + std::to_string(PFADWERK_VERSION_MAJOR) + "</major><minor>" +
           std::to_string(PFADWERK_VERSION_MINOR) + "</minor><build>" + build + "</build><build_manualcheck>" + build +
           "</build_manualcheck></version_info>"
           "<download_url>http://www.example.com/download/</download_url></pfadwerk>";
}

// One remembered folder for each source, in the prefix's own places.
void PlantWindowsHistory() {
    using namespace pw::test;
    std::wstring recent = pw::GetShellFolderPath(CSIDL_RECENT);
    for (const wchar_t* folder :
         {L"C:\\Projekte", L"C:\\Projekte\\Angebote", L"C:\\Projekte\\Berichte 2024", L"C:\\Fotos",
          L"C:\\Fotos\\Urlaub 2025", L"C:\\Musik", L"C:\\Musik\\Klassik", L"C:\\Kunden", L"C:\\Kunden\\Meyer GmbH"})
        CreateDirectoryW(folder, nullptr);
    std::uint64_t day = 24ull * 3600 * 10000000;
    MakeShortcut(recent + L"\\Angebote.lnk", L"C:\\Projekte\\Angebote", Now() - 3 * day);
    MakeShortcut(recent + L"\\Projekte.lnk", L"C:\\Projekte", Now() - 12 * day);
    std::vector<pw::Bytes> link = pw::ItemIds(*pw::CheckedItemIdList(ItemIdsOf(recent + L"\\Angebote.lnk")));
    SetBinary(pw::kRecentDocsFolderKey, L"0", Utf16z(L"Angebote") + pw::JoinItemIds({link.back()}));
    SetBinary(pw::kRecentDocsFolderKey, L"MRUListEx", Numbers({0, 0xFFFFFFFF}));
    SetText(pw::kTypedPathsKey, L"url1", L"C:\\Projekte\\Berichte 2024");
    SetBinary(pw::kLastVisitedPidlMruKey, L"0", Utf16z(L"notepad.exe") + ItemIdsOf(L"C:\\Fotos\\Urlaub 2025"));
    SetBinary(pw::kLastVisitedPidlMruKey, L"MRUListEx", Numbers({0, 0xFFFFFFFF}));
    std::wstring key = pw::kBagMruKeys[2];
    for (const pw::Bytes& item : pw::ItemIds(*pw::CheckedItemIdList(ItemIdsOf(L"C:\\Musik\\Klassik")))) {
        SetBinary(key, L"0", item);
        SetBinary(key, L"MRUListEx", Numbers({0, 0xFFFFFFFF}));
        key += L"\\0";
    }
    std::wstring jumps = recent + L"\\" + pw::kAutomaticDestinationsFolder;
    CreateDirectoryW(jumps.c_str(), nullptr);
    MakeJumpList(jumps + L"\\shots.automaticDestinations-ms",
                 pwtest::DestListBytes(3, {{u"C:\\Kunden\\Meyer GmbH", Now() - 40 * day}}));
}

void CALLBACK ShootMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Save(L"buttonmenu", Union({main_, FindWindowW(L"#32768", nullptr)}));
    EndMenu();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 4)
        return 2;
    out = argv[1];
    pw::cComInit com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    // Every check of this run, the weekly one as the window closes included,
    // asks this server only.
    pw::test::cLoopbackHttpServer server;
    server.Answer(200, VersionFile(0));

    pw::frmMainSetup setup;
    setup.updateCheckServices.versionFileUrl = server.Url();
    setup.programFolder = argv[2];
    setup.databasePath = argv[3];
    setup.singleInstance = false;
    setup.openAddress = [](HWND, const std::wstring&) {};
    auto form = std::make_unique<pw::frmMain>(setup);
    if (!form->Load())
        return 1;
    main_ = form->Hwnd();
    Pump(1500);
    Save(L"main", Union({main_}));

    SetTimer(nullptr, 0, 700, &ShootMenu);
    HWND button = GetDlgItem(main_, 0);
    for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && (GetWindowLongW(child, GWL_STYLE) & BS_ICON))
            button = child;
    }
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    Pump(300);

    SendMessageW(main_, WM_COMMAND, IDM_MENU_SHOWMENUBAR, 0);
    Pump(500);
    Save(L"menubar", Union({main_}));
    SendMessageW(main_, WM_COMMAND, IDM_VIEW_HIDEMENUBAR, 0);
    Pump(300);

    for (int page = 0; page < 3; ++page) {
        WithModal(
            main_, [] { SendMessageW(main_, WM_COMMAND, IDM_MENU_OPTIONS, 0); },
            [page](HWND dialog) {
                HWND tabs = GetDlgItem(dialog, IDC_OPT_TABS);
                TabCtrl_SetCurSel(tabs, page);
                NMHDR note{tabs, IDC_OPT_TABS, static_cast<UINT>(TCN_SELCHANGE)};
                SendMessageW(dialog, WM_NOTIFY, IDC_OPT_TABS, reinterpret_cast<LPARAM>(&note));
                Pump(700);
                Save(L"options-" + std::to_wstring(page + 1), Union({dialog}));
                EndDialog(dialog, IDCANCEL);
            });
        Pump(200);
    }
    WithModal(
        main_, [] { SendMessageW(main_, WM_COMMAND, IDM_MENU_ABOUT, 0); },
        [](HWND about) {
            Pump(700);
            Save(L"about", Union({about}));
            EndDialog(about, IDCANCEL);
        });
    Pump(200);

    // The ignore manager (the list is set by the script), and the entry
    // dialog of "Immer ignorieren..." on the first entry of the list.
    WithModal(
        main_, [] { SendMessageW(main_, WM_COMMAND, IDM_MENU_IGNOREDFOLDERS, 0); },
        [](HWND manager) {
            Pump(700);
            Save(L"ignore-manager", Union({manager}));
            EndDialog(manager, IDCANCEL);
        });
    Pump(200);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = form->FolderList().ListHwnd();
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(click.hdr.hwndFrom));
    click.hdr.code = NM_RCLICK;
    SetTimer(nullptr, 0, 300, &CloseMenu);
    SendMessageW(form->FolderList().Hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    WithModal(
        main_, [] { SendMessageW(main_, WM_COMMAND, pw::cmd::mnuPopUpFolderIgnore, 0); },
        [](HWND entry) {
            Pump(700);
            Save(L"ignore-entry", Union({entry}));
            EndDialog(entry, IDCANCEL);
        });
    Pump(200);

    // The notices in the form of this Windows version (Wine's pretended one),
    // closed by their Cancel button, or OK where that is the only one.
    // The weekly check's notice offers Ignorieren instead.
    struct Notice {
        int ahead;
        bool automatic;
        const wchar_t* name;
    };
    for (Notice n : {Notice{1, false, L"update-notice"}, Notice{1, true, L"update-notice-automatic"},
                     Notice{0, false, L"uptodate-notice"}}) {
        server.Answer(200, VersionFile(n.ahead));
        std::wstring picture = n.name;
        WithModal(
            main_,
            [&form, n] {
                if (n.automatic)
                    form->CheckForUpdates(true);
                else
                    SendMessageW(main_, WM_COMMAND, IDM_MENU_CHECKFORUPDATES, 0);
            },
            [picture](HWND notice) {
                Pump(1500);
                Save(picture, Union({notice}));
                HWND button = GetDlgItem(notice, IDCANCEL);
                if (!button || !IsWindowVisible(button))
                    button = GetDlgItem(notice, IDOK);
                PostMessageW(button, BM_CLICK, 0, 0);
            });
        Pump(200);
    }

    // The import with an entry from every source, OK, and the lists after it.
    PlantWindowsHistory();
    WithModal(
        main_, [] { SendMessageW(main_, WM_COMMAND, IDM_MENU_IMPORT, 0); },
        [](HWND import) {
            Pump(1500);
            Save(L"import", Union({import}));
            PostMessageW(import, WM_COMMAND, IDOK, 0);
        });
    Pump(1500);
    Save(L"main-after-import", Union({main_}));

    SendMessageW(main_, WM_COMMAND, IDM_MENU_HELPTOPICS, 0);
    HWND help = nullptr;
    for (int i = 0; i < 50 && !(help = FindWindowW(L"HH Parent", nullptr)); ++i)
        Pump(100);
    Pump(1500);
    Save(L"help", Union({help}));
    form.reset();
    LocalFree(argv);
    return 0;
}
