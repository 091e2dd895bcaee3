#include "framework/HintWindow.h"
#include "tests/windows/WindowTestSupport.h"
#include "windows/StateReport.h"

#include <QFontMetrics>
#include <QUrl>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class MainWindowTest : public TWindowTest {
protected:
    MainWindowTest() { form.FinishStart(); }  // from here on a problem is told at once
    QMenu* Menu(const char* name) const { return Part<QMenu>(form, name); }
    TImage* Image1() const { return Part<TImage>(form, "Image1"); }
};

TEST_F(MainWindowTest, StartsWithTheBuiltInPictureAndTheWholeLayout)
{
    // Its size and the board's pieces are the sizes' test.
    EXPECT_EQ(std::pair(form.windowTitle(), Image1()->Picture().PixelFormat()), std::pair(QString("Mozik.bmp  -  5 x 5"), TPixelFormat::pf16bit));
    ScopedOpenFile cancel({});
    Item("Open1")->trigger();
    EXPECT_EQ(cancel.LastDefaultName(), QString());  // no name filled in
    const auto* clock = Part<TFxLabel>(form, "Label1");
    EXPECT_EQ(std::tuple(clock->geometry(), clock->Font(), Hint(clock)),  // right-aligned in the tool bar
              std::tuple(QRect(151, 1, 124, 38), MakeFont("Arial", 21, clBtnFace, true), QString("А время идет ...")));
    for (int left = 8; const auto& [name, hint] : {std::pair("SpeedButton1", "Перемешать."), {"SpeedButton4", "Пауза."},
                                                   {"SpeedButton2", "Другой рисунок."}, {"SpeedButton3", "Выход из программы."}}) {
        const auto* button = Part<TSpeedButton>(form, name);
        EXPECT_TRUE(button->geometry() == QRect(std::exchange(left, left + 32), 8, 25, 25) && ShowHint(button) && Hint(button) == hint) << name;
    }

    // The menus' captions are the translation check's; here each access key of the Game menu is used
    // once (the separator's "key" is its dash), but for S: Status Line's and Sound's, and A:
    // Animation's and Pause When Away's, as all are named (a second S or A reaches the second).
    const QList<QAction*> game = Menu("Game1")->actions();
    QSet<QChar> keys;
    for (const QAction* item : game)
        keys << (item->isSeparator() ? QChar('-') : item->text().at(item->text().indexOf('&') + 1).toLower());
    EXPECT_EQ(keys.size(), game.size() - 2);
    for (const char* name : {"Animation1", "FullScreen1", "StatusLine1", "KeepProportions1", "Numbers1", "Sound1", "PauseWhenAway1"})
        EXPECT_TRUE(Item(name)->isCheckable() && Item(name)->isEnabled() && Item(name)->isChecked() == (name[0] == 'A' || name[1] == 'o'))
            << name;  // Animation and Sound on at first
    // Solve gives the game up: no key does that by chance.
    EXPECT_EQ(std::tuple(Item("FullScreen1")->shortcut(), Item("Peek1")->shortcut(), Item("Solve1")->shortcut()),
              std::tuple(QKeySequence(Qt::Key_F11), QKeySequence(Qt::Key_Space), QKeySequence()));

    // The drop-down menus take the menu bar's font, and only the checked size shows a tick.
    for (const char* name : {"File1", "Options1", "Game1", "Help1"})
        EXPECT_EQ(Menu(name)->font(), form.menuBar()->font());
    form.N6x6Click();
    QMenu* sizes = Menu("Options1");
    const QImage menu = sizes->grab().toImage();
    for (QAction* item : sizes->actions()) {  // anything drawn in the check column, inside the menu's frame?
        const QRect row = sizes->actionGeometry(item).intersected(menu.rect().adjusted(2, 2, -2, -2));
        EXPECT_EQ(ColoursOf(menu.copy(row.left() + 1, row.top(), 24, row.height())).size() > 1, item == Item("N6x6"))
            << item->text().toStdString();
    }

    // Its hints show in the balloon of its own manager.
    auto* balloon = qobject_cast<TNewHint*>(HintWindow());
    ASSERT_TRUE(balloon);
    balloon->ActivateHint(Bounds(0, 0, 66, 18), Hint(Part(form, "SpeedButton1")));
    EXPECT_EQ(balloon->Manager(), Part<TZelHint>(form, "ZelHint1"));
    balloon->hide();
}

TEST_F(MainWindowTest, LongTimesShowWholeInTheClockTheResultAndTheScoreRows)
{
    // How a time is fitted to a box is the fitting font's test; here each box fits its own.
    const auto* label = Part<TFxLabel>(form, "Label1");
    const TFont font = label->Font();
    TForm2 result;
    TForm3 scores;
    TScoreTable table;
    form.Start();
    for (int seconds : {9, 99, 999, 1000, 9999, 99999}) {
        clock.Advance(1000 * (seconds - form.Seconds()));
        EXPECT_EQ(Time(), QString("Время : %1").arg(seconds));
        EXPECT_LE(QFontMetrics(label->Font().ToQFont()).horizontalAdvance(Time()), 122) << seconds;
        EXPECT_EQ(label->Font() == font, seconds <= 999) << seconds;
        result.Present(table, 4, seconds);
        EXPECT_EQ(result.Label2->text(), QString::number(seconds));
        EXPECT_LE(QFontMetrics(result.Label2->font()).horizontalAdvance(result.Label2->text()), 41) << seconds;
        table.Place(4, "p", seconds);
    }
    scores.Present(table, 4);
    scores.FormShow();
    for (const TFxLabel* time : {scores.FxLabel(11), scores.FxLabel(16)})
        EXPECT_LE(QFontMetrics(time->Font().ToQFont()).horizontalAdvance(time->Caption()), time->width() - 2);
    EXPECT_EQ(scores.FxLabel(16)->Caption(), QString("99999"));
}

// Whether a picture can be read is the session's test: here the window takes it and shows its pieces.
TEST_F(MainWindowTest, APictureOpenedOrDroppedIsCutIntoWholePiecesAndWhatIsNoLocalFileIsNotTaken)
{
    form.N7x7Click();
    // 100 x 75 on 7 x 7: whole pieces of 14 x 10, each of its own colour, stretched to 35 x 35; what
    // lies beyond the whole pieces is magenta, which no tile may show.
    const auto colour = [](int column, int row) { return QColor(30 * column, 30 * row, 100); };
    QImage picture(100, 75, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 98; ++x)
            picture.setPixelColor(x, y, colour(x / 14 + 1, y / 10 + 1));
    ASSERT_TRUE(QDir(dir.path()).mkpath("one/two") && picture.save(dir.filePath("one/two/holiday.bmp"), "BMP"));
    ScopedOpenFile open({dir.filePath("one/two/holiday.bmp")});
    Part<TSpeedButton>(form, "SpeedButton2")->click();
    form.Session().WaitForWork();
    EXPECT_EQ(std::pair(form.windowTitle(), Image1()->size()), std::pair(QString("holiday.bmp  -  7 x 7"), QSize(100, 75)));
    for (int p = 1; p <= 49; ++p) {
        const QImage tile = TileAt(p)->Picture().Image();
        ASSERT_EQ(tile.size(), QSize(35, 35));
        for (int y = 0; y < 35; y += 2)
            for (int x = 0; x < 35; x += 2)
                ASSERT_EQ(tile.pixelColor(x, y), colour(ColumnOf(p, 7), RowOf(p, 7))) << p << " " << x << "," << y;
    }
    // A file dropped opens as if chosen.
    ASSERT_TRUE(Filled({30, 20}, Qt::green).save(dir.filePath("sea.png")));
    QMimeData dropped, remote;
    dropped.setUrls({QUrl::fromLocalFile(dir.filePath("sea.png"))});
    remote.setUrls({QUrl("https://example.org/picture.png")});
    EXPECT_TRUE(DropOn(form, dropped) && !DropOn(form, remote));
    form.Session().WaitForWork();
    EXPECT_EQ(form.windowTitle(), QString("sea.png  -  7 x 7"));
}

// One that cannot be used is told once the window shows, as every problem is (ScoreCommandsTest).
TEST(StartPicture, APictureReadInTimeIsInTheFirstFrameAndALateOneComesWhileTheWindowWaits)
{
    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};
    ASSERT_TRUE(Filled({120, 90}, Qt::darkCyan).save(dir.filePath("sea.png"), "PNG"));
    const auto open = [&dir](TForm1& form, std::chrono::milliseconds wait) {
        form.Session().OpenPicture(std::make_unique<TPictureReading>(QFile::encodeName(dir.filePath("sea.png"))));
        return form.Session().WaitForPicture(wait);
    };
    {
        TForm1 form;
        EXPECT_TRUE(open(form, std::chrono::hours(1)));
        EXPECT_EQ(std::pair(form.windowTitle(), Part(form, "Image1")->size()), std::pair(QString("sea.png  -  5 x 5"), QSize(120, 90)));  // before it shows
    }
    ScopedPictureReadsHeld held;
    TForm1 form;
    EXPECT_FALSE(open(form, std::chrono::milliseconds(0)));
    form.show();
    QCoreApplication::processEvents();  // its first paint
    QCoreApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), QString("Mozik.bmp  -  5 x 5"));
    EXPECT_TRUE(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor);
    held.LetGo();
    form.Session().WaitForWork();
    EXPECT_TRUE(form.windowTitle() == "sea.png  -  5 x 5" && !QApplication::overrideCursor());
}

TEST_F(MainWindowTest, EveryTileShowsThePieceTheGameSaysAndAFinishedGameHandsOverToTheDialogs)
{
    const TForm1 reference(clock);
    // Every tile shows the piece the grid says; the gap's cell is hidden during a game, and the
    // corner's piece is back there once it is over.
    const auto showsTheGame = [&] {
        for (int p = 1; p <= 25; ++p) {
            const int piece = form.Grid().AtPosition(p, 5);
            EXPECT_EQ(TileAt(p)->isVisibleTo(&form) && Board()->FrameAt(p)->isVisibleTo(&form), piece || !form.Running());
            if (piece || !form.Running()) {
                const TTile* home = Part<TBoardPanel>(reference, "Panel1")->TileAt(piece ? piece : 25);
                EXPECT_EQ(TileAt(p)->Picture().Image(), home->Picture().Image()) << p;
            }
        }
    };
    form.Start();
    showsTheGame();
    Click(24);  // slides right into the gap
    EXPECT_EQ(GapPos, 24);
    showsTheGame();

    TEndDialogs dialogs(&form);
    auto& [result, scores, driver] = dialogs;
    clock.Advance(42000);
    driver.Expect([&](QWidget* modal) {
        EXPECT_TRUE(modal == &result && result.Label2->text() == "42");
        TypeText(result.Edit1, "Мозик");
        QTest::mouseClick(result.Button1, Qt::LeftButton);
    });
    driver.Expect([&](QWidget* modal) {
        EXPECT_TRUE(modal == &scores && scores.TabSet1->TabIndex() == 1);
        EXPECT_EQ(scores.FxLabel(1)->Caption() + " " + scores.FxLabel(11)->Caption(), QString("Мозик 42"));
        scores.Button1->click();
    });
    for (int p : SolutionClicks(form.Session().Game()))
        Click(p);
    // The clock stopped at the game's time, and the whole picture shows.
    clock.Advance(1000);
    EXPECT_TRUE(!form.Running() && Time() == "Время : 42");
    showsTheGame();
}

TEST_F(MainWindowTest, TheStateReportGoesOnlyToAnOwnRegularFileAndNeverWhileTheBoardIsBuiltAgain)
{
    const QString report = dir.filePath("report"), target = dir.filePath("target"), link = dir.filePath("link"),
                  pipe = dir.filePath("pipe"), folder = dir.filePath("folder");
    WriteFile(target, "kept");
    ASSERT_EQ(symlink("target", QFile::encodeName(link)), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& path : {report, link, pipe, folder})
        ReportGameTo(form, QFile::encodeName(path));
    QStringList seen;  // each report as the window tells of a change, the first writer before us
    QObject::connect(&form, &TForm1::GameShown, &form, [&] { seen << QString::fromUtf8(ReadFile(report)); });
    Item("N4x4")->trigger();
    ASSERT_FALSE(seen.isEmpty());
    for (const QString& each : seen)
        EXPECT_TRUE(!each.contains("4 x 4\n") || each.contains("tile.16=")) << each.toStdString();
    EXPECT_TRUE(seen.last().contains("title=Mozik.bmp  -  4 x 4\n") && seen.last().contains("tile.16="));
    form.Start();
    EXPECT_TRUE(ReadFile(report).contains("running=1\n")) << ReadFile(report).toStdString();
    form.Start();  // an own file is replaced again
    EXPECT_EQ(ReadFile(report), GameReport(form));
    EXPECT_EQ(ReadFile(target), "kept");
    EXPECT_TRUE(QFileInfo(link).isSymLink() && QFileInfo(folder).isDir() && QDir(folder).isEmpty());
    struct stat st {};
    EXPECT_TRUE(lstat(QFile::encodeName(pipe), &st) == 0 && S_ISFIFO(st.st_mode));
}

} // namespace
