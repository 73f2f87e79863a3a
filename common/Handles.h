// Handles own themselves: one small RAII class per kind, so nothing is
// released by hand on an early return.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shtypes.h>

#include <utility>

namespace pw {

template <typename T, typename Traits>
class cUnique {
  public:
    cUnique() = default;
    explicit cUnique(T h) : h_(h) {}
    ~cUnique() { Reset(); }
    cUnique(cUnique&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    cUnique& operator=(cUnique&& o) noexcept {
        if (this != &o)
            Reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    cUnique(const cUnique&) = delete;
    cUnique& operator=(const cUnique&) = delete;

    T Get() const { return h_; }
    T* Put() {
        Reset();
        return &h_;
    }
    T Release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(T h = Traits::Invalid()) {
        if (Traits::IsValid(h_))
            Traits::Close(h_);
        h_ = h;
    }
    explicit operator bool() const { return Traits::IsValid(h_); }

  private:
    T h_ = Traits::Invalid();
};

struct HandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// A search of FindFirstFileW, ended by FindClose.
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct HKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
template <typename G>
struct GdiTraits {
    static G Invalid() { return nullptr; }
    static bool IsValid(G h) { return h != nullptr; }
    static void Close(G h) { DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static bool IsValid(HICON h) { return h != nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};

// A device context of the program's own (CreateCompatibleDC), not one a
// window lends (GetDC, BeginPaint).
struct MemoryDCTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static bool IsValid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static bool IsValid(HMENU h) { return h != nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};

// An item id list the shell handed over (SHBrowseForFolder, SHParseDisplayName).
struct PidlTraits {
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static bool IsValid(PIDLIST_ABSOLUTE p) { return p != nullptr; }
    static void Close(PIDLIST_ABSOLUTE p) { CoTaskMemFree(p); }
};

using cHandle = cUnique<HANDLE, HandleTraits>;
using cHKey = cUnique<HKEY, HKeyTraits>;
using cFindHandle = cUnique<HANDLE, FindTraits>;
using cFont = cUnique<HFONT, GdiTraits<HFONT>>;
using cBrush = cUnique<HBRUSH, GdiTraits<HBRUSH>>;
using cPen = cUnique<HPEN, GdiTraits<HPEN>>;
using cBitmap = cUnique<HBITMAP, GdiTraits<HBITMAP>>;
using cIcon = cUnique<HICON, IconTraits>;
using cMenu = cUnique<HMENU, MenuTraits>;
using cPidl = cUnique<PIDLIST_ABSOLUTE, PidlTraits>;
using cMemoryDC = cUnique<HDC, MemoryDCTraits>;
// A list view given one with LVSIL_* and LVS_SHAREIMAGELISTS leaves it to
// its owner; without that style the list destroys it and this must Release.
using cImageList = cUnique<HIMAGELIST, ImageListTraits>;

// A window's device context (GetDC; null: the screen's; with the frame:
// GetWindowDC), given back to the same window. Not for BeginPaint's, which
// EndPaint ends.
class cWindowDC {
  public:
    explicit cWindowDC(HWND window, bool withFrame = false)
        : window_(window), dc_(withFrame ? GetWindowDC(window) : GetDC(window)) {}
    ~cWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    cWindowDC(const cWindowDC&) = delete;
    cWindowDC& operator=(const cWindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// A pen, brush, font or bitmap selected into a device context for a scope:
// what was selected before goes back in at the end, so the object can be
// deleted afterwards and the DC is left as it was lent.
class cSelection {
  public:
    cSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {
        if (previous_ == HGDI_ERROR)
            previous_ = nullptr;
    }
    ~cSelection() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    cSelection(const cSelection&) = delete;
    cSelection& operator=(const cSelection&) = delete;

    // Whether the object went in.
    explicit operator bool() const { return previous_ != nullptr; }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A COM interface pointer.
template <typename T>
class cComPtr {
  public:
    cComPtr() = default;
    ~cComPtr() { Reset(); }
    cComPtr(const cComPtr& o) : p_(o.p_) {
        if (p_)
            p_->AddRef();
    }
    cComPtr& operator=(cComPtr o) {
        std::swap(p_, o.p_);
        return *this;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }
    explicit operator bool() const { return p_ != nullptr; }
    template <typename U>
    cComPtr<U> As(REFIID iid) const {
        cComPtr<U> other;
        if (p_)
            p_->QueryInterface(iid, other.PutVoid());
        return other;
    }

  private:
    T* p_ = nullptr;
};

// COM for the lifetime of a scope; uninitialises only what it initialised.
class cComInit {
  public:
    explicit cComInit(DWORD model = COINIT_APARTMENTTHREADED) : ok_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~cComInit() {
        if (ok_)
            CoUninitialize();
    }
    cComInit(const cComInit&) = delete;
    cComInit& operator=(const cComInit&) = delete;

  private:
    bool ok_;
};

// OLE (drag and drop, the clipboard) for the lifetime of a scope; like
// cComInit it uninitialises only what it initialised.
class cOleInit {
  public:
    cOleInit() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~cOleInit() {
        if (ok_)
            OleUninitialize();
    }
    cOleInit(const cOleInit&) = delete;
    cOleInit& operator=(const cOleInit&) = delete;

  private:
    bool ok_;
};

}  // namespace pw
