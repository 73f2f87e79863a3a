#include <gtest/gtest.h>

#include <vector>

#include "Handles.h"
#include "UiTestSupport.h"
#include "cTooltips.h"

namespace pw {
namespace {

// Records the messages the tooltip window receives.
class cMessageLog {
  public:
    explicit cMessageLog(HWND hwnd) : hwnd_(hwnd) {
        current_ = this;
        old_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~cMessageLog() {
        if (IsWindow(hwnd_))
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        current_ = nullptr;
    }
    int Count(UINT message) const {
        int n = 0;
        for (UINT m : messages_)
            n += m == message;
        return n;
    }
    // What the last TTM_SETTITLEW carried.
    WPARAM titleIcon = 0;
    std::wstring titleText;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        current_->messages_.push_back(message);
        if (message == TTM_SETTITLEW) {
            current_->titleIcon = wParam;
            current_->titleText = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        }
        return CallWindowProcW(current_->old_, hwnd, message, wParam, lParam);
    }
    static inline cMessageLog* current_ = nullptr;
    HWND hwnd_;
    WNDPROC old_ = nullptr;
    std::vector<UINT> messages_;
};

struct TooltipsTest : ::testing::Test {
    test::cHostWindow host;
    HWND open = host.AddButton(L"Öffnen", 10, 10);
    HWND remove = host.AddButton(L"Entfernen", 10, 50);
    cTooltips tips;
};

TEST_F(TooltipsTest, WithoutWindowEverythingIsANoOp) {
    EXPECT_EQ(nullptr, tips.hwnd());
    EXPECT_FALSE(tips.AddTool(open, 0, L"Text"));
    EXPECT_EQ(0, tips.ToolCount());
    EXPECT_FALSE(tips.Enabled());
    tips.Title(L"Titel");
    EXPECT_EQ(L"", tips.Title());
    EXPECT_EQ(0, tips.MaxTipWidth());
    EXPECT_FALSE(tips.HitTest(open, 1, 1));
    EXPECT_EQ(0, tips.GetTooltipWidth(open));
}

TEST_F(TooltipsTest, CreatingTwiceLeavesOneWindowAndResetsState) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP));
    HWND first = tips.hwnd();
    tips.Title(L"Tip: Reihenfolge ändern");
    tips.Icon(TTI_INFO);
    tips.Enabled(false);
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP | TTS_BALLOON));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(tips.hwnd()));
    EXPECT_TRUE(tips.Enabled());
    EXPECT_EQ(0, tips.Icon());
    EXPECT_EQ(L"", tips.Title());
    EXPECT_EQ(host.hwnd(), GetWindow(tips.hwnd(), GW_OWNER));
    EXPECT_TRUE(GetWindowLongPtrW(tips.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(tips.hwnd(), GWL_STYLE) & TTS_BALLOON);
    tips.Destroy();
    EXPECT_EQ(nullptr, tips.hwnd());
}

TEST_F(TooltipsTest, ToolsAreAddedChangedAndRemovedByControl) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP));
    ASSERT_TRUE(tips.AddTool(open, 0, L"Öffnet den Ordner im Explorer"));
    ASSERT_TRUE(tips.AddTool(remove, 0, L"Entfernt nur die Gruppe, nicht die Favoriten in dieser Gruppe"));
    EXPECT_EQ(2, tips.ToolCount());
    EXPECT_EQ(L"Öffnet den Ordner im Explorer", tips.TipText(open));
    EXPECT_EQ(L"Entfernt nur die Gruppe, nicht die Favoriten in dieser Gruppe", tips.TipText(remove));

    tips.SetTipText(open, L"Öffnet den Ordner – jetzt größer");
    EXPECT_EQ(L"Öffnet den Ordner – jetzt größer", tips.TipText(open));
    EXPECT_EQ(L"Entfernt nur die Gruppe, nicht die Favoriten in dieser Gruppe", tips.TipText(remove));

    tips.DeleteTool(open);
    EXPECT_EQ(1, tips.ToolCount());
    EXPECT_FALSE(tips.HasTool(open));
    EXPECT_TRUE(tips.HasTool(remove));

    // A control without a tool changes nothing.
    tips.DeleteTool(open);
    tips.SetTipText(open, L"nichts");
    EXPECT_EQ(1, tips.ToolCount());
    EXPECT_EQ(L"", tips.TipText(open));
}

TEST_F(TooltipsTest, TitleSurvivesAnIconChange) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP | TTS_BALLOON));
    cMessageLog log(tips.hwnd());
    tips.Title(L"Tip: Reihenfolge ändern");
    EXPECT_EQ(0u, log.titleIcon);
    EXPECT_EQ(L"Tip: Reihenfolge ändern", log.titleText);
    tips.Icon(TTI_WARNING);
    EXPECT_EQ(2, log.Count(TTM_SETTITLEW));
    EXPECT_EQ(static_cast<WPARAM>(TTI_WARNING), log.titleIcon);
    EXPECT_EQ(L"Tip: Reihenfolge ändern", log.titleText);
    EXPECT_EQ(L"Tip: Reihenfolge ändern", tips.Title());
    EXPECT_EQ(TTI_WARNING, tips.Icon());
}

TEST_F(TooltipsTest, TrackingOnlyReachesAddedTools) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP | TTS_NOPREFIX));
    ASSERT_TRUE(tips.AddTool(open, TTF_TRACK | TTF_ABSOLUTE, L"Um einen Favoriten weiter oben anzuordnen …"));
    cMessageLog log(tips.hwnd());

    tips.SetTracking(remove, true);  // never added
    tips.SetTrackPosition(remove, 100, 100);
    EXPECT_EQ(0, log.Count(TTM_TRACKACTIVATE));
    EXPECT_EQ(0, log.Count(TTM_TRACKPOSITION));

    tips.SetTrackPosition(open, 200, 150);
    tips.SetTracking(open, true);
    EXPECT_EQ(1, log.Count(TTM_TRACKACTIVATE));
    EXPECT_EQ(1, log.Count(TTM_TRACKPOSITION));
    test::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(tips.hwnd()));
    EXPECT_GT(tips.GetTooltipWidth(open), 0);
    EXPECT_GT(tips.GetTooltipHeight(open), 0);

    tips.SetTracking(open, false);
    test::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(tips.hwnd()));
}

TEST_F(TooltipsTest, SystemColoursAreResolvedBeforeTheyAreSent) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), cTooltips::TranslateColor(0x80000000u | COLOR_INFOBK));
    EXPECT_EQ(RGB(1, 2, 3), cTooltips::TranslateColor(RGB(1, 2, 3)));

    tips.BackColor(0x80000000u | COLOR_HIGHLIGHT);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), tips.BackColor());
    tips.ForeColor(RGB(0, 51, 153));
    EXPECT_EQ(RGB(0, 51, 153), tips.ForeColor());
}

TEST_F(TooltipsTest, EachMarginIsWrittenWithoutTouchingTheOthers) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP));
    tips.MarginLeft(5);
    tips.MarginTop(6);
    tips.MarginRight(7);
    tips.MarginBottom(8);
    tips.MarginTop(9);
    EXPECT_EQ(5, tips.MarginLeft());
    EXPECT_EQ(9, tips.MarginTop());
    EXPECT_EQ(7, tips.MarginRight());
    EXPECT_EQ(8, tips.MarginBottom());
}

TEST_F(TooltipsTest, WidthsDelaysAndHitTest) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP));
    tips.MaxTipWidth(200);
    EXPECT_EQ(200, tips.MaxTipWidth());
    tips.SetDelayTime(TTDT_AUTOPOP, 12000);
    EXPECT_EQ(12000, tips.GetDelayTime(TTDT_AUTOPOP));

    ASSERT_TRUE(tips.AddTool(open, 0, L"Öffnen"));
    EXPECT_TRUE(tips.HitTest(open, 5, 5));
    EXPECT_FALSE(tips.HitTest(remove, 5, 5));
    tips.Enabled(false);
    EXPECT_FALSE(tips.Enabled());
    tips.Enabled(true);
    EXPECT_TRUE(tips.Enabled());
}

TEST_F(TooltipsTest, WindowSizeFromTextAndBackAgree) {
    ASSERT_TRUE(tips.Create(host.hwnd(), TTS_ALWAYSTIP));
    cWindowDC dc(host.hwnd());
    const std::wstring text = L"Geben Sie hier ein paar Buchstaben ein";
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    int width = tips.ToolTipWidthFromText(dc.Get(), text);
    int height = tips.ToolTipHeightFromText(dc.Get(), text);
    // Border and margins come on top (Wine adds none).
    EXPECT_GE(width, extent.cx);
    EXPECT_GE(height, extent.cy);
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(extent.cx, tips.TextWidthFromToolTipWidth(width));
    EXPECT_EQ(extent.cy, tips.TextHeightFromToolTipHeight(height));
}

}  // namespace
}  // namespace pw
