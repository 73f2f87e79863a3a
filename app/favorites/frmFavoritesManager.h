// frmFavoritesManager ("Ordnerfavoriten verwalten"): all favorites and their
// groups in two lists, edited in memory (cFavoritesEdit) and written back
// whole on OK; Cancel, Esc and the close box keep the store as it was.
// Favorites are reordered by dragging them inside the list, and folders are
// added by dropping them from Explorer.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FavoritesEdit.h"
#include "FolderShell.h"
#include "Handles.h"
#include "Window.h"
#include "cListView.h"
#include "cTooltips.h"
#include "modTaskDialog.h"

namespace pw {

struct FavoriteEntryRequest;
struct FavoriteEntryResult;

class frmFavoritesManager final : public cDialog {
  public:
    // Message boxes go to the presenter; null: the system's. The add-favorite
    // dialog gets it too.
    explicit frmFavoritesManager(cDialogPresenter* presenter = nullptr);
    ~frmFavoritesManager() override;

    // IDOK after the favorites were written, IDCANCEL when nothing changed.
    INT_PTR Show(HWND owner);
    // For a manager made with CreateModeless (the tests).
    INT_PTR Result() const { return result_; }

    // ---- What the tests look at ----
    const cFavoritesEdit& Model() const { return model_; }
    const cListView& Favorites() const { return lvwFavorites_; }
    const cListView& GroupList() const { return lvwGroups_; }
    // The row each entry of the favorites list shows, by entry index.
    const std::vector<cFavoritesEdit::Row>& ShownRows() const { return rows_; }
    bool Expanded() const { return expanded_; }
    bool DragActive() const { return drag_.active; }
    // The insertion line as drawn now (list client pixels), if any.
    std::optional<int> MarkerY() const { return markerY_; }

    // Adds a group the add-favorite dialog's user typed; name and limit are
    // checked there.
    void CreateNewGroup(const std::wstring& name);

    // The inner list of the favorites list and the tip label are subclassed.
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    struct DragState {
        bool active = false;
        bool fromOutside = false;
        long draggedId = 0;                  // a favorite of the list being moved
        std::optional<ShellFolder> dropped;  // the folder coming from Explorer
        std::wstring refusedFile;            // the file of this drag found no folder
        std::optional<size_t> targetRow;
        bool after = false;
    };

    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Form_Load();
    void Form_Unload();
    void CreateLists();
    void SetLayout(bool expanded);
    void MoveDlu(int id, int left, int top, int width, int height);
    HWND MoveDluHwnd(HWND control, int left, int top, int width, int height);

    // Shows the model: the favorites (keeping the scroll position, then
    // selecting the entry of selectId) and the groups (selecting selectGroup).
    void RebuildFavoriteGroups(long selectId = 0);
    void RefreshGroupList(int selectGroup);
    void UpdateButtons();
    long SelectedId() const;
    std::optional<size_t> SelectedRow() const;
    int SelectedGroup() const;
    int IconOf(const std::wstring& path);
    int MessageBox(const std::wstring& text, UINT style);

    // Favorites.
    void cmdAdd_Click();
    void cmdModify_Click();
    void cmdRemove_Click();
    void RenameFavorite();
    FavoriteEntryResult ShowFavoriteDialog(FavoriteEntryRequest request);
    void ApplyFavoriteDialog(const FavoriteEntryResult& result, long changedId);
    void lvwFavorites_Click(const cListView::MouseEvent& event);
    void lvwFavorites_DblClick(const cListView::MouseEvent& event);
    void lvwFavorites_KeyDown(WORD key);
    void ShowPopupMenu();

    // Groups.
    void cmdGroupAdd_Click();
    void cmdGroupModify_Click();
    void cmdGroupRemove_Click();
    void cmdGroupMove_Click(int delta);
    void cmdExpandCollapseGroups_Click();
    void lvwGroups_KeyDown(WORD key);

    // In-place editing: the list reports the end, the change follows by message.
    bool OnLabelEditEnd(bool groups, int index, const std::optional<std::wstring>& text);
    void ApplyLabelEdit();

    void OKButton_Click();

    // Drag and drop (frmFavoritesManager_Drag.cpp).
    void lvwFavorites_ItemDrag(int index);
    DWORD OnFileDragOver(const std::vector<std::wstring>& files, POINT client);
    DWORD OnFileDrop(const std::vector<std::wstring>& files, POINT client);
    void OnFileDragLeave();
    void TrackDrag(POINT client);
    void EndDrag(bool drop, POINT client);
    void CancelDrag();
    void DropNow();
    void tmrDragScroll_Timer();
    bool InScrollBand(POINT client, int* direction) const;
    void DrawMarker(HDC dc) const;
    void SetMarker(std::optional<int> y);
    bool OnListMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The reorder tip.
    void ShowReorderTip(bool show);

    cFavoritesEdit model_;
    cListView lvwFavorites_;
    cListView lvwGroups_;
    cFavoriteIcons icons_;
    cTooltips tooltip_;    // the reorder tip
    cTooltips hoverTips_;  // hover texts of the buttons
    cFont boldFont_;
    cIcon headerIcon_, moreIcon_, lessIcon_;
    cImageList expandImages_;
    std::vector<cFavoritesEdit::Row> rows_;
    cDialogPresenter* presenter_;
    bool expanded_ = false;
    bool tipShown_ = false;
    std::optional<cOleInit> ole_;  // drops from Explorer, while the dialog is open
    INT_PTR result_ = IDCANCEL;
    DragState drag_;
    std::optional<int> markerY_;
    bool scrollTimer_ = false;

    struct PendingEdit {
        bool groups = false;
        std::wstring key;  // entry key of the edited entry
        std::optional<std::wstring> text;
    };
    std::optional<PendingEdit> pendingEdit_;
};

}  // namespace pw
