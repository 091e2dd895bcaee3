#include "framework/Hints.h"
#include "framework/Image.h"
#include "game/ScoreTable.h"
#include "game/Unit1.h"
#include "game/Unit3.h"
#include "tests/game/Solver.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form1 = &form;
        Form2 = &result;
    }
    void TearDown() override
    {
        Form1 = nullptr;
        Form2 = nullptr;
    }

    // Shows the result dialog for a game of `seconds` on an N x N board; `answer` runs while it
    // is open and must close it.
    void ShowResult(int n, int seconds, std::function<void(TForm2&)> answer)
    {
        form.BoardSize = n;
        form.Seconds = seconds;
        result.Label2->setText(QString::number(seconds));
        ModalDriver driver;
        driver.Expect([&](QWidget*) { answer(result); });
        result.exec();
        EXPECT_EQ(driver.Handled(), 1);
        EXPECT_EQ(driver.Unexpected(), 0);
    }

    QByteArray ScoreFileText() const
    {
        QFile file(form.ScoreFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};
    TForm1 form;
    TForm2 result{&form};
};

TEST_F(DialogsTest, ResultDialogFollowsItsLayout)
{
    EXPECT_EQ(result.windowTitle(), QString("Message"));
    EXPECT_EQ(result.size(), QSize(426, 129));
    EXPECT_EQ(result.pos(), QPoint(220, 141));
    EXPECT_EQ(result.Edit1->geometry(), QRect(176, 64, 233, 24));
    EXPECT_EQ(result.Edit1->maxLength(), 35);
    EXPECT_EQ(result.Button1->geometry(), QRect(176, 96, 75, 25));
    EXPECT_EQ(result.Button1->text(), QString("Ok"));
    EXPECT_EQ(result.Label1->text(), QString("Вы собрали картинку за "));
    EXPECT_EQ(result.Label2->geometry(), QRect(256, 32, 41, 20));
    EXPECT_EQ(result.Label3->text(), QString("секунд(ы) ."));
    EXPECT_EQ(result.Label4->text(), QString("Введите выше имя :"));
    EXPECT_EQ(Hint(result.Edit1), QString("Наберите фамилию, имя и т. д."));
    EXPECT_EQ(Hint(result.Button1), QString("Закрыть."));
    EXPECT_TRUE(ShowHint(result.Edit1) && ShowHint(result.Button1));
    QWidget* next = result.Edit1->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
    EXPECT_EQ(next, result.Button1);
}

TEST_F(DialogsTest, ANameIsTakenOnlyWhenTheTimeQualifies)
{
    for (int place = 1; place <= 10; ++place)
        form.Scores.Entry(7, place) = {"p", 10 * place};
    ShowResult(7, 101, [](TForm2& dialog) {
        EXPECT_FALSE(dialog.Edit1->isEnabled());
        EXPECT_FALSE(dialog.Label4->isEnabled());
        EXPECT_EQ(dialog.focusWidget(), dialog.Button1);  // the first control that can take it
        dialog.Button1->click();
    });
    EXPECT_EQ(form.Scores.Entry(7, 10).Time, 100);
    ShowResult(7, 100, [](TForm2& dialog) {
        EXPECT_TRUE(dialog.Edit1->isEnabled());
        EXPECT_TRUE(dialog.Label4->isEnabled());
        EXPECT_EQ(dialog.focusWidget(), dialog.Button1);  // back where it was at closing
        QTest::keyClicks(dialog.Edit1, "Vera");
        dialog.Button1->click();
    });
    EXPECT_EQ(form.Scores.Entry(7, 10), (TScoreEntry{"Vera", 100}));
}

TEST_F(DialogsTest, ARecordIsInTheFileAtOnceAndTiesGoBelowIt)
{
    form.Scores.Entry(5, 1) = {"a", 30};
    form.Scores.Entry(5, 2) = {"b", 40};
    form.Scores.Entry(5, 3) = {"c", 40};
    form.Scores.Entry(5, 4) = {"d", 50};
    ShowResult(5, 40, [](TForm2& dialog) {
        TypeText(dialog.Edit1, "Иван");
        QTest::keyClick(dialog.Edit1, Qt::Key_Return);  // Enter in the box records too
    });
    EXPECT_FALSE(result.isVisible());
    EXPECT_EQ(form.Scores.Entry(5, 2), (TScoreEntry{EncodeName("Иван"), 40}));
    EXPECT_EQ(form.Scores.Entry(5, 3).Name, QByteArray("b"));
    EXPECT_EQ(form.Scores.Entry(5, 5).Name, QByteArray("d"));
    EXPECT_EQ(ScoreFileText(), form.Scores.ToFileText());  // saved without waiting for Exit
}

TEST_F(DialogsTest, AnEmptyNameOrTheCloseButtonRecordsNothing)
{
    ShowResult(4, 33, [](TForm2& dialog) {
        EXPECT_EQ(dialog.focusWidget(), dialog.Edit1);  // first showing: the name box
        dialog.Button1->click();
    });
    EXPECT_EQ(form.Scores, TScoreTable());
    ShowResult(4, 33, [](TForm2& dialog) {
        QTest::keyClicks(dialog.Edit1, "Anna");
        dialog.close();  // the title bar's close button
    });
    EXPECT_EQ(form.Scores, TScoreTable());
}

TEST_F(DialogsTest, EnteringTheNameBoxNeverRecordsTheLastPlayersName)
{
    ShowResult(4, 50, [](TForm2& dialog) {
        QTest::keyClicks(dialog.Edit1, "Anna");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);  // the focus moves to the button
    });
    ASSERT_EQ(form.Scores.Entry(4, 1).Name, QByteArray("Anna"));
    ShowResult(4, 40, [this](TForm2& dialog) {
        // The box keeps the last name; the focus is back on the button that closed the dialog.
        EXPECT_EQ(dialog.Edit1->text(), QString("Anna"));
        EXPECT_EQ(dialog.focusWidget(), dialog.Button1);
        QTest::mouseClick(dialog.Edit1, Qt::LeftButton);
        dialog.Edit1->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(form.Scores.Entry(4, 1).Time, 50);  // nothing recorded by entering the box
        dialog.Edit1->selectAll();
        QTest::keyClicks(dialog.Edit1, "Boris");
        dialog.Button1->click();
    });
    EXPECT_EQ(form.Scores.Entry(4, 1), (TScoreEntry{"Boris", 40}));
    EXPECT_EQ(form.Scores.Entry(4, 2), (TScoreEntry{"Anna", 50}));
}

TEST_F(DialogsTest, TheNameBoxTakesNoLineBreaksAndOnlyWhatTheFileCanHold)
{
    ShowResult(6, 95, [](TForm2& dialog) {
        QApplication::clipboard()->setText(QString::fromUtf8("Иван\r\nПетров 中"));
        dialog.Edit1->setFocus();
        QTest::keySequence(dialog.Edit1, QKeySequence::Paste);
        EXPECT_EQ(dialog.Edit1->text(), QString::fromUtf8("Иван  Петров "));
        QTest::keyClicks(dialog.Edit1, QString(36, QLatin1Char('x')));
        EXPECT_EQ(dialog.Edit1->text().size(), 35);
        dialog.Button1->click();
    });
    const QList<QByteArray> lines = ScoreFileText().split('\n');
    EXPECT_EQ(lines.size(), 81);  // still 80 lines, each ended by CR LF
    EXPECT_TRUE(lines[40].startsWith(EncodeName("Иван  Петров ")));
    EXPECT_EQ(lines[41], QByteArray("95\r"));
}

} // namespace
