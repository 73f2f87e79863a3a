// Groups and appearance of cListView.
#include <algorithm>

#include "DynamicProc.h"
#include "PictureFile.h"
#include "cListView.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

// Header and id are all the program sets: the XP-sized record is understood
// by every comctl32 v6, the Vista-sized one is refused on XP.
LVGROUP GroupRecord(UINT mask) {
    LVGROUP group{};
    group.cbSize = LVGROUP_V5_SIZE;
    group.mask = mask;
    return group;
}

}  // namespace

const cListView::Group* cListView::FindGroup(const std::wstring& key) const {
    auto found = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return g.key == key; });
    return found == groups_.end() ? nullptr : &*found;
}

bool cListView::AddGroup(const std::wstring& key, const std::wstring& header, int position) {
    if (!list_ || key.empty() || FindGroup(key))
        return false;
    int place = position < 0 ? 0 : std::min(position, GroupCount());
    Group group{key, header, nextGroupId_++};
    std::wstring text = header;
    LVGROUP record = GroupRecord(LVGF_HEADER | LVGF_GROUPID);
    record.pszHeader = text.data();
    record.iGroupId = group.id;
    // The native list may not keep groups (older comctl32, Wine); the record
    // here still does, so order and membership stay answerable.
    SendMessageW(list_, LVM_INSERTGROUP, place, reinterpret_cast<LPARAM>(&record));
    groups_.insert(groups_.begin() + place, std::move(group));
    return true;
}

bool cListView::RemoveGroup(const std::wstring& key) {
    const Group* group = FindGroup(key);
    if (!group)
        return false;
    for (int i = 0; i < ItemCount(); ++i) {
        if (entries_[i].group == key)
            SetItemGroup(i, L"");
    }
    SendMessageW(list_, LVM_REMOVEGROUP, group->id, 0);
    groups_.erase(groups_.begin() + (group - groups_.data()));
    return true;
}

void cListView::ClearGroups() {
    if (list_)
        SendMessageW(list_, LVM_REMOVEALLGROUPS, 0, 0);
    groups_.clear();
    for (Entry& entry : entries_)
        entry.group.clear();
}

bool cListView::HasGroup(const std::wstring& key) const {
    return FindGroup(key) != nullptr;
}

std::vector<std::wstring> cListView::GroupKeys() const {
    std::vector<std::wstring> keys;
    for (const Group& group : groups_)
        keys.push_back(group.key);
    return keys;
}

std::wstring cListView::GroupHeader(const std::wstring& key) const {
    const Group* group = FindGroup(key);
    return group ? group->header : L"";
}

bool cListView::SetGroupHeader(const std::wstring& key, const std::wstring& header) {
    auto found = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return g.key == key; });
    if (found == groups_.end())
        return false;
    found->header = header;
    std::wstring text = header;
    LVGROUP record = GroupRecord(LVGF_HEADER);
    record.pszHeader = text.data();
    SendMessageW(list_, LVM_SETGROUPINFO, found->id, reinterpret_cast<LPARAM>(&record));
    return true;
}

bool cListView::SetItemGroup(int index, const std::wstring& groupKey) {
    if (!ValidIndex(index))
        return false;
    const Group* group = groupKey.empty() ? nullptr : FindGroup(groupKey);
    if (!groupKey.empty() && !group)
        return false;
    LVITEMW item{};
    item.mask = LVIF_GROUPID;
    item.iItem = index;
    item.iGroupId = group ? group->id : I_GROUPIDNONE;
    SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    entries_[index].group = groupKey;
    return true;
}

std::wstring cListView::ItemGroup(int index) const {
    return ValidIndex(index) ? entries_[index].group : L"";
}

void cListView::EnableGroups(bool on) {
    groupsEnabled_ = on;
    if (list_)
        SendMessageW(list_, LVM_ENABLEGROUPVIEW, on ? TRUE : FALSE, 0);
}

std::vector<int> cListView::DisplayOrder() const {
    std::vector<int> order;
    if (!groupsEnabled_) {
        for (int i = 0; i < ItemCount(); ++i)
            order.push_back(i);
        return order;
    }
    for (const Group& group : groups_) {
        for (int i = 0; i < ItemCount(); ++i) {
            if (entries_[i].group == group.key)
                order.push_back(i);
        }
    }
    return order;
}

// ---- Appearance ----

void cListView::SetViewMode(ViewMode mode) {
    view_ = mode;
    if (!list_)
        return;
    LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | (mode == ViewMode::LargeIcons ? LVS_ICON : LVS_REPORT);
    SetWindowLongPtrW(list_, GWL_STYLE, style);
    // Groups need the list's own view mode set too on comctl32 v6.
    SendMessageW(list_, LVM_SETVIEW, mode == ViewMode::LargeIcons ? LV_VIEW_ICON : LV_VIEW_DETAILS, 0);
}

void cListView::SetImageList(HIMAGELIST images, int which) {
    if (list_)
        SendMessageW(list_, LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(images));
}

HIMAGELIST cListView::ImageList(int which) const {
    return list_ ? reinterpret_cast<HIMAGELIST>(SendMessageW(list_, LVM_GETIMAGELIST, which, 0)) : nullptr;
}

bool cListView::SetBackgroundPicture(const std::wstring& path, int xOffset, int yOffset) {
    if (!list_ || path.empty())
        return false;
    LVBKIMAGEW image{};
    image.xOffsetPercent = std::clamp(xOffset, 0, 100);
    image.yOffsetPercent = std::clamp(yOffset, 0, 100);
    COLORREF background = static_cast<COLORREF>(SendMessageW(list_, LVM_GETBKCOLOR, 0, 0));
    if (background == CLR_NONE)
        background = GetSysColor(COLOR_WINDOW);
    HBITMAP bitmap = LoadPictureFile(path, background);
    std::wstring source = path;
    if (bitmap) {
        image.ulFlags = LVBKIF_SOURCE_HBITMAP | LVBKIF_STYLE_NORMAL;
        image.hbm = bitmap;  // the list owns it once accepted
    } else {
        // Without GDI+ the list loads the file itself.
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
        image.ulFlags = LVBKIF_SOURCE_URL | LVBKIF_STYLE_NORMAL;
        image.pszImage = source.data();
    }
    if (!SendMessageW(list_, LVM_SETBKIMAGEW, 0, reinterpret_cast<LPARAM>(&image))) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    SendMessageW(list_, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
    picture_ = path;
    InvalidateRect(list_, nullptr, TRUE);
    return true;
}

void cListView::ClearBackgroundPicture() {
    picture_.clear();
    if (!list_)
        return;
    LVBKIMAGEW image{};
    image.ulFlags = LVBKIF_SOURCE_NONE;
    SendMessageW(list_, LVM_SETBKIMAGEW, 0, reinterpret_cast<LPARAM>(&image));
    InvalidateRect(list_, nullptr, TRUE);
}

void cListView::SetRedraw(bool on) {
    if (!list_)
        return;
    SendMessageW(list_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on)
        InvalidateRect(list_, nullptr, TRUE);
}

void cListView::SetExtendedStyle(DWORD mask, DWORD style) {
    if (list_)
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void cListView::SetTextColor(COLORREF colour) {
    if (!list_)
        return;
    SendMessageW(list_, LVM_SETTEXTCOLOR, 0, colour);
    InvalidateRect(list_, nullptr, TRUE);
}

void cListView::SetFont(HFONT font) {
    if (list_)
        SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void cListView::SetExplorerTheme() {
    if (!list_ || GetWindowsFamily() < WindowsFamily::VistaOrLater)
        return;
    HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
    if (!uxtheme)
        uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme)
        return;
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setTheme = LoadProc<SetWindowThemeFn>(uxtheme, "SetWindowTheme");
    if (setTheme)
        setTheme(list_, L"explorer", nullptr);
}

}  // namespace pw
