#include "effects/FxImage.h"
#include "framework/Application.h"
#include "framework/Bevel.h"
#include "framework/HintWindow.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "framework/PictureFile.h"
#include "framework/SpeedButton.h"
#include "framework/TabSet.h"
#include "game/Unit1.h"
#include "game/Unit3.h"
#include "game/Unit4.h"
#include "tests/game/Solution.h"
#include "hint/Zelhint.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTranslator>
#include <QUrl>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QStringList Captions(const QList<QAction*>& actions)
{
    QStringList captions;
    for (const QAction* action : actions)
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

class MainWindowTest : public ::testing::Test {
protected:

    QString Time() const { return form.Label1->Caption(); }
    void Click(int p) { QTest::mouseClick(form.TileAt(p), Qt::LeftButton, {}, QPoint(3, 3)); }
    std::vector<int> Cells() const
    {
        std::vector<int> cells;
        for (int p = 1; p <= form.BoardSize() * form.BoardSize(); ++p)
            cells.push_back(form.Grid().AtPosition(p, form.BoardSize()));
        return cells;
    }

    // A picture whose N x N pieces each have their own colour; pixels beyond the whole pieces
    // are magenta, which no tile may show.
    QString WritePieces(int width, int height, int n, const QString& name = "pieces.bmp")
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        const int sw = width / n, sh = height / n;
        for (int y = 0; y < sh * n; ++y)
            for (int x = 0; x < sw * n; ++x)
                image.setPixelColor(x, y, PieceColour(x / sw + 1, y / sh + 1));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    static QColor PieceColour(int column, int row) { return QColor(30 * column, 30 * row, 100); }

    void Open(const QString& path)
    {
        ScopedOpenFile open({path});
        form.Open1Click();
    }

    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};  // the score file goes to a fresh directory
    TForm1 form;
};

TEST_F(MainWindowTest, StartsWithTheBuiltInPictureAndTheWholeLayout)
{
    EXPECT_EQ(form.windowTitle(), QString("Mozik.bmp  -  5 x 5"));
    EXPECT_EQ(form.centralWidget()->size(), QSize(276, 316));
    EXPECT_EQ(form.Image1->size(), QSize(250, 250));
    EXPECT_EQ(form.Image1->Picture().PixelFormat(), TPixelFormat::pf16bit);
    EXPECT_FALSE(form.Image1->isVisibleTo(&form));
    EXPECT_EQ(Time(), QString("Время : 0"));
    EXPECT_EQ(form.OpenDialog1.FileName, QString("mozik.bmp"));
    form.FinishStart();  // what waits for the window to be on the screen
    EXPECT_EQ(form.OpenDialog1.Filter, PictureDialogFilter());
    EXPECT_TRUE(QFileInfo::exists(form.ScoreFile.Path()));
    EXPECT_FALSE(form.Timer1->isActive());

    EXPECT_EQ(form.Panel2->geometry(), QRect(0, 0, 276, 40));
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 40, 276, 276));
    EXPECT_EQ(form.Label1->geometry(), QRect(151, 1, 124, 38));  // right-aligned in the tool bar
    EXPECT_EQ(form.Label1->Font(), MakeFont("Arial", 21, clBtnFace, true));
    const std::pair<TSpeedButton*, const char*> buttons[] = {{form.SpeedButton1, "Перемешать."}, {form.SpeedButton4, "Пауза."},
                   {form.SpeedButton2, "Другой рисунок."}, {form.SpeedButton3, "Выход из программы."}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i].first->geometry(), QRect(8 + 32 * i, 8, 25, 25));
        EXPECT_TRUE(ShowHint(buttons[i].first) && Hint(buttons[i].first) == buttons[i].second);
    }
    EXPECT_EQ(Hint(form.Label1), QString("А время идет ..."));
    EXPECT_FALSE(ShowHint(form.Label1));

    EXPECT_EQ(Captions(form.MainMenu1->actions()), QStringList({"&File", "&Size", "&Game", "&Help"}));
    EXPECT_EQ(Captions(form.Game1->actions()), QStringList({"&Hint", "S&olve", "&Undo", "&Redo", "&Peek"}));
    EXPECT_EQ(form.Hint1->shortcut(), QKeySequence(Qt::Key_H));
    EXPECT_TRUE(form.Solve1->shortcut().isEmpty());  // it gives the game up: no key does that by chance
    EXPECT_EQ(form.Undo1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(form.Redo1->shortcuts(), QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    EXPECT_EQ(form.Peek1->shortcut(), QKeySequence(Qt::Key_Space));
    EXPECT_EQ(Captions(form.File1->actions()),
              QStringList({"&Start", "&Pause", "&Open ...", "&High Scores ...", "&Clear Scores", "-", "E&xit"}));
    EXPECT_EQ(Captions(form.Options1->actions()), QStringList({"&1  x  1", "&4  x  4", "&5  x  5", "&6  x  6", "&7  x  7"}));
    EXPECT_EQ(Captions(form.Help1->actions()), QStringList({"&About"}));
    EXPECT_EQ(form.Start1->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(form.Pause1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F2));
    EXPECT_EQ(form.Open1->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(form.Exit1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_FALSE(form.Pause1->isEnabled());
    for (QAction* size : form.Options1->actions())
        EXPECT_EQ(size->isCheckable() && size->isChecked(), size == form.N5x5);
}

TEST_F(MainWindowTest, DropDownMenusUseTheMenuBarsFontAndTickOnlyTheCheckedSize)
{
    for (QMenu* menu : {form.File1, form.Options1, form.Game1, form.Help1})
        EXPECT_EQ(menu->font(), form.MainMenu1->font());
    form.N6x6Click();
    const QImage menu = form.Options1->grab().toImage();
    const TColor face = PixelAt(menu, menu.width() / 2, 1);
    for (QAction* item : form.Options1->actions()) {
        // Anything drawn in the check column left of the caption, inside the menu's frame?
        const QRect row = form.Options1->actionGeometry(item).intersected(menu.rect().adjusted(2, 2, -2, -2));
        int inked = 0;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left() + 1; x < row.left() + 25; ++x)
                inked += PixelAt(menu, x, y) != face;
        EXPECT_EQ(inked > 0, item == form.N6x6) << item->text().toStdString();
    }
}

TEST_F(MainWindowTest, EverySizeBuildsItsBoardOfFramesThenPictures)
{
    const struct {
        QAction* item;
        int n;
        QSize client;
        QRect lastFrame;
    } sizes[] = {{form.N1x1, 1, {262, 302}, {3, 3, 254, 254}}, {form.N4x4, 4, {271, 311}, {201, 201, 66, 66}},
                 {form.N6x6, 6, {277, 317}, {228, 228, 45, 45}}, {form.N7x7, 7, {280, 320}, {237, 237, 39, 39}},
                 {form.N5x5, 5, {276, 316}, {219, 219, 54, 54}}};
    for (const auto& size : sizes) {
        size.item->trigger();
        const int n = size.n, cells = n * n, t = 250 / n;
        EXPECT_EQ(form.centralWidget()->size(), size.client);
        EXPECT_EQ(form.windowTitle(), QString("Mozik.bmp  -  %1 x %1").arg(n));
        for (QAction* item : form.Options1->actions())
            EXPECT_EQ(item->isChecked(), item == size.item);
        // Panel1 owns the frames, then the pictures, in position order, each picture 2 inside.
        const QList<QWidget*> owned = form.Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(owned.size(), 2 * cells);
        EXPECT_EQ(owned[cells - 1]->geometry(), size.lastFrame);
        int p = 1;
        for (TTileNode* node = form.FirstNode; node; node = node->Next, ++p) {
            ASSERT_EQ(node->Frame, owned[p - 1]);
            ASSERT_EQ(node->Tile, owned[cells + p - 1]);
            EXPECT_EQ(node->Tile->geometry(), node->Frame->geometry().adjusted(2, 2, -2, -2));
            EXPECT_EQ(node->Tile->Picture().Image().size(), QSize(t, t));
            EXPECT_TRUE(node->Tile->isVisibleTo(&form) && node->Frame->isVisibleTo(&form));
        }
        EXPECT_EQ(p, cells + 1);
        EXPECT_EQ(form.LastNode->Tile, owned.back());
        EXPECT_EQ(form.Grid().At(n, n), 0);
        EXPECT_EQ(GapPos, cells);
        EXPECT_EQ(form.SpeedButton1->isEnabled(), n != 1);
        EXPECT_TRUE(form.Start1->isEnabled());
    }
    EXPECT_EQ(form.FrameAt(1)->geometry(), QRect(3, 3, 54, 54));
    EXPECT_EQ(form.TileAt(2)->geometry(), QRect(59, 5, 50, 50));
    form.FieldDestroy();
    EXPECT_EQ(form.FirstNode, nullptr);
    EXPECT_EQ(form.LastNode, nullptr);
    EXPECT_TRUE(form.Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
    form.FieldCreate();
}

TEST_F(MainWindowTest, StartHidesTheCornerAndEveryTileShowsThePieceTheGameSays)
{
    const TForm1 reference;
    form.Timer1Timer();
    form.Start();
    EXPECT_EQ(Time(), QString("Время : 0"));
    EXPECT_FALSE(form.TileAt(25)->isVisibleTo(&form) || form.FrameAt(25)->isVisibleTo(&form));
    EXPECT_EQ(GapPos, 25);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_FALSE(form.SpeedButton1->isEnabled() || form.Start1->isEnabled());
    EXPECT_TRUE(form.SpeedButton4->isEnabled() && form.Pause1->isEnabled());
    EXPECT_TRUE(ShowHint(form.Label1));
    // Image2 keeps the corner piece; every tile shows the piece the grid says it shows.
    EXPECT_EQ(form.Image2->Picture().Image(), reference.TileAt(25)->Picture().Image());
    auto showsTheGrid = [&] {
        for (int p = 1; p <= 25; ++p) {
            if (const int piece = form.Grid().AtPosition(p, 5); piece != 0) {
                EXPECT_EQ(form.TileAt(p)->Picture().Image(), reference.TileAt(piece)->Picture().Image()) << p;
            }
        }
    };
    showsTheGrid();

    Click(19);  // diagonal to the gap: nothing
    EXPECT_EQ(GapPos, 25);
    Click(24);  // slides right into the gap
    EXPECT_EQ(GapPos, 24);
    EXPECT_FALSE(form.TileAt(24)->isVisibleTo(&form) || form.FrameAt(24)->isVisibleTo(&form));
    EXPECT_TRUE(form.TileAt(25)->isVisibleTo(&form) && form.FrameAt(25)->isVisibleTo(&form));
    for (int p : {19, 18, 13})
        Click(p);
    EXPECT_EQ(GapPos, 13);
    showsTheGrid();

    form.N1x1Click();  // one tile: Start from the menu or F2 does nothing
    form.Start1->trigger();
    EXPECT_FALSE(form.Running() || form.Timer1->isActive());
    EXPECT_TRUE(form.TileAt(1)->isVisibleTo(&form));
}

TEST_F(MainWindowTest, TheClockCondensesItsDigitsFromTheFourthOnSoThatTheyStayWhole)
{
    form.Start();
    const TFont clock = form.Label1->Font();
    for (int second = 1; second <= 1000; ++second) {
        form.Timer1Timer();
        if (second == 999) {
            EXPECT_EQ(form.Label1->Font(), clock);
        }
    }
    EXPECT_EQ(Time(), QString("Время : 1000"));
    EXPECT_LT(form.Label1->Font().Stretch, 100);
    EXPECT_LE(QFontMetrics(form.Label1->Font().ToQFont()).horizontalAdvance(Time()), 122);
    EXPECT_EQ(form.Label1->Font().Height, clock.Height);
}

TEST_F(MainWindowTest, PauseStopsTheClockAndResumesWhereItStood)
{
    form.Start();
    for (int i = 0; i < 12; ++i)
        form.Timer1Timer();
    form.Pause1->trigger();
    EXPECT_TRUE(form.Paused());
    EXPECT_FALSE(form.Timer1->isActive() || form.Label1->isEnabled() || ShowHint(form.Label1));
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Продолжить."));
    form.SpeedButton4->click();
    EXPECT_FALSE(form.Paused());
    EXPECT_TRUE(form.Timer1->isActive() && form.Label1->isEnabled() && ShowHint(form.Label1));
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Пауза."));
    form.Timer1Timer();
    EXPECT_EQ(Time(), QString("Время : 13"));
}

TEST_F(MainWindowTest, ARebuildEndsTheGameAndLeavesAConsistentIdleBoard)
{
    form.Start();
    form.Timer1Timer();
    form.SpeedButton4Click();
    form.N4x4Click();
    EXPECT_FALSE(form.Running());
    EXPECT_TRUE(form.Paused());  // kept until the next Start
    EXPECT_EQ(Time(), QString("Время : 0"));
    EXPECT_FALSE(form.Timer1->isActive() || form.SpeedButton4->isEnabled() || ShowHint(form.Label1));
    EXPECT_TRUE(form.SpeedButton1->isEnabled() && form.Label1->isEnabled());
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Пауза."));
    for (int p = 1; p <= 16; ++p)
        EXPECT_TRUE(form.TileAt(p)->isVisibleTo(&form));
    form.Start();
    EXPECT_FALSE(form.Paused());
    form.N4x4Click();  // the size in force rebuilds too
    EXPECT_FALSE(form.Running());
    EXPECT_TRUE(form.N4x4->isChecked());
}

TEST_F(MainWindowTest, OpeningAPictureTakesItsBareNameAndRebuildsTheBoard)
{
    {
        ScopedOpenFile cancel({QString()});
        form.Start();
        form.Open1->trigger();
        EXPECT_EQ(cancel.Calls(), 1);
        EXPECT_TRUE(form.Running());  // cancelled: nothing changes
    }
    form.N6x6Click();
    form.Start();
    QDir(dir.path()).mkpath("one/two/three");
    ScopedOpenFile open({WritePieces(120, 90, 6, "one/two/three/holiday.bmp")});
    form.SpeedButton2->click();
    EXPECT_EQ(form.windowTitle(), QString("holiday.bmp  -  6 x 6"));
    EXPECT_EQ(form.Image1->size(), QSize(120, 90));
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(Time(), QString("Время : 0"));
    form.N4x4Click();
    EXPECT_EQ(form.windowTitle(), QString("holiday.bmp  -  4 x 4"));
}

TEST_F(MainWindowTest, PiecesAreCutAsWholeFractionsAndScaledToTheTile)
{
    form.N7x7Click();
    Open(WritePieces(100, 100, 7));  // 14 x 14 pieces stretched to 35 x 35
    for (int p = 1; p <= 49; ++p) {
        const QImage tile = form.TileAt(p)->Picture().Image();
        ASSERT_EQ(tile.size(), QSize(35, 35));
        for (int y = 0; y < 35; y += 2)
            for (int x = 0; x < 35; x += 2)
                ASSERT_EQ(tile.pixelColor(x, y), PieceColour(ColumnOf(p, 7), RowOf(p, 7))) << p << " " << x << "," << y;
    }
    form.N5x5Click();
    Open(WritePieces(640, 480, 5, "wide.bmp"));  // 128 x 96 pieces on a square board
    for (int p = 1; p <= 25; ++p)
        for (QPoint corner : {QPoint(0, 0), QPoint(49, 49)})
            EXPECT_EQ(form.TileAt(p)->Picture().Image().pixelColor(corner), PieceColour(ColumnOf(p, 5), RowOf(p, 5)));
}

TEST_F(MainWindowTest, EveryKindOfBitmapOpensAndCutsIntoTiles)
{
    const QDir folder(TestDataPath("bmp/good"));
    ScopedErrorBoxes errors;
    for (const QString& name : folder.entryList({"*.bmp"}, QDir::Files)) {
        Open(folder.filePath(name));
        EXPECT_EQ(form.windowTitle(), name + "  -  5 x 5");
        EXPECT_EQ(form.Panel1->findChildren<TImage*>(QString(), Qt::FindDirectChildrenOnly).size(), 25);
    }
    EXPECT_TRUE(errors.Messages().isEmpty()) << errors.Messages().join("\n").toStdString();
}

TEST_F(MainWindowTest, APictureThatCannotBeReadLeavesEverythingAsItWas)
{
    Open(WritePieces(60, 60, 5, "good.bmp"));
    form.Start();
    form.Timer1Timer();
    const std::vector<int> before = Cells();
    const QImage firstTile = form.TileAt(1)->Picture().Image();
    // Not a bitmap, a bitmap cut short, no file, a folder.
    QFile garbage(dir.filePath("broken.bmp")), original(TestDataPath("bmp/good/rgb24.bmp")), cut(dir.filePath("cut.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly) && original.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    garbage.write("BMnot really a picture");
    cut.write(original.read(original.size() - 100));
    garbage.close();
    cut.close();

    ScopedErrorBoxes errors;
    for (const QString& bad : {dir.filePath("broken.bmp"), dir.filePath("cut.bmp"), dir.filePath("missing.bmp"), dir.path()}) {
        Open(bad);
        EXPECT_TRUE(form.Running() && form.Timer1->isActive());
        EXPECT_EQ(form.Seconds(), 1);
        EXPECT_EQ(Cells(), before);
        EXPECT_EQ(form.TileAt(1)->Picture().Image(), firstTile);
        EXPECT_EQ(form.windowTitle(), QString("good.bmp  -  5 x 5"));
        EXPECT_EQ(form.Image1->size(), QSize(60, 60));
    }
    ASSERT_EQ(errors.Messages().size(), 4);
    EXPECT_TRUE(errors.Messages()[0].contains(dir.filePath("broken.bmp")));
    form.N4x4Click();  // the caption keeps the last good picture's name
    EXPECT_EQ(form.windowTitle(), QString("good.bmp  -  4 x 4"));
}

TEST_F(MainWindowTest, APictureDroppedOnTheWindowOpensAsIfChosen)
{
    QImage image(90, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.filePath("drop.png")));
    auto drop = [this](const QUrl& url) {
        QMimeData data;
        data.setUrls({url});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&form, &dropped);
        }
        return enter.isAccepted();
    };
    form.Start();
    EXPECT_TRUE(drop(QUrl::fromLocalFile(dir.filePath("drop.png"))));
    EXPECT_EQ(form.windowTitle(), QString("drop.png  -  5 x 5"));
    EXPECT_EQ(form.TileAt(1)->Picture().Image().pixelColor(10, 10), QColor(Qt::red));
    EXPECT_FALSE(form.Running());

    // What is no local file is not taken; a file that is no picture is told and changes nothing.
    EXPECT_FALSE(drop(QUrl("https://example.org/picture.png")));
    QFile text(dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a picture") > 0);
    text.close();
    ScopedErrorBoxes errors;
    EXPECT_TRUE(drop(QUrl::fromLocalFile(text.fileName())));
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(text.fileName()));
    EXPECT_EQ(form.windowTitle(), QString("drop.png  -  5 x 5"));
}

TEST(LightLook, TheWindowsKeepTheirLightFaceUnderADarkDesktopPalette)
{
    QApplication::setPalette(QPalette(Qt::white, QColor(50, 50, 50)));  // what a dark theme hands out
    UseLightLook();
    {
        QTemporaryDir dir;
        ScopedCurrentDir workIn(dir.path());
        TForm1 form;
        EXPECT_EQ(PixelAt(form.Panel2->grab().toImage(), 140, 20), TColor(0xEFEFEF));
        EXPECT_EQ(ColorToRGB(clBtnFace), TColor(0xEFEFEF));
        EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    }
    QApplication::setPalette(TestPalette());
}

TEST(RussianTexts, QtsOwnDialogsSpeakRussian)
{
    ASSERT_TRUE(UseRussianQtTexts());
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), QString("Открыть"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Отмена"));
    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
    QLocale::setDefault(QLocale::c());
}

TEST_F(MainWindowTest, ShortcutKeysDriveTheGame)
{
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F2);
    EXPECT_TRUE(form.Running());
    QTest::keyClick(&form, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(form.Paused());
    QTest::keyClick(&form, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_FALSE(form.Paused());
    {
        ScopedOpenFile open({QString()});
        QTest::keyClick(&form, Qt::Key_F3);
        EXPECT_EQ(open.Calls(), 1);
    }
    QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, HintsShowInTheBalloonOfTheWindowsManager)
{
    EXPECT_EQ(form.ZelHint1->HintColor(), clBtnFace);
    EXPECT_EQ(form.ZelHint1->HintShadowColor(), clGray);
    EXPECT_EQ(form.ZelHint1->HintFont(), MakeFont("MS Sans Serif", 16, clBlack, true, true));
    SetHintClockRunning(false);  // the test fires the due hint itself
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::mouseMove(form.SpeedButton1, QPoint(12, 12));
    EXPECT_EQ(DueHintPause(), 600);
    ASSERT_TRUE(ShowDueHint());
    auto* balloon = qobject_cast<TNewHint*>(HintWindow());
    ASSERT_TRUE(balloon && balloon->isVisible());
    EXPECT_EQ(balloon->Caption(), QString("Перемешать."));
    EXPECT_EQ(balloon->Manager(), form.ZelHint1);
    EXPECT_EQ(balloon->ShownDirection(), THintDirection::hdUpRight);
    EXPECT_LT(balloon->geometry().bottom(), QCursor::pos().y());
    CancelHint();
    SetHintClockRunning(true);
}

TEST_F(MainWindowTest, AFinishedGameHandsOverToTheResultAndScoreDialogsAndTheRecordIsSavedAtOnce)
{
    TForm2 result(&form);
    TForm3 scores(&form);
    Form2 = &result;
    Form3 = &scores;
    form.N4x4Click();
    std::vector<QImage> home;
    for (int p = 1; p <= 16; ++p)
        home.push_back(form.TileAt(p)->Picture().Image());
    form.Start();
    for (int i = 0; i < 42; ++i)
        form.Timer1Timer();
    ModalDriver driver;
    driver.Expect([](QWidget* modal) {
        auto* dialog = qobject_cast<TForm2*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->Label2->text(), QString("42"));
        EXPECT_TRUE(dialog->Edit1->isEnabled());
        TypeText(dialog->Edit1, "Мозик");
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    });
    driver.Expect([](QWidget* modal) {
        auto* dialog = qobject_cast<TForm3*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->TabSet1->TabIndex(), 0);
        EXPECT_EQ(dialog->FxLabel(1)->Caption(), QString("Мозик"));
        EXPECT_EQ(dialog->FxLabel(11)->Caption(), QString("42"));
        dialog->Button1->click();
    });
    for (int p : SolutionClicks(form.Game))
        Click(p);
    Form2 = nullptr;
    Form3 = nullptr;
    EXPECT_EQ(driver.Handled(), 2);
    EXPECT_EQ(driver.Unexpected(), 0);
    // The clock stopped, the commands are back, and every piece shows at home.
    EXPECT_FALSE(form.Running() || form.Timer1->isActive() || form.Pause1->isEnabled() || ShowHint(form.Label1));
    EXPECT_TRUE(form.SpeedButton1->isEnabled() && form.Start1->isEnabled());
    EXPECT_EQ(form.Label1->Caption(), QString("Время : 42"));
    for (int p = 1; p <= 16; ++p)
        EXPECT_EQ(form.TileAt(p)->Picture().Image(), home[size_t(p - 1)]) << p;
    // Closing the window without Exit keeps the record: it is in the file already.
    form.show();
    form.close();
    QFile file(form.ScoreFile.Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines.size(), 81);  // 80 lines, each ended by CR LF
    EXPECT_EQ(lines[0], EncodeName("Мозик") + "\r");
    EXPECT_EQ(lines[1], QByteArray("42\r"));
}

} // namespace
