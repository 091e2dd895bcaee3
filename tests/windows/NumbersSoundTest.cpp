// The Game menu's Numbers and Sound: badges that read on any picture and a well for the gap, the
// board unchanged while off; a click for each slide and a chime for a finished picture, asked of a
// stand-in player, and the sound library loaded only once the window shows and sound is on.

#include "tests/windows/WindowTestSupport.h"
#include "windows/BoardGeometry.h"
#include "windows/GameSounds.h"
#include "windows/TileNumbers.h"

#include <map>

namespace {

class NumbersTest : public TShownWindowTest {
protected:
    void UsePlain(QRgb colour)
    {
        QImage plain(100, 100, QImage::Format_RGB32);
        plain.fill(colour);
        form.Session().SetPicture(plain, "plain.png");
    }
    void ResizeClient(QSize client)
    {
        form.resize(form.size() + client - form.centralWidget()->size());
        QCoreApplication::processEvents();
        clock.Advance(100);  // cut sharp at that size
    }
};

// The figure against its badge, as the screen shows them: the badge's own colour and its lightest.
double FigureContrast(const QImage& badge)
{
    std::map<QRgb, int> count;
    QRgb lightest = 0;
    for (int y = 1; y < badge.height() - 1; ++y)
        for (int x = 1; x < badge.width() - 1; ++x) {
            const QRgb pixel = badge.pixel(x, y);
            ++count[pixel];
            if (qGray(pixel) > qGray(lightest))
                lightest = pixel;
        }
    const auto box = std::max_element(count.begin(), count.end(), [](auto a, auto b) { return a.second < b.second; });
    EXPECT_EQ(QColor(box->first), kBadgeBox);
    return Contrast(QColor(box->first), QColor(lightest));
}

TEST_F(NumbersTest, OffTheBoardIsAsItWasOnEachTileShowsItsNumberLegiblyOnWhiteAndOnBlackAndTheGapIsAWell)
{
    EXPECT_FALSE(Item("Numbers1")->isChecked());
    std::map<std::pair<int, int>, QImage> badges;  // by tile side and number: the same on any picture
    for (QRgb colour : {0xFFFFFFFFu, 0xFF000000u})
        for (auto [size, client] : {std::pair("N4x4", QSize()), std::pair("N7x7", QSize()), std::pair("N5x5", QSize(900, 960))}) {
            Item(size)->trigger();
            UsePlain(colour);
            if (client.isValid())
                ResizeClient(client);
            form.Start();
            const int n = form.BoardSize(), t = Board()->Geometry().Tile;
            const QImage off = Board()->grab().toImage();
            for (int p = 1; p <= n * n; ++p)  // nothing but the picture on the tiles
                if (p != GapPos)
                    ASSERT_EQ(TileAt(p)->grab().toImage().convertToFormat(QImage::Format_RGB32), TileAt(p)->Picture().Image().scaled(t, t)) << p;

            Item("Numbers1")->trigger();
            for (int piece : {1, n * n - 1}) {
                const QImage tile = TileAt(form.Session().Game().PositionOfTile(piece))->grab().toImage();
                const TBadge layout = BadgeLayout(t, piece > 9 ? 2 : 1);
                const QRect box = layout.Box;
                int changed = 0;  // outside the badge, the picture as it was
                for (int y = 0; y < t; ++y)
                    for (int x = 0; x < t; ++x)
                        changed += !box.contains(x, y) && tile.pixel(x, y) != colour;
                EXPECT_EQ(changed, 0) << n << " " << piece;
                EXPECT_GE(FigureContrast(tile.copy(box)), 7.0) << n << " " << piece;
                // Within its rounded corners the badge hides the picture.
                const QImage inside = tile.copy(box.adjusted(layout.Radius, layout.Radius, -layout.Radius, -layout.Radius));
                if (const auto [kept, fresh] = badges.emplace(std::pair(t, piece), inside); !fresh)
                    EXPECT_EQ(inside, kept->second) << n << " " << piece;
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
            QImage whole(peek.size(), peek.format());
            whole.fill(colour);
            EXPECT_EQ(peek, whole);
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
    const auto clicks = [&] { return std::count(played.begin(), played.end(), TSound::snClick); };
    form.Start();
    Click(21);  // four tiles of a line: one slide
    clock.Advance(200);  // its frames
    EXPECT_EQ(clicks(), 1);
    Item("Animation1")->trigger();  // off: the tiles jump, still one click
    Click(25);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(clicks(), 3);
    Item("Sound1")->trigger();
    Click(24);
    EXPECT_EQ(std::pair(clicks(), sounds->Requests()), std::pair(3L, 3));
    Item("Sound1")->trigger();

    const std::vector<int> solution = SolutionClicks(form.Session().Game());
    for (int p : solution)
        Click(p);
    ASSERT_FALSE(form.Running());
    EXPECT_EQ(std::pair(clicks(), played.back()), std::pair(3 + long(solution.size()), TSound::snChime));
    EXPECT_EQ(played.size(), 4 + solution.size());
}

TEST(GameSounds, TheLibraryIsLoadedOnlyOnceTheWindowShowsAndOnlyWhileSoundIsOnAndItsAbsenceIsSilence)
{
    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};
    TManualClock clock;
    ScopedErrorBoxes errors;
    TForm1 form{clock};
    auto* sounds = form.findChild<TGameSounds*>();
    EXPECT_EQ(sounds->PlayerState(), "off");
    Part<QAction>(form, "Sound1")->trigger();  // off
    form.FinishStart();
    QCoreApplication::processEvents();
    EXPECT_EQ(sounds->PlayerState(), "off");
    Part<QAction>(form, "Sound1")->trigger();  // on: the tests have no library beside them
    form.Start();
    form.Session().Move(24);
    EXPECT_EQ(std::tuple(sounds->PlayerState(), sounds->Requests(), errors.Messages()), std::tuple(QString("missing"), 1, QStringList()));
}

} // namespace
