#include "hint/HintPlacement.h"

#include <QRect>
#include <gtest/gtest.h>

namespace {

using enum THintDirection;

// A 60 x 16 text with the 6 x 2 the application adds.
constexpr QSize kText(66, 18);
constexpr QSize kScreen(800, 600);

QRect Placed(const THintPlacement& p)
{
    return QRect(p.TopLeft, p.Size);
}

TEST(HintPlacement, OpensInThePreferredDirectionWithItsTipByTheMouse)
{
    const THintPlacement upRight = PlaceHint({300, 200}, kText, kScreen, hdUpRight);
    EXPECT_EQ(upRight.Direction, hdUpRight);
    EXPECT_EQ(Placed(upRight), QRect(300, 157, 82, 38));  // tip at window (0, 38): 5 above the mouse

    const THintPlacement downRight = PlaceHint({300, 200}, kText, kScreen, hdDownRight);
    EXPECT_EQ(downRight.Direction, hdDownRight);
    EXPECT_EQ(Placed(downRight), QRect(300, 215, 82, 47));

    // The left balloons' tip is 6 pixels in from their right edge, over the mouse.
    EXPECT_EQ(Placed(PlaceHint({300, 200}, kText, kScreen, hdUpLeft)), QRect(224, 157, 82, 38));
    EXPECT_EQ(Placed(PlaceHint({300, 200}, kText, kScreen, hdDownLeft)), QRect(224, 215, 82, 47));
}

TEST(HintPlacement, TurnsAtEachScreenEdgeAndCountsTheEdgeItselfAsFitting)
{
    // Right edge: x + W equal to the screen's width stays, one more turns left.
    EXPECT_EQ(Placed(PlaceHint({718, 200}, kText, kScreen, hdUpRight)), QRect(718, 157, 82, 38));
    const THintPlacement turned = PlaceHint({719, 200}, kText, kScreen, hdUpRight);
    EXPECT_EQ(turned.Direction, hdUpLeft);
    EXPECT_EQ(turned.TopLeft.x() + turned.Size.width(), 719 + 6);

    // Top-right corner: right edge to up-left, top edge to down-left.
    const THintPlacement corner = PlaceHint({790, 10}, kText, kScreen, hdUpRight);
    EXPECT_EQ(corner.Direction, hdDownLeft);
    EXPECT_EQ(Placed(corner), QRect(714, 25, 82, 47));

    // Top edge: a top of 0 fits.
    EXPECT_EQ(PlaceHint({300, 43}, kText, kScreen, hdUpLeft).Direction, hdUpLeft);
    EXPECT_EQ(PlaceHint({300, 42}, kText, kScreen, hdUpLeft).Direction, hdDownLeft);
    // Bottom edge: a bottom on the screen's height fits.
    EXPECT_EQ(PlaceHint({300, 538}, kText, kScreen, hdDownRight).Direction, hdDownRight);
    EXPECT_EQ(Placed(PlaceHint({300, 539}, kText, kScreen, hdDownRight)), QRect(300, 496, 82, 38));
    // Left edge: a left of 0 fits.
    EXPECT_EQ(PlaceHint({76, 300}, kText, kScreen, hdDownLeft).Direction, hdDownLeft);
    EXPECT_EQ(Placed(PlaceHint({75, 300}, kText, kScreen, hdDownLeft)), QRect(75, 315, 82, 47));
    // Bottom-left corner, from down-left: left edge to down-right, bottom edge to up-right.
    EXPECT_EQ(PlaceHint({5, 590}, kText, kScreen, hdDownLeft).Direction, hdUpRight);
}

TEST(HintPlacement, ABalloonThatFitsNowhereStillEndsWithItsCornerOnTheScreen)
{
    // Wider than the screen: neither right nor left fits, above does.
    const THintPlacement wide = PlaceHint({50, 300}, QSize(200, 18), QSize(150, 600), hdUpRight);
    EXPECT_EQ(wide.Direction, hdUpLeft);
    EXPECT_EQ(wide.TopLeft, QPoint(0, 257));

    // Taller than the screen: neither above nor below fits.
    const THintPlacement tall = PlaceHint({100, 50}, QSize(66, 200), QSize(800, 120), hdUpRight);
    EXPECT_EQ(tall.Direction, hdDownRight);
    EXPECT_EQ(tall.TopLeft, QPoint(100, 0));
}

// Whether the balloon, opened in the direction with its tip by the mouse, stays on the screen: the
// left balloons' 6 columns right of the tip, which hold only shadow, may pass the right edge.
bool FitsWithTipAtMouse(THintDirection d, QPoint mouse, QSize text, QSize screen)
{
    const int w = text.width() + 16, up = text.height() + 20, down = up + 9;
    const bool right = d == hdUpRight || d == hdDownRight;
    const bool fitsSideways = right ? mouse.x() + w <= screen.width() : mouse.x() + 6 - w >= 0;
    const bool fitsVertically = IsUpDirection(d) ? mouse.y() - 5 - up >= 0 : mouse.y() + 15 + down <= screen.height();
    return fitsSideways && fitsVertically;
}

bool TipAtMouse(const THintPlacement& p, QPoint mouse)
{
    const bool right = p.Direction == hdUpRight || p.Direction == hdDownRight;
    const int tipX = right ? p.TopLeft.x() : p.TopLeft.x() + p.Size.width() - 6;
    const int tipY = IsUpDirection(p.Direction) ? p.TopLeft.y() + p.Size.height() + 5 : p.TopLeft.y() - 15;
    return tipX == mouse.x() && tipY == mouse.y();
}

TEST(HintPlacement, EveryBalloonThatFitsEndsOnTheScreenAndPrefersItsOwnDirection)
{
    const QSize screens[] = {{160, 120}, {800, 600}, {1920, 1080}};
    const QSize texts[] = {{6, 2}, {66, 18}, {150, 60}, {400, 100}, {1000, 30}};
    for (const QSize screen : screens)
        for (const QSize text : texts)
            for (int gx = 0; gx <= 16; ++gx)
                for (int gy = 0; gy <= 16; ++gy) {
                    const QPoint mouse(std::min(gx * screen.width() / 16, screen.width() - 1),
                                       std::min(gy * screen.height() / 16, screen.height() - 1));
                    bool fitsSomewhere = false;
                    for (THintDirection d : {hdUpRight, hdUpLeft, hdDownRight, hdDownLeft})
                        fitsSomewhere = fitsSomewhere || FitsWithTipAtMouse(d, mouse, text, screen);
                    for (THintDirection preferred : {hdUpRight, hdUpLeft, hdDownRight, hdDownLeft}) {
                        const THintPlacement p = PlaceHint(mouse, text, screen, preferred);
                        SCOPED_TRACE(testing::Message() << "screen " << screen.width() << " text " << text.width()
                                                        << " mouse " << mouse.x() << "," << mouse.y() << " from " << int(preferred));
                        ASSERT_EQ(p.Size, BalloonSize(text, p.Direction));
                        ASSERT_GE(p.TopLeft.x(), 0);
                        ASSERT_GE(p.TopLeft.y(), 0);
                        const QRect onScreen(QPoint(0, 0), screen);
                        if (fitsSomewhere) {
                            ASSERT_TRUE(onScreen.contains(QRect(p.TopLeft, p.Size - QSize(6, 0))));
                            ASSERT_TRUE(TipAtMouse(p, mouse));
                        } else if (p.Size.width() <= screen.width() && p.Size.height() <= screen.height()) {
                            ASSERT_TRUE(onScreen.contains(Placed(p)));
                        }
                        if (FitsWithTipAtMouse(preferred, mouse, text, screen)) {
                            ASSERT_EQ(p.Direction, preferred);
                        }
                    }
                }
}

} // namespace
