// The board at a fractional scale of the screen, its frames and its pieces: this suite runs in a
// process of its own, scaled by 1.5 from before its application starts.

#include "tests/windows/WindowTestSupport.h"

#include <array>
#include <set>

namespace {

const bool scaled = qputenv("QT_SCALE_FACTOR", "1.5");

// Device pixels of the colour on a line from `from` in the direction (dx, dy), over `length`.
int InkRun(const QImage& image, QPoint from, int dx, int dy, int length, TColor colour)
{
    int count = 0;
    for (int i = 0; i < length; ++i)
        count += PixelAt(image, from.x() + i * dx, from.y() + i * dy) == colour;
    return count;
}

using Scale = TWindowTest;

TEST_F(Scale, EveryTileFrameHasTheSameDevicePixelsOnEverySide)
{
    ASSERT_TRUE(scaled);
    ASSERT_EQ(form.devicePixelRatioF(), 1.5);
    form.Session().SetPicture(Filled({50, 50}, Qt::red), "red.png");  // no pixel of it looks like an edge
    for (const char* size : {"N4x4", "N5x5", "N6x6", "N7x7"}) {
        Item(size)->trigger();
        EXPECT_EQ(Board()->TileAt(1)->Picture().Width(), (250 / form.BoardSize() * 3 + 1) / 2);  // cut in device pixels
        const QImage board = Board()->grab().toImage();
        std::set<std::array<int, 4>> sides;
        for (TTileNode* node = Board()->FirstNode(); node; node = node->Next) {
            const QRect frame = node->Frame->geometry();
            auto device = [](double logical) { return int(logical * 1.5); };
            const int middleX = device(frame.center().x()), middleY = device(frame.center().y());
            sides.insert({InkRun(board, {device(frame.left()) - 1, middleY}, 1, 0, 5, kTestBtnHighlight),
                          InkRun(board, {middleX, device(frame.top()) - 1}, 0, 1, 5, kTestBtnHighlight),
                          InkRun(board, {device(frame.right() + 1), middleY}, -1, 0, 5, kTestBtnShadow),
                          InkRun(board, {middleX, device(frame.bottom() + 1)}, 0, -1, 5, kTestBtnShadow)});
        }
        EXPECT_EQ(sides, (std::set<std::array<int, 4>>{{2, 2, 2, 2}})) << form.BoardSize();
    }
}

} // namespace
