// What the UI tests share: a visible host window for controls, and the
// common controls v6 the program gets from its manifest.
#pragma once
#include <windows.h>

#include <string>

namespace pw::test {

// A plain top-level window, shown, destroyed with the object.
class cHostWindow {
  public:
    cHostWindow(int width = 640, int height = 480);
    ~cHostWindow();
    cHostWindow(const cHostWindow&) = delete;
    cHostWindow& operator=(const cHostWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    // A push button child with the given text.
    HWND AddButton(const std::wstring& text, int x, int y, int width = 120, int height = 28);

  private:
    HWND hwnd_ = nullptr;
};

// Runs pending messages of this thread.
void PumpMessages();

// A file path in the temporary folder, removed with the object.
class cTempFile {
  public:
    cTempFile(const std::wstring& name, const void* data, size_t bytes);
    ~cTempFile();
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};

}  // namespace pw::test
