// The selection guard: a DC is handed back with the objects it was lent,
// also when selections nest, so the program's pens and fonts can be deleted.
#include <windows.h>

#include <gtest/gtest.h>

#include "Handles.h"

namespace pw {
namespace {

TEST(Selection, NestedSelectionsGiveTheDcBackAsItWas) {
    cWindowDC screen(nullptr);
    ASSERT_TRUE(screen);
    cMemoryDC dc(CreateCompatibleDC(screen.Get()));
    ASSERT_TRUE(dc);
    const HGDIOBJ originalPen = GetCurrentObject(dc.Get(), OBJ_PEN);
    const HGDIOBJ originalBrush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    cPen outer(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    cPen inner(CreatePen(PS_SOLID, 3, RGB(0, 0, 255)));
    cBrush brush(CreateSolidBrush(RGB(0, 128, 0)));
    {
        cSelection outerPen(dc.Get(), outer.Get());
        cSelection fill(dc.Get(), brush.Get());
        {
            cSelection innerPen(dc.Get(), inner.Get());
            EXPECT_TRUE(innerPen);
            EXPECT_EQ(inner.Get(), GetCurrentObject(dc.Get(), OBJ_PEN));
        }
        EXPECT_EQ(outer.Get(), GetCurrentObject(dc.Get(), OBJ_PEN));
        EXPECT_EQ(brush.Get(), GetCurrentObject(dc.Get(), OBJ_BRUSH));
    }
    EXPECT_EQ(originalPen, GetCurrentObject(dc.Get(), OBJ_PEN));
    EXPECT_EQ(originalBrush, GetCurrentObject(dc.Get(), OBJ_BRUSH));

    // Nothing to select into, or nothing to select: the guard stays out of it.
    {
        cSelection none(nullptr, outer.Get());
        EXPECT_FALSE(none);
    }
    {
        cSelection none(dc.Get(), nullptr);
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(originalPen, GetCurrentObject(dc.Get(), OBJ_PEN));
}

}  // namespace
}  // namespace pw
