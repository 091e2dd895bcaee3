// The commands that never throw a game away unasked, the ways to any picture besides Open, the
// pause when away, and where the dialogs open.

#include "game/Settings.h"
#include "tests/windows/WindowTestSupport.h"
#include "windows/PictureCommands.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

namespace {

QByteArray Encoded(QColor colour, const char* format = "PNG")
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QMimeData* ImageData(const QByteArray& bytes, const QString& format = "image/png")
{
    auto* data = new QMimeData;
    data->setData(format, bytes);
    return data;
}

class CommandsTest : public TShownWindowTest {
protected:
    // What a No must leave as it was.
    auto GameShown() const
    {
        const TGame& game = form.Session().Game();
        return std::tuple(game.Running(), game.Moves(), game.Seconds(), game.Position(), form.windowTitle(), Item("N5x5")->isChecked(),
                          Item("N6x6")->isChecked());
    }
    QString Picture(const QString& name, QColor colour)
    {
        WriteFile(dir.filePath(name), Encoded(colour));
        return dir.filePath(name);
    }
    QColor Shown() const { return form.Session().Picture().pixelColor(0, 0); }
    // Drags the data onto the window and drops it there, if the window takes it.
    bool Drop(QMimeData* data)
    {
        const std::unique_ptr<QMimeData> owned(data);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(&form, &dropped);
        }
        QCoreApplication::processEvents();  // a question waits for the drop's end
        form.Session().WaitForWork();
        return enter.isAccepted();
    }
    QList<QAction*> Recent(TForm1& window) const
    {
        auto* menu = Part<QMenu>(window, "OpenRecent1");
        emit menu->aboutToShow();
        return menu->actions();
    }
    void PlayAMove()
    {
        form.Start();
        form.Session().MoveToward(TDirection::Right);
        clock.Advance(7000);
    }
};

TEST_F(CommandsTest, EveryCommandThatWouldEndAGameWithMovesAsksFirstWithItsMovesAndTimeAndNoChangesNothing)
{
    const QString sea = Picture("sea.png", Qt::darkCyan);
    TSettings(TSettings::DefaultPath()).AddRecentPicture(QFile::encodeName(sea));
    QApplication::clipboard()->setMimeData(ImageData(Encoded(Qt::red)));
    ScopedQuestions questions;  // No, unless told otherwise
    ScopedOpenFile open({sea});
    form.Start();
    Item("NewGame1")->trigger();  // no move yet: nothing to lose
    EXPECT_TRUE(questions.Asked().isEmpty());
    PlayAMove();
    const auto before = GameShown();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"New Game", [&] { QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier); }},
        {"a size", [&] { Item("N6x6")->trigger(); }},
        {"Open", [&] { form.Open1Click(); }},
        {"Open Recent", [&] { Recent(form).front()->trigger(); }},
        {"Built-in Picture", [&] { Item("BuiltinPicture1")->trigger(); }},
        {"Paste", [&] { QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier); }},
        {"a drop", [&] { EXPECT_TRUE(Drop(ImageData(Encoded(Qt::blue)))); }},
    };
    for (int asked = 1; const auto& [name, command] : commands) {
        command();
        form.Session().WaitForWork();
        EXPECT_EQ(questions.Asked().size(), asked++) << name;
        EXPECT_EQ(GameShown(), before) << name;
    }
    const TQuestion& question = questions.Asked().front();
    EXPECT_EQ(std::tuple(question.Text, question.Details, question.DontAskAgain, question.YesByDefault),
              std::tuple(QString("Прервать игру?"), QString("Ходов: 1. Время: 7 с."), QString("Больше не спрашивать"), true));

    // Yes: a fresh shuffle; and the other commands go on as they would have.
    questions.Answer({true, false});
    QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(form.Running(), form.Session().Game().Moves(), form.Seconds()), std::tuple(true, 0, 0));
    EXPECT_NE(form.Session().Game().Position(), std::get<3>(before));
    form.Session().MoveToward(TDirection::Right);
    questions.Answer({true, false});
    Item("N6x6")->trigger();
    EXPECT_EQ(std::tuple(form.Running(), form.BoardSize(), Item("N6x6")->isChecked()), std::tuple(false, 6, true));
}

TEST_F(CommandsTest, AYesWithDontAskAgainIsRememberedANoIsNotAndAGameGivenUpIsNeverAskedAbout)
{
    ScopedQuestions questions({{false, true}, {true, true}});
    PlayAMove();
    Item("N4x4")->trigger();
    EXPECT_EQ(std::pair(int(questions.Asked().size()), form.BoardSize()), std::pair(1, 5));  // a No stops nothing for good
    Item("N4x4")->trigger();
    EXPECT_EQ(std::pair(int(questions.Asked().size()), form.BoardSize()), std::pair(2, 4));
    PlayAMove();
    Item("N5x5")->trigger();
    EXPECT_EQ(std::pair(int(questions.Asked().size()), form.BoardSize()), std::pair(2, 5));
    EXPECT_FALSE(TSettings(TSettings::DefaultPath()).AskBeforeAbandoning());

    TSettings(TSettings::DefaultPath()).SetAskBeforeAbandoning(true);
    form.close();
    TForm1 next{clock};
    next.Start();
    next.Session().MoveToward(TDirection::Right);
    next.Session().Solve();
    Part<QAction>(next, "NewGame1")->trigger();
    EXPECT_EQ(std::pair(int(questions.Asked().size()), next.Session().Game().Moves()), std::pair(2, 0));
}

TEST_F(CommandsTest, ClearScoresAlwaysAsksNamingTheRecordsInTheFileAndNoKeepsItByteForByte)
{
    const QString file = form.Session().ScoreFile().Path();
    TScoreTable table;
    table.Place(4, "Anna", 12);
    table.Place(6, "Ivan", 95);
    WriteFile(file, table.ToFileText());  // another window's records, after this one read the file
    table.Place(6, "Olga", 99);
    const QByteArray bytes = table.ToFileText();
    WriteFile(file, bytes);
    ScopedQuestions questions({{false, false}, {true, false}});
    Item("ClearScores1")->trigger();
    ASSERT_EQ(questions.Asked().size(), 1);
    EXPECT_EQ(std::pair(questions.Asked()[0].Text, questions.Asked()[0].YesByDefault),
              std::pair(QString("Удалить из таблицы результатов все записи (3)?"), false));
    EXPECT_EQ(std::pair(ReadFile(file), form.Scores()), std::pair(bytes, table));
    Item("ClearScores1")->trigger();
    EXPECT_EQ(std::pair(ReadFile(file), form.Scores()), std::pair(TScoreTable().ToFileText(), TScoreTable()));
}

TEST_F(CommandsTest, OpenRecentListsThePicturesOpenedNewestFirstAfterARestartAndTellsOnceOfOneThatIsGone)
{
    ScopedErrorBoxes errors;
    ASSERT_TRUE(QDir(dir.path()).mkpath("one"));
    const QString a = Picture("one/a&b.png", Qt::red), b = Picture("b.png", Qt::green), c = Picture("c.png", Qt::blue);
    WriteFile(dir.filePath("bad.png"), "not a picture");
    for (const QString& path : {a, b, c, dir.filePath("bad.png")}) {
        form.OpenPicture(path);
        form.Session().WaitForWork();
    }
    EXPECT_EQ(errors.Messages().size(), 1);  // the bad one, which the list does not take
    form.close();

    TForm1 next{clock};
    next.show();
    QList<QAction*> items = Recent(next);
    QStringList names;
    for (const QAction* item : items)
        names << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(names, QStringList({"c.png", "b.png", "a&&b.png", "-", "&Clear List"}));
    // The folder is the hint of the item under the mouse.
    auto* menu = Part<QMenu>(next, "OpenRecent1");
    emit menu->hovered(items[2]);
    EXPECT_EQ(std::pair(Hint(menu), ShowHint(menu)), std::pair(dir.filePath("one"), true));
    emit menu->hovered(items[4]);
    EXPECT_FALSE(ShowHint(menu));

    items[1]->trigger();  // the second-last
    next.Session().WaitForWork();
    EXPECT_EQ(next.windowTitle(), QString("b.png  -  5 x 5"));
    ASSERT_TRUE(QFile::remove(a));
    Recent(next)[2]->trigger();
    next.Session().WaitForWork();
    EXPECT_EQ(std::pair(next.windowTitle(), int(errors.Messages().size())), std::pair(QString("b.png  -  5 x 5"), 2));
    EXPECT_TRUE(errors.Messages()[1].contains(a));
    EXPECT_EQ(TSettings(TSettings::DefaultPath()).RecentPictures(), QList<QByteArray>({QFile::encodeName(b), QFile::encodeName(c)}));

    Recent(next).back()->trigger();  // Clear List
    items = Recent(next);
    EXPECT_TRUE(items.size() == 2 && !items.back()->isEnabled());
    Part<QAction>(next, "BuiltinPicture1")->trigger();
    EXPECT_EQ(std::pair(next.windowTitle(), next.Session().PicturePath()), std::pair(QString("Mozik.bmp  -  5 x 5"), QByteArray()));
}

TEST_F(CommandsTest, OpenStartsInTheFolderOfTheLastPictureElseThePicturesFolderElseHomeWithNoNameFilledIn)
{
    ScopedOpenFile open({QString(), QString(), QString()});
    const QString pictures = dir.filePath("Bilder");
    WriteFile(dir.filePath("config/user-dirs.dirs"), ("XDG_PICTURES_DIR=\"" + pictures + "\"\n").toUtf8());
    form.Open1Click();
    EXPECT_EQ(open.LastFolder(), QDir::homePath());  // no such folder
    ASSERT_TRUE(QDir().mkpath(pictures));
    form.Open1Click();
    EXPECT_EQ(open.LastFolder(), pictures);
    form.OpenPicture(Picture("sea.png", Qt::darkCyan));
    form.Session().WaitForWork();
    form.Open1Click();
    EXPECT_EQ(std::pair(open.LastFolder(), open.LastDefaultName()), std::pair(dir.path(), QString()));
}

TEST_F(CommandsTest, PasteAndADropTakeACopiedFileOrImageDataByTheSameRulesAndSayWhenThereIsNoPicture)
{
    ScopedErrorBoxes errors;
    QClipboard* clipboard = QApplication::clipboard();
    const auto paste = [&] {
        QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
        form.Session().WaitForWork();
    };
    clipboard->setText("words");
    paste();
    EXPECT_EQ(errors.Messages(), QStringList{"В буфере обмена нет рисунка."});
    clipboard->setMimeData(ImageData(Encoded(Qt::red, "BMP"), "image/bmp"));
    paste();
    EXPECT_EQ(std::tuple(form.windowTitle(), Shown(), form.Session().PicturePath()),
              std::tuple(QString("Вставленный рисунок  -  5 x 5"), QColor(Qt::red), QByteArray()));
    QImage green(20, 20, QImage::Format_RGB32);
    green.fill(Qt::green);
    clipboard->setImage(green);  // a picture of this program's own, already decoded
    paste();
    EXPECT_EQ(Shown(), QColor(Qt::green));
    clipboard->setMimeData(ImageData(Encoded(Qt::blue).chopped(30)));
    paste();
    ASSERT_EQ(errors.Messages().size(), 2);
    EXPECT_TRUE(errors.Messages()[1].contains("«Вставленный рисунок»"));
    EXPECT_EQ(Shown(), QColor(Qt::green));
    auto* copied = new QMimeData;  // a file copied in a file manager
    copied->setUrls({QUrl::fromLocalFile(Picture("sea.png", Qt::darkCyan))});
    clipboard->setMimeData(copied);
    paste();
    EXPECT_EQ(form.windowTitle(), QString("sea.png  -  5 x 5"));

    // Dropped, image data (from a web browser, say) opens as a dropped file does; words do not.
    EXPECT_TRUE(Drop(ImageData(Encoded(Qt::yellow, "JPEG"), "image/jpeg")));
    EXPECT_EQ(std::pair(form.windowTitle(), Shown().name()), std::pair(QString("Вставленный рисунок  -  5 x 5"), QColor(Qt::yellow).name()));
    auto* words = new QMimeData;
    words->setText("words");
    EXPECT_FALSE(Drop(words));
    EXPECT_EQ(errors.Messages().size(), 2);
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
    EXPECT_TRUE(leave());
    EXPECT_EQ(Hint(Part(form, "SpeedButton4")), QString("Продолжить."));  // exactly as Pause leaves it
    Part<TSpeedButton>(form, "SpeedButton4")->click();  // the player goes on with Pause
    EXPECT_FALSE(form.Paused());
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

TEST_F(CommandsTest, DialogsAndMessageBoxesOpenCentredOnTheMainWindowWhereverItIs)
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
    // The desktop's question box, answered with the box ticked.
    ModalDriver driver;
    driver.Expect([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box && box->checkBox());
        EXPECT_EQ(std::tuple(middle(*box), box->text(), box->checkBox()->text(), box->defaultButton() == box->button(QMessageBox::No)),
                  std::tuple(middle(form), QString("Question?"), QString("Never"), true));
        box->checkBox()->setChecked(true);
        box->button(QMessageBox::Yes)->click();
    });
    const QuestionBoxFunction unanswered = SetQuestionBoxFunction(nullptr);  // the desktop's own box
    const TAnswer answer = AskQuestion(&form, {"Question?", "Details.", "Never", false});
    SetQuestionBoxFunction(unanswered);
    EXPECT_TRUE(answer.Yes && answer.DontAskAgain);
}

TEST(DialogPlacement, OnA640By480ScreenADialogCentredOnTheMainWindowLandsWhereCentringOnTheScreenPutsIt)
{
    const QRect screen(0, 0, 640, 480);
    const auto onScreen = [](QSize frame) { return QPoint(319 - frame.width() / 2, 239 - frame.height() / 2); };
    // The 5 x 5 main window, 276 x 316 under a menu bar, in frames of either parity; the score
    // dialog, the About box and the result dialog in theirs.
    for (const QSize main : {QSize(284, 362), QSize(283, 361)})
        for (const QSize dialog : {QSize(398, 343), QSize(347, 196), QSize(434, 156)})
            EXPECT_EQ(CentredOver(QRect(onScreen(main), main), dialog, screen), onScreen(dialog)) << main.width() << " " << dialog.width();
    // Which for the result dialog is not its old place, 220, 141: that was no centring.
    EXPECT_EQ(CentredOver(QRect(onScreen(QSize(284, 362)), QSize(284, 362)), QSize(434, 156), screen), QPoint(102, 161));
    // A main window at the screen's edge: the dialog stays on the screen where it fits.
    EXPECT_EQ(CentredOver(QRect(500, 300, 284, 362), QSize(434, 156), screen), QPoint(206, 324));
    EXPECT_EQ(CentredOver(QRect(0, 0, 284, 362), QSize(700, 156), screen), QPoint(-208, 103));  // too wide: centred
}

} // namespace
