#include "game/Settings.h"
#include "tests/windows/WindowTestSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QUrl>

namespace {

QMimeData* ImageData(QColor colour, const char* format = "png", int cut = 0)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(Filled({30, 20}, colour).save(&buffer, format));
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/") + format, bytes.chopped(cut));
    return data;
}

class CommandsTest : public TShownWindowTest {
protected:
    QString Picture(const QString& name, QColor colour)
    {
        EXPECT_TRUE(Filled({30, 20}, colour).save(dir.filePath(name), "PNG"));
        return dir.filePath(name);
    }
    QColor Shown() const { return form.Session().Picture().pixelColor(0, 0); }
    bool Drop(QMimeData* data)
    {
        const std::unique_ptr<QMimeData> owned(data);
        const bool taken = DropOn(form, *data);
        QCoreApplication::processEvents();  // a question waits for the drop's end
        form.Session().WaitForWork();
        return taken;
    }
    QList<QAction*> Recent(TForm1& window) const
    {
        emit Part<QMenu>(window, "OpenRecent1")->aboutToShow();
        return Part<QMenu>(window, "OpenRecent1")->actions();
    }
    void PlayAMove()
    {
        form.Start();
        form.Session().MoveToward(TDirection::Right);
        clock.Advance(7000);
    }
};

TEST_F(CommandsTest, EveryCommandThatWouldEndAGameWithMovesAsksFirstNoChangesNothingAndAYesMayBeRemembered)
{
    const QString sea = Picture("sea.png", Qt::darkCyan);
    TSettings(TSettings::DefaultPath()).AddRecentPicture(QFile::encodeName(sea));
    QApplication::clipboard()->setMimeData(ImageData(Qt::red));
    ScopedQuestions questions;  // No, unless told otherwise
    ScopedOpenFile open({sea});
    form.Start();
    Item("NewGame1")->trigger();  // no move yet: nothing to lose
    PlayAMove();
    const TGame& game = form.Session().Game();
    const auto shown = [&] { return std::tuple(game.Moves(), game.Seconds(), game.Position(), form.windowTitle(), Item("N6x6")->isChecked()); };
    const auto before = shown();
    const std::function<void()> commands[] = {
        [&] { QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier); }, [&] { Item("N6x6")->trigger(); },
        [&] { form.Open1Click(); }, [&] { Recent(form).front()->trigger(); }, [&] { Item("BuiltinPicture1")->trigger(); },
        [&] { QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier); }, [&] { EXPECT_TRUE(Drop(ImageData(Qt::blue))); }};
    for (const auto& command : commands) {
        command();
        form.Session().WaitForWork();
    }
    EXPECT_EQ(std::pair(int(questions.Asked().size()), shown()), std::pair(7, before));
    const TQuestion& question = questions.Asked().front();
    EXPECT_EQ(std::tuple(question.Text, question.Details, question.DontAskAgain, question.YesByDefault),
              std::tuple(QString("Прервать игру?"), QString("Ходов: 1. Время: 7 с."), QString("Больше не спрашивать"), true));

    questions.Answer({true, true});  // Yes (a fresh shuffle: tests/e2e/questions.sh), and not to be asked again
    form.Session().MoveToward(TDirection::Right);
    Item("N6x6")->trigger();
    PlayAMove();
    Item("N4x4")->trigger();
    EXPECT_EQ(std::pair(int(questions.Asked().size()), form.BoardSize()), std::pair(8, 4));
    EXPECT_FALSE(TSettings(TSettings::DefaultPath()).AskBeforeAbandoning());
}

TEST_F(CommandsTest, ClearScoresAlwaysAsksNamingTheRecordsInTheFileAndNoKeepsItByteForByte)
{
    TScoreTable table;  // another window's records, written after this one read the file
    for (const auto& [size, seconds] : {std::pair(4, 12), {6, 95}, {6, 99}})
        table.Place(size, "Anna", seconds);
    const QString file = form.Session().ScoreFile().Path();
    WriteFile(file, table.ToFileText());
    ScopedQuestions questions({{false, false}, {true, false}});
    Item("ClearScores1")->trigger();
    ASSERT_EQ(questions.Asked().size(), 1);
    EXPECT_EQ(std::tuple(questions.Asked()[0].Text, questions.Asked()[0].YesByDefault, ReadFile(file)),
              std::tuple(QString("Удалить 3 записи из таблицы результатов?"), false, table.ToFileText()));
    Item("ClearScores1")->trigger();
    EXPECT_EQ(std::pair(ReadFile(file), form.Scores()), std::pair(TScoreTable().ToFileText(), TScoreTable()));
}

TEST_F(CommandsTest, OpenRecentListsThePicturesOpenedNewestFirstAndTellsOnceOfOneThatIsGone)
{
    ScopedErrorBoxes errors;
    ASSERT_TRUE(QDir(dir.path()).mkpath("one"));
    const QString a = Picture("one/a&b.png", Qt::red);
    WriteFile(dir.filePath("bad.png"), "not a picture");
    for (const QString& path : {a, Picture("b.png", Qt::green), Picture("c.png", Qt::blue), dir.filePath("bad.png")}) {
        form.OpenPicture(path);
        form.Session().WaitForWork();
    }
    QList<QAction*> items = Recent(form);  // as the settings keep them for the next run too
    QStringList names;
    for (const QAction* item : items)
        names << item->text();
    EXPECT_EQ(names, QStringList({"c.png", "b.png", "a&&b.png", "", "&Clear List"}));  // not the bad one
    auto* menu = Part<QMenu>(form, "OpenRecent1");
    emit menu->hovered(items[2]);  // the item under the mouse: its folder is the hint
    EXPECT_EQ(std::pair(Hint(menu), ShowHint(menu)), std::pair(dir.filePath("one"), true));
    items[1]->trigger();  // the second-last
    form.Session().WaitForWork();
    ASSERT_TRUE(QFile::remove(a));
    Recent(form)[2]->trigger();
    form.Session().WaitForWork();
    EXPECT_EQ(std::tuple(form.windowTitle(), int(errors.Messages().size()), TSettings(TSettings::DefaultPath()).RecentPictures().size()),
              std::tuple(QString("b.png  -  5 x 5"), 2, 2));  // the bad one told, and the one gone
    EXPECT_TRUE(errors.Messages()[1].contains(a));
    Recent(form).back()->trigger();  // Clear List
    items = Recent(form);
    EXPECT_TRUE(items.size() == 2 && !items.back()->isEnabled());
}

TEST_F(CommandsTest, PasteAndADropTakeACopiedFileOrImageDataByTheSameRulesAndSayWhenThereIsNoPicture)
{
    ScopedErrorBoxes errors;
    QClipboard* clipboard = QApplication::clipboard();
    const auto paste = [&](QMimeData* data) {
        data ? clipboard->setMimeData(data) : clipboard->clear();
        QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
        form.Session().WaitForWork();
    };
    paste(nullptr);
    paste(ImageData(Qt::red, "bmp"));
    EXPECT_EQ(std::tuple(form.windowTitle(), Shown(), form.Session().PicturePath()),
              std::tuple(QString("Вставленный рисунок  -  5 x 5"), QColor(Qt::red), QByteArray()));
    paste(ImageData(Qt::blue, "png", 30));  // cut short: refused as a cut file is
    EXPECT_EQ(Shown(), QColor(Qt::red));
    auto* decoded = new QMimeData;  // a picture already decoded, by this very program
    decoded->setImageData(Filled({20, 20}, Qt::green));
    paste(decoded);
    EXPECT_EQ(Shown(), QColor(Qt::green));
    auto* copied = new QMimeData;  // a file copied in a file manager
    copied->setUrls({QUrl::fromLocalFile(Picture("sea.png", Qt::darkCyan))});
    paste(copied);
    EXPECT_EQ(form.windowTitle(), QString("sea.png  -  5 x 5"));
    ASSERT_EQ(errors.Messages().size(), 2);
    EXPECT_TRUE(errors.Messages()[0] == "В буфере обмена нет рисунка." && errors.Messages()[1].contains("«Вставленный рисунок»"));
    // Image data dropped (from a web browser, say) opens as a dropped file does.
    EXPECT_TRUE(Drop(ImageData(Qt::yellow, "jpeg")));
    EXPECT_EQ(std::pair(form.windowTitle(), Shown().name()), std::pair(QString("Вставленный рисунок  -  5 x 5"), QColor(Qt::yellow).name()));
}

TEST_F(CommandsTest, PauseWhenAwayPausesAGameInPlayOnMinimiseAndFocusLossAsPauseDoesButNotForTheGamesOwnDialogs)
{
    QWidget other;
    other.show();
    const auto leave = [&] {
        QApplication::setActiveWindow(&other);
        const bool paused = form.Paused();
        QApplication::setActiveWindow(&form);
        return paused;
    };
    form.Start();
    EXPECT_FALSE(leave());  // off at first: the clock runs on
    Item("PauseWhenAway1")->trigger();
    EXPECT_TRUE(leave() && Hint(Part(form, "SpeedButton4")) == "Продолжить.");  // as Pause leaves it
    Part<TSpeedButton>(form, "SpeedButton4")->click();  // the player goes on with Pause
    form.showMinimized();
    EXPECT_TRUE(form.Paused());
    form.showNormal();
    Item("Pause1")->trigger();
    TAbout about(&form);
    ExecAnswered(about, [&] {
        QApplication::setActiveWindow(&about);
        EXPECT_FALSE(form.Paused());
        about.Button1->click();
    });
    EXPECT_TRUE(TSettings(TSettings::DefaultPath()).PauseWhenAway());
}

TEST_F(CommandsTest, DialogsOpenCentredOnTheMainWindowWhereverItIsAndOnA640By480ScreenWhereCentringOnItPutsThem)
{
    TForm2 result(&form);
    TForm3 scores(&form);
    TAbout about(&form);
    const auto middle = [](const QWidget& window) {
        const QRect frame = window.frameGeometry();
        return frame.topLeft() + QPoint(frame.width() / 2, frame.height() / 2);
    };
    for (const QPoint at : {QPoint(262, 132), QPoint(380, 200)}) {
        form.move(at);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&result, &scores, &about})
            ExecAnswered(*dialog, [&] {
                EXPECT_EQ(middle(*dialog), middle(form)) << dialog->objectName().toStdString();
                dialog->accept();
            });
    }
    // The 5 x 5 main window centred on 640 x 480, in frames of either parity; the score dialog,
    // the About box and the result dialog in theirs: each lands where centring it on the screen
    // puts it, which for the result dialog is not its old place (220, 141).
    const QRect screen(0, 0, 640, 480);
    const auto onScreen = [](QSize frame) { return QPoint(319 - frame.width() / 2, 239 - frame.height() / 2); };
    for (const QSize main : {QSize(284, 362), QSize(283, 361)})
        for (const QSize dialog : {QSize(398, 343), QSize(347, 196), QSize(434, 156)})
            EXPECT_EQ(CentredOver(QRect(onScreen(main), main), dialog, screen), onScreen(dialog)) << main.width() << " " << dialog.width();
    // At the screen's edge, a dialog stays on the screen where it fits.
    EXPECT_EQ(CentredOver(QRect(500, 300, 284, 362), QSize(434, 156), screen), QPoint(206, 324));
    EXPECT_EQ(CentredOver(QRect(0, 0, 284, 362), QSize(700, 156), screen), QPoint(-208, 103));  // too wide: centred
}

} // namespace
