#include "MenuCommands.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(MenuCommands, TheButtonMenuOpensLeftwardsNearTheRightScreenEdge) {
    MenuDropInput in;
    in.screenWidth = 19200;
    in.button = {6940, 30, 500, 340};
    in.windowLeft = 500;
    EXPECT_EQ((MenuDrop{6940, 370, false}), ButtonMenuDrop(in));
    in.themed = true;
    EXPECT_EQ((MenuDrop{6955, 355, false}), ButtonMenuDrop(in)) << "inside the themed button's frame";

    // 2500 twips from the edge is near: the menu ends at the button's right edge.
    in.windowLeft = 19200 - 2500 - 6940 + 1;
    EXPECT_EQ((MenuDrop{7425, 355, true}), ButtonMenuDrop(in));
    in.themed = false;
    EXPECT_EQ((MenuDrop{7440, 370, true}), ButtonMenuDrop(in));
    in.windowLeft -= 1;
    EXPECT_FALSE(ButtonMenuDrop(in).rightAligned);
}

TEST(MenuCommands, TheFeedbackSubjectTravelsEncodedInTheMailAddress) {
    EXPECT_EQ(
        L"mailto:support@example.com?subject=Pfadwerk%20%28Version%201.00.837%20-%20Windows%20XP%2C%20"
        L"klassisch%29",
        MailtoWithSubject(L"support@example.com", L"Pfadwerk (Version 1.00.837 - Windows XP, klassisch)"));
    EXPECT_EQ(L"mailto:a@b.example?subject=%C3%84%26b%3Dc%3F", MailtoWithSubject(L"a@b.example", L"Ä&b=c?"))
        << "characters that would end the subject, and umlauts as UTF-8";
}

}  // namespace
}  // namespace pw
