// "Pfadwerk-Optionen": the settings of the program on three pages, written
// back on OK; what the main window can apply at once it applies, what needs
// a fresh main window asks for one. The history can be shortened (with a
// question when older visits exist) and cleared from here.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "DisplayLook.h"
#include "Handles.h"
#include "FolderOpenPlan.h"
#include "MainOptionsShape.h"
#include "Placement.h"
#include "Window.h"

namespace pw {

class cDialogPresenter;

// What the dialog reads of the main window and does to it.
struct OptionsHost {
    MainOptions options;          // shown; after OK, as chosen
    bool largeIconView = false;   // the list shows large icons (IconView)
    bool watermarkShown = false;  // the list has its background picture
    bool favoritesShown = false;  // the favorites list is the one shown
    std::wstring databasePath;    // the history the window reads
    WindowsFamily family = WindowsFamily::Windows2000;
    DisplayLook look;
    cDialogPresenter* presenter = nullptr;            // null: the system's
    std::function<void(ListSize)> reloadDetailsView;  // new icons of that size, and the list reloaded
    std::function<void(bool)> showWatermark;
    std::function<void()> reloadList;
    std::function<void()> compressDatabase;  // after visits were deleted
};

class frmOptions final : public cDialog {
  public:
    explicit frmOptions(OptionsHost host);
    ~frmOptions() override;
    struct Result {
        bool saved = false;  // OK wrote the settings
        // What the main window applies at once: the ExitBehavior, the icon
        // size, the two open choices and the file dialogs' switch; the
        // others take effect in a fresh window.
        MainOptions options;
        bool reloadMainWindow = false;  // a change only a fresh window shows
    };
    Result Show(HWND owner);

  private:
    static constexpr UINT kShowPage = WM_APP + 1;  // tmrTabTimer

    // A page of the tab strip: a child dialog whose commands go to the
    // dialog itself.
    class cPage final : public cDialog {
        INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    };

    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Form_Load();
    void CreatePages();
    void FillLists();
    void LoadValues();
    void ApplyVersionLayout();
    void tmrTabTimer_Timer();
    void cmdOK_Click();
    bool ShorteningConfirmed(int days);
    void cmdClearHistory_Click();
    void Form_Unload();

    HWND Item(UINT id) const;
    bool Checked(UINT id) const;
    void Check(UINT id, bool on);
    int Selected(UINT id) const;
    cDialogPresenter& Presenter() const;

    OptionsHost host_;
    Result result_;
    cPage pages_[3];
    HWND tabOptions_ = nullptr;
    cIcon headerIcon_, deleteIcon_;
    cImageList deleteImages_;
    // As found when the dialog opened: a shorter period deletes older
    // visits, a changed picture setting is applied at once.
    int lKeepProtocolDays_ = 42;
    bool watermark_ = false;
};

}  // namespace pw
