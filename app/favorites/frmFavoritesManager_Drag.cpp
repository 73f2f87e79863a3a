// Dragging favorites to another place in the list, and dropping folders from
// Explorer onto it. A line shows where the favorite will go: before the entry
// under the pointer, and after the last entry above the pointer where there
// is no entry (below the end of a group).
#include "frmFavoritesManager.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "Handles.h"
#include "WindowsVersion.h"

namespace pw {
namespace {

constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT kDragScrollInterval = 140;  // ms
constexpr int kDragScrollStep = 16;        // pixels
constexpr int kScrollBand = 6;             // pixels at the list's lower edge
constexpr int kMarkerLength = 800;         // pixels from the list's left edge

RECT RowRect(HWND list, int index) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)))
        return RECT{0, 0, 0, 0};
    return r;
}

int HeaderHeight(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT r{};
    if (!header || !IsWindowVisible(header) || !GetWindowRect(header, &r))
        return 0;
    return r.bottom - r.top;
}

}  // namespace

void frmFavoritesManager::lvwFavorites_ItemDrag(int index) {
    if (drag_.active || index < 0 || static_cast<size_t>(index) >= rows_.size() || rows_[index].Placeholder())
        return;
    drag_ = DragState{};
    drag_.active = true;
    drag_.draggedId = rows_[index].id;
    ShowReorderTip(false);
    SetCapture(lvwFavorites_.hWndListView());
}

bool frmFavoritesManager::InScrollBand(POINT client, int* direction) const {
    HWND list = lvwFavorites_.hWndListView();
    RECT r{};
    GetClientRect(list, &r);
    *direction = 0;
    if (client.y < HeaderHeight(list))
        *direction = -1;
    else if (client.y >= r.bottom - kScrollBand)
        *direction = +1;
    return *direction != 0;
}

void frmFavoritesManager::TrackDrag(POINT client) {
    HWND list = lvwFavorites_.hWndListView();
    int direction = 0;
    if (InScrollBand(client, &direction)) {
        drag_.targetRow.reset();
        SetMarker(std::nullopt);
        if (!scrollTimer_)
            scrollTimer_ = SetTimer(Hwnd(), kDragScrollTimer, kDragScrollInterval, nullptr) != 0;
        return;
    }
    if (scrollTimer_) {
        KillTimer(Hwnd(), kDragScrollTimer);
        scrollTimer_ = false;
    }
    std::optional<size_t> target;
    bool after = false;
    int hit = lvwFavorites_.HitTest(client);
    if (hit >= 0 && static_cast<size_t>(hit) < rows_.size()) {
        // Dropped on an entry, a favorite takes that entry's place.
        target = static_cast<size_t>(hit);
    } else {
        // No entry here: after the last one above the pointer. A placeholder
        // keeps the side it had, so the line does not jump under an empty
        // group's only row.
        for (size_t i = rows_.size(); i-- > 0;) {
            RECT r = RowRect(list, static_cast<int>(i));
            if (r.bottom > r.top && r.top <= client.y) {
                target = i;
                after = rows_[i].Placeholder() ? drag_.after : true;
                break;
            }
        }
    }
    // The dragged entry itself is no place to go.
    if (target && !drag_.fromOutside && rows_[*target].id == drag_.draggedId)
        target.reset();
    drag_.targetRow = target;
    drag_.after = after;
    if (!target) {
        SetMarker(std::nullopt);
        return;
    }
    RECT r = RowRect(list, static_cast<int>(*target));
    SetMarker(after ? r.bottom : r.top);
}

void frmFavoritesManager::tmrDragScroll_Timer() {
    HWND list = lvwFavorites_.hWndListView();
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(list, &p);
    int direction = 0;
    if (!drag_.active || !InScrollBand(p, &direction)) {
        KillTimer(Hwnd(), kDragScrollTimer);
        scrollTimer_ = false;
        return;
    }
    SetMarker(std::nullopt);
    lvwFavorites_.ScrollBy(0, direction * kDragScrollStep);
}

void frmFavoritesManager::CancelDrag() {
    EndDrag(false, POINT{});
}

void frmFavoritesManager::EndDrag(bool drop, POINT client) {
    if (scrollTimer_) {
        KillTimer(Hwnd(), kDragScrollTimer);
        scrollTimer_ = false;
    }
    SetMarker(std::nullopt);
    if (!drag_.active)
        return;
    HWND list = lvwFavorites_.hWndListView();
    bool inside = false;
    if (drop) {
        RECT r{};
        GetClientRect(list, &r);
        inside = PtInRect(&r, client) != FALSE;
        if (inside)
            TrackDrag(client);
        SetMarker(std::nullopt);
    }
    DragState state = drag_;
    drag_ = DragState{};
    if (!state.fromOutside && GetCapture() == list)
        ReleaseCapture();
    if (!drop || !inside)
        return;

    long id = 0;
    if (!state.targetRow) {
        // Only an empty list takes a folder anywhere; it goes to "Sonstige".
        if (state.fromOutside && state.dropped && rows_.empty()) {
            id = model_.Add(state.dropped->displayName, state.dropped->path, kUncategorized,
                            IconOf(state.dropped->path));
        }
    } else {
        const cFavoritesEdit::Row target = rows_[*state.targetRow];
        if (state.fromOutside && state.dropped) {
            id = model_.InsertAt(state.dropped->displayName, state.dropped->path, IconOf(state.dropped->path), target,
                                 state.after);
        } else if (!state.fromOutside) {
            id = model_.MoveTo(state.draggedId, target, state.after);
        }
    }
    if (!id)
        return;
    RebuildFavoriteGroups(id);
    SetFocus(list);
}

DWORD frmFavoritesManager::OnFileDragOver(const std::vector<std::wstring>& files, POINT client) {
    if (!drag_.active) {
        if (files.empty() || files.front() == drag_.refusedFile)
            return DROPEFFECT_NONE;
        std::optional<ShellFolder> folder = DroppedFolder(files.front());
        if (!folder) {
            drag_.refusedFile = files.front();
            return DROPEFFECT_NONE;
        }
        drag_ = DragState{};
        drag_.active = true;
        drag_.fromOutside = true;
        drag_.dropped = std::move(folder);
        ShowReorderTip(false);
    }
    if (!drag_.fromOutside)
        return DROPEFFECT_NONE;
    TrackDrag(client);
    return drag_.targetRow || rows_.empty() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DWORD frmFavoritesManager::OnFileDrop(const std::vector<std::wstring>& files, POINT client) {
    if (OnFileDragOver(files, client) == DROPEFFECT_NONE) {
        OnFileDragLeave();
        return DROPEFFECT_NONE;
    }
    EndDrag(true, client);
    return DROPEFFECT_COPY;
}

void frmFavoritesManager::OnFileDragLeave() {
    if (drag_.fromOutside || !drag_.active) {
        EndDrag(false, POINT{});
        drag_ = DragState{};
    }
}

bool frmFavoritesManager::OnListMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND list = lvwFavorites_.hWndListView();
    if (msg == WM_PAINT && markerY_) {
        result = DefSubclassProc(list, msg, wParam, lParam);
        DrawMarker(cWindowDC(list).Get());
        return true;
    }
    // From Vista on the list's theme lights up the entry under the pointer,
    // which would stand against the line of a drag; the list never sees the
    // pointer move. With a button down and no drag yet the list still does:
    // some list controls tell a drag from a click there.
    const bool swallowMoves = GetWindowsFamily() >= WindowsFamily::VistaOrLater;
    if (!drag_.active || drag_.fromOutside) {
        if (msg == WM_MOUSEMOVE && swallowMoves && !(wParam & (MK_LBUTTON | MK_RBUTTON))) {
            result = 0;
            return true;
        }
        return false;
    }
    POINT client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
        case WM_MOUSEMOVE:
            TrackDrag(client);
            result = 0;
            return true;
        case WM_LBUTTONUP:
            EndDrag(true, client);
            // The list ends its own mouse tracking too.
            return false;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != list)
                CancelDrag();
            return false;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                CancelDrag();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void frmFavoritesManager::SetMarker(std::optional<int> y) {
    if (y == markerY_)
        return;
    HWND list = lvwFavorites_.hWndListView();
    RECT client{};
    GetClientRect(list, &client);
    for (std::optional<int> at : {markerY_, y}) {
        if (!at)
            continue;
        RECT band{0, *at - 5, std::max<int>(client.right, kMarkerLength), *at + 5};
        InvalidateRect(list, &band, TRUE);
    }
    markerY_ = y;
    UpdateWindow(list);
}

void frmFavoritesManager::DrawMarker(HDC dc) const {
    if (!markerY_)
        return;
    HWND list = lvwFavorites_.hWndListView();
    RECT client{};
    GetClientRect(list, &client);
    const int y = *markerY_;
    // Never over the column header.
    int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, HeaderHeight(list), client.right, client.bottom);
    // A line two pixels high from y down, so that it shows right under the
    // header too, with a small arrow head at its left end.
    RECT line{0, y, kMarkerLength, y + 2};
    FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    cPen pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
    SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen.Get()) : GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    POINT head[] = {{0, y - 3}, {2, y}, {0, y + 2}};
    Polygon(dc, head, 3);
    RestoreDC(dc, saved);
}

}  // namespace pw
