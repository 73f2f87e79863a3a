// What the favorites tests share: a clean store, real folders to point at, a
// look at the registry exactly as stored, a record of the message boxes, a
// hand on the modal add-favorite dialog, and files dropped the way Explorer
// drops them.
#pragma once
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FavoritesStore.h"
#include "Settings.h"
#include "app/MainWindowSupport.h"
#include "app/ModalScript.h"
#include "common/ScratchKey.h"
#include "modTaskDialog.h"

namespace pw::test {

inline std::wstring FavoritesKey() {
    return SectionKeyOf(SettingsKey::FolderFavorites);
}

inline void StoreText(const std::wstring& subKey, const wchar_t* name, const std::wstring& text) {
    std::wstring key = subKey.empty() ? FavoritesKey() : FavoritesKey() + L"\\" + subKey;
    WriteRaw(key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Every value below FolderFavorites, as stored: "Sub\Name" → type and bytes.
using StoreSnapshot = std::map<std::wstring, std::pair<DWORD, std::vector<std::uint8_t>>>;
inline void SnapshotKey(HKEY key, const std::wstring& prefix, StoreSnapshot& out) {
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<std::uint8_t> data(size);
        nameLength = 256;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size);
        out[prefix + name] = {type, data};
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            out[prefix + name + L"\\"] = {REG_NONE, {}};
            SnapshotKey(sub, prefix + name + L"\\", out);
            RegCloseKey(sub);
        }
    }
}
inline StoreSnapshot Snapshot() {
    StoreSnapshot snapshot;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, FavoritesKey().c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        SnapshotKey(key, L"", snapshot);
        RegCloseKey(key);
    }
    return snapshot;
}
inline std::wstring Stored(const std::wstring& subKey, const wchar_t* name) {
    RawValue raw = ReadRaw(subKey.empty() ? FavoritesKey() : FavoritesKey() + L"\\" + subKey, name);
    if (!raw.found)
        return L"<missing>";
    std::wstring text = TextOfRaw(raw);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

// Message boxes as they would be shown; each is answered with OK.
class cRecordingPresenter final : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG&, bool* checked) override {
        if (checked)
            *checked = false;
        return IDOK;
    }
    int ShowMessageBox(HWND, const std::wstring& text, const std::wstring&, UINT) override {
        texts.push_back(text);
        return IDOK;
    }
    std::vector<std::wstring> texts;
};

// Scratch folders below the temp folder, gone again at the end.
class cScratchFolders {
  public:
    explicit cScratchFolders(const std::wstring& name) : root_(ScratchFolder(name)) {
        DeleteTree(root_);
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~cScratchFolders() { DeleteTree(root_); }
    std::wstring Make(const std::wstring& leaf) const {
        std::wstring path = root_ + L"\\" + leaf;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    std::wstring File(const std::wstring& leaf) const {
        std::wstring path = root_ + L"\\" + leaf;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        return path;
    }
    // A shortcut file leading to target.
    std::wstring Shortcut(const std::wstring& leaf, const std::wstring& target) const {
        std::wstring path = root_ + L"\\" + leaf;
        IShellLinkW* link = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&link)))) {
            link->SetPath(target.c_str());
            IPersistFile* file = nullptr;
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                file->Save(path.c_str(), TRUE);
                file->Release();
            }
            link->Release();
        }
        return path;
    }
    const std::wstring& Root() const { return root_; }

  private:
    std::wstring root_;
};

// Files as Explorer hands them to a drop target (CF_HDROP).
class cFileDataObject final : public IDataObject {
  public:
    explicit cFileDataObject(std::vector<std::wstring> files) : files_(std::move(files)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        size_t chars = 1;
        for (const std::wstring& file : files_)
            chars += file.size() + 1;
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        auto* text = reinterpret_cast<wchar_t*>(drop + 1);
        for (const std::wstring& file : files_) {
            wmemcpy(text, file.c_str(), file.size() + 1);
            text += file.size() + 1;
        }
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  private:
    std::vector<std::wstring> files_;
    ULONG references_ = 1;
};

// The drop target a window registered with OLE, as Explorer finds it.
inline IDropTarget* DropTargetOf(HWND window) {
    return static_cast<IDropTarget*>(GetPropW(window, L"OleDropTargetInterface"));
}

// Drags files from "Explorer" over a point of a window (client pixels) and
// drops them there; the effect the target ended with.
inline DWORD DropFiles(HWND window, const std::vector<std::wstring>& files, POINT client, DWORD* overEffect = nullptr) {
    IDropTarget* target = DropTargetOf(window);
    EXPECT_NE(target, nullptr);
    if (!target)
        return DROPEFFECT_NONE;
    cFileDataObject data(files);
    POINT screen = client;
    ClientToScreen(window, &screen);
    POINTL at{screen.x, screen.y};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragEnter(&data, MK_LBUTTON, at, &effect);
    if (overEffect)
        *overEffect = effect;
    if (effect == DROPEFFECT_NONE) {
        target->DragLeave();
        return effect;
    }
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->Drop(&data, 0, at, &effect);
    return effect;
}

}  // namespace pw::test
