// The base of every window: the object is found from its window for every
// message, and neither a window nor a dialog outlives the link to its object.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "Window.h"

namespace pw {
namespace {

constexpr UINT kCloseYourself = WM_APP + 7;

class cProbe final : public cWindow {
  public:
    bool Open() {
        return Create(WindowClass{L"PfadwerkWindowProbe"}, L"Probe", WS_OVERLAPPED, 0, 0, 0, 50, 50, nullptr);
    }
    std::vector<UINT> seen;
    int destroyed = 0;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(msg);
        if (msg == kCloseYourself) {
            Destroy();  // from inside its own handler
            return 1;
        }
        return DefaultProc(msg, wParam, lParam);
    }
    void OnDestroyed() override { ++destroyed; }
};

TEST(WindowBase, EveryMessageFromCreationToTheEndReachesTheObject) {
    cProbe probe;
    ASSERT_TRUE(probe.Open());
    HWND hwnd = probe.Hwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(probe.seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(SendMessageW(hwnd, kCloseYourself, 0, 0), 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(probe.Hwnd(), nullptr);
    EXPECT_EQ(probe.destroyed, 1);
    EXPECT_EQ(probe.seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(WindowBase, AnObjectThatGoesFirstTakesItsWindowAlong) {
    HWND hwnd = nullptr;
    {
        cProbe probe;
        ASSERT_TRUE(probe.Open());
        hwnd = probe.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

class cProbeDialog final : public cDialog {
  public:
    HWND atInit = nullptr;

  private:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
        if (msg == WM_INITDIALOG) {
            atInit = Hwnd();
            PostMessageW(Hwnd(), WM_COMMAND, IDOK, 0);
            return TRUE;
        }
        if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
            EndDialog(Hwnd(), 42);
            return TRUE;
        }
        return FALSE;
    }
};

TEST(WindowBase, ADialogFromItsTemplateKnowsItsObjectFromTheFirstMessage) {
    cProbeDialog dialog;
    EXPECT_EQ(dialog.ShowModal(nullptr, 100), 42);
    EXPECT_NE(dialog.atInit, nullptr);
    EXPECT_EQ(dialog.Hwnd(), nullptr);

    ASSERT_TRUE(dialog.CreateModeless(nullptr, 100));
    HWND hwnd = dialog.Hwnd();
    EXPECT_EQ(GetWindowLongPtrW(hwnd, DWLP_USER), reinterpret_cast<LONG_PTR>(&dialog));
    DestroyWindow(hwnd);
    EXPECT_EQ(dialog.Hwnd(), nullptr);
}

struct cKeyWatch {
    std::vector<WPARAM> keys;
    bool heardTheEnd = false;
    bool subclassedAtTheEnd = false;
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCDESTROY) {
            heardTheEnd = true;
            // Removing it again succeeds only where the base left it in place.
            subclassedAtTheEnd = RemoveWindowSubclass(control, &ControlSubclassProcedure<cKeyWatch>, 1) != FALSE;
        }
        if (msg == WM_KEYDOWN) {
            keys.push_back(wParam);
            if (wParam == VK_ESCAPE)
                return 0;  // kept from the control
        }
        return DefSubclassProc(control, msg, wParam, lParam);
    }
};

TEST(WindowBase, ASubclassedControlShowsItsMessagesFirstAndLetsGoAtItsEnd) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    cKeyWatch watch;
    ASSERT_TRUE(SubclassControl(edit, &watch));
    SendMessageW(edit, WM_KEYDOWN, 'A', 1);
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(watch.keys, (std::vector<WPARAM>{'A', VK_ESCAPE}));
    DestroyWindow(edit);
    EXPECT_TRUE(watch.heardTheEnd);
    EXPECT_FALSE(watch.subclassedAtTheEnd);
}

}  // namespace
}  // namespace pw
