#include "PictureFile.h"

#include "DynamicProc.h"

namespace pw {
namespace {

// The few flat GDI+ entry points needed, declared here so the program does
// not depend on gdiplus.dll being present at start.
struct GdiplusStartupInput {
    UINT32 GdiplusVersion = 1;
    void* DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};
using StartupFn = int(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, void*);
using ShutdownFn = void(WINAPI*)(ULONG_PTR);
using CreateBitmapFromFileFn = int(WINAPI*)(const WCHAR*, void**);
using CreateHbitmapFromBitmapFn = int(WINAPI*)(void*, HBITMAP*, DWORD);
using DisposeImageFn = int(WINAPI*)(void*);

}  // namespace

HBITMAP LoadPictureFile(const std::wstring& path, COLORREF background) {
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return nullptr;
    HMODULE gdiplus = LoadLibraryW(L"gdiplus.dll");
    if (!gdiplus)
        return nullptr;
    auto startup = LoadProc<StartupFn>(gdiplus, "GdiplusStartup");
    auto shutdown = LoadProc<ShutdownFn>(gdiplus, "GdiplusShutdown");
    auto fromFile = LoadProc<CreateBitmapFromFileFn>(gdiplus, "GdipCreateBitmapFromFile");
    auto toHbitmap = LoadProc<CreateHbitmapFromBitmapFn>(gdiplus, "GdipCreateHBITMAPFromBitmap");
    auto dispose = LoadProc<DisposeImageFn>(gdiplus, "GdipDisposeImage");
    HBITMAP result = nullptr;
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    if (startup && shutdown && fromFile && toHbitmap && dispose && startup(&token, &input, nullptr) == 0) {
        void* bitmap = nullptr;
        if (fromFile(path.c_str(), &bitmap) == 0 && bitmap) {
            // GDI+ wants ARGB; COLORREF is 0x00BBGGRR.
            DWORD argb =
                0xFF000000u | (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
            if (toHbitmap(bitmap, &result, argb) != 0)
                result = nullptr;
            dispose(bitmap);
        }
        shutdown(token);
    }
    FreeLibrary(gdiplus);
    return result;
}

}  // namespace pw
