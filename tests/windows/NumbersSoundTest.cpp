// The sound library's loading is told end to end: tests/e2e/sound.sh.

#include "tests/windows/WindowTestSupport.h"
#include "windows/BoardGeometry.h"
#include "windows/GameSounds.h"
#include "windows/TileNumbers.h"

#include <QPainter>
#include <map>

namespace {

class NumbersTest : public TShownWindowTest {};

// The figure against its badge, as the screen shows them: the box's colour inside its rim at the
// top left, against the badge's lightest pixel.
double FigureContrast(const QImage& badge, int radius)
{
    QRgb lightest = 0;
    for (int y = radius; y < badge.height() - radius; ++y)
        for (int x = radius; x < badge.width() - radius; ++x)
            lightest = qGray(badge.pixel(x, y)) > qGray(lightest) ? badge.pixel(x, y) : lightest;
    EXPECT_EQ(QColor(badge.pixel(radius, radius)), kBadgeBox);
    return Contrast(kBadgeBox, QColor(lightest));
}

TEST_F(NumbersTest, OffTheBoardIsAsItWasOnEachTileShowsItsNumberLegiblyOnWhiteAndOnBlackAndTheGapIsAWell)
{
    std::map<std::pair<int, int>, QImage> badges;  // by tile side and number: the same on any picture
    for (QRgb colour : {0xFFFFFFFFu, 0xFF000000u})
        for (auto [size, client] : {std::pair("N4x4", QSize()), std::pair("N7x7", QSize()), std::pair("N5x5", QSize(900, 960))}) {
            Item(size)->trigger();
            form.Session().SetPicture(Filled({100, 100}, colour), "plain.png");
            if (client.isValid()) {
                ResizeClient(client);
                clock.Advance(100);  // cut sharp at that size
            }
            form.Start();
            const int n = form.BoardSize(), t = Board()->Geometry().Tile;
            const QImage off = Board()->grab().toImage();  // nothing but the picture on a tile (the gap is at the corner)
            ASSERT_EQ(TileAt(1)->grab().toImage().convertToFormat(QImage::Format_RGB32), Filled({t, t}, colour)) << n;

            Item("Numbers1")->trigger();
            for (int piece : {1, n * n - 1}) {
                const QImage tile = TileAt(form.Session().Game().PositionOfTile(piece))->grab().toImage().convertToFormat(QImage::Format_RGB32);
                const TBadge layout = BadgeLayout(t, piece > 9 ? 2 : 1);
                QImage outside = tile;  // outside the badge, the picture as it was
                QPainter(&outside).fillRect(layout.Box, colour);
                EXPECT_EQ(outside, Filled({t, t}, colour)) << n << " " << piece;
                EXPECT_GE(FigureContrast(tile.copy(layout.Box), layout.Radius), 7.0) << n << " " << piece;
                // Within its rounded corners the badge hides the picture.
                const int r = layout.Radius;
                const QImage inside = tile.copy(layout.Box.adjusted(r, r, -r, -r));
                if (const auto [kept, fresh] = badges.emplace(std::pair(t, piece), inside); !fresh) {
                    EXPECT_EQ(inside, kept->second) << n << " " << piece;
                }
            }
            // The gap: a dark floor that no light tile is taken for, shaded like a sunken bevel.
            const QImage board = Board()->grab().toImage();
            const QRect cell = Board()->Geometry().FrameRect(GapPos).ToQRect();
            const TWell well = WellLayout(cell.width());
            EXPECT_EQ(std::pair(QColor(board.pixel(cell.topLeft() + QPoint(1, cell.height() / 2))), QColor(board.pixel(cell.bottomRight() - QPoint(0, cell.height() / 2)))),
                      std::pair(well.Shadow, well.Light));
            EXPECT_GE(Contrast(QColor(board.pixel(cell.center())), Qt::white), 4.5);
            form.Session().HoldPeek();  // the peek shows no numbers
            const QImage peek = Part<TImage>(form, "PeekImage")->grab().toImage();
            EXPECT_EQ(peek.convertToFormat(QImage::Format_RGB32), Filled(peek.size(), colour));
            form.Session().ReleasePeek();
            Item("Numbers1")->trigger();
            EXPECT_EQ(Board()->grab().toImage(), off) << n;
        }
}

// Counts what the game asks to hear.
struct TFakePlayer : TSoundPlayer {
    explicit TFakePlayer(std::vector<TSound>& played) : played(played) {}
    void Play(TSound sound) override { played.push_back(sound); }
    bool Loaded() const override { return true; }
    std::vector<TSound>& played;
};

TEST_F(NumbersTest, EachSlideClicksOnceWithOrWithoutAnimationAFinishedPictureChimesAndSoundOffIsSilent)
{
    std::vector<TSound> played;
    auto* sounds = form.findChild<TGameSounds*>();
    sounds->UsePlayer(std::make_unique<TFakePlayer>(played));
    form.Start();
    Click(21);  // four tiles of a line: one slide
    clock.Advance(200);  // its frames
    Item("Animation1")->trigger();  // off: the tiles jump, still one click
    Click(25);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    Item("Sound1")->trigger();
    Click(24);
    EXPECT_EQ(std::pair(played, sounds->Requests()), std::pair(std::vector(3, TSound::snClick), 3));
    Item("Sound1")->trigger();

    played.clear();
    const std::vector<int> solution = SolutionClicks(form.Session().Game());
    for (int p : solution)
        Click(p);
    std::vector<TSound> expected(solution.size(), TSound::snClick);
    expected.push_back(TSound::snChime);
    EXPECT_EQ(std::pair(form.Running(), played), std::pair(false, expected));
}

} // namespace
