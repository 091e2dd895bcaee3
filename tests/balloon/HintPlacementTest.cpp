#include "balloon/HintPlacement.h"

#include <QRect>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using enum THintDirection;

constexpr THintDirection kDirections[] = {hdUpRight, hdUpLeft, hdDownRight, hdDownLeft};

// The window opened in the direction with its tip by the mouse.
QRect WithTipAt(THintDirection d, QPoint mouse, QSize text)
{
    const bool up = IsUpDirection(d), right = d == hdUpRight || d == hdDownRight;
    const QSize size(text.width() + 16, text.height() + (up ? 20 : 29));
    const QPoint tip(right ? 0 : size.width() - 6, up ? size.height() + 5 : -15);  // where the mouse is
    return {mouse - tip, size};
}

// Whether that window stays on the screen: a left balloon's 6 columns right of the tip hold only shadow.
bool Fits(THintDirection d, QPoint mouse, QSize text, QSize screen)
{
    const QRect window = WithTipAt(d, mouse, text);
    const bool right = d == hdUpRight || d == hdDownRight;
    return QRect(QPoint(0, 0), screen).contains(right ? window : window.adjusted(0, 0, -6, 0));
}

TEST(HintPlacement, EveryBalloonThatFitsEndsOnTheScreenAndPrefersItsOwnDirection)
{
    // In the top-right corner it turns left, then down; a window touching the right edge fits.
    const THintPlacement corner = PlaceHint({790, 10}, {66, 18}, {800, 600}, hdUpRight);
    EXPECT_EQ(std::pair(corner.Direction, QRect(corner.TopLeft, corner.Size)), std::pair(hdDownLeft, QRect(714, 25, 82, 47)));
    EXPECT_EQ(PlaceHint({718, 200}, {66, 18}, {800, 600}, hdUpRight).Direction, hdUpRight);
    for (const QSize screen : {QSize(160, 120), QSize(800, 600), QSize(1920, 1080)})
        for (const QSize text : {QSize(6, 2), QSize(66, 18), QSize(150, 60), QSize(400, 100), QSize(1000, 30)})
            for (int step = screen.width() > 160 ? 50 : 1, x = 0; x < screen.width(); x += step)  // each pixel when small
                for (int y = 0; y < screen.height(); y += step) {
                    const QPoint mouse(x, y);
                    SCOPED_TRACE(testing::Message() << "screen " << screen.width() << " text " << text.width() << " at "
                                                    << x << "," << y);
                    for (THintDirection preferred : kDirections) {
                        const THintPlacement p = PlaceHint(mouse, text, screen, preferred);
                        ASSERT_EQ(p.Size, WithTipAt(p.Direction, mouse, text).size()) << int(preferred);
                        ASSERT_TRUE(p.TopLeft.x() >= 0 && p.TopLeft.y() >= 0) << int(preferred);
                        if (std::ranges::any_of(kDirections, [&](auto d) { return Fits(d, mouse, text, screen); })) {
                            ASSERT_TRUE(Fits(p.Direction, mouse, text, screen)) << int(preferred);  // its tip by the mouse
                            ASSERT_EQ(p.TopLeft, WithTipAt(p.Direction, mouse, text).topLeft()) << int(preferred);
                        } else if (p.Size.width() <= screen.width() && p.Size.height() <= screen.height()) {
                            ASSERT_TRUE(QRect(QPoint(0, 0), screen).contains(QRect(p.TopLeft, p.Size))) << int(preferred);
                        }
                        ASSERT_TRUE(p.Direction == preferred || !Fits(preferred, mouse, text, screen)) << int(preferred);
                    }
                }
}

} // namespace
