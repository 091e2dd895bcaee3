#include "tests/windows/WindowTestSupport.h"

namespace {

class DialogsTest : public ::testing::Test {
protected:
    DialogsTest()
    {
        QObject::connect(&result, &TForm2::NameEntered, [this](const QString& name) { names << name; });
    }

    QStringList Row(int i) const { return {scores.FxLabel(i)->Caption(), scores.FxLabel(i + 10)->Caption()}; }

    // Shows the result dialog for a game of `seconds` on an N x N board against `table`;
    // `answer` runs while it is open and must close it.
    void ShowResult(const TScoreTable& table, int n, int seconds, const std::function<void(TForm2&)>& answer)
    {
        result.Present(table, n, seconds);
        ExecAnswered(result, [&] { answer(result); });
    }

    TForm2 result;
    TForm3 scores;
    TAbout about;
    QStringList names;  // what the result dialog handed on
};

TEST_F(DialogsTest, ANameOfAtMost35LettersIsHandedOnByOkOrEnterOnlyForAPlaceEarnedWithoutAHint)
{
    const TScoreTable empty;
    ShowResult(empty, 4, 33, [](TForm2& dialog) {
        EXPECT_TRUE(dialog.focusWidget() == dialog.Edit1 && !dialog.Label5->isVisible());  // first showing: the name box
        dialog.Button1->click();  // an empty name: closes, hands nothing on
    });
    ShowResult(empty, 4, 33, [](TForm2& dialog) {
        QTest::keyClicks(dialog.Edit1, "Anna");
        dialog.close();  // the title bar's close button hands nothing on either
    });
    EXPECT_TRUE(names.isEmpty());

    TScoreTable full;
    for (int place = 1; place <= 10; ++place)
        full.Entry(7, place) = {"p", 10 * place};
    EXPECT_TRUE(ColoursOf(result.Label4->grab().toImage()).count(clBlack));  // the name label while a name may be entered
    ShowResult(full, 7, 101, [&](TForm2& dialog) {
        EXPECT_FALSE(dialog.Edit1->isEnabled() || dialog.Label4->isEnabled());  // greyed, as told end to end
        EXPECT_EQ(dialog.focusWidget(), dialog.Button1);  // the first control that can take it
        dialog.Button1->click();
    });
    EXPECT_TRUE(names.isEmpty());
    ShowResult(full, 7, 100, [this](TForm2& dialog) {
        // Focus back where it was at closing.
        EXPECT_TRUE(dialog.Edit1->isEnabled() && dialog.Label4->isEnabled() && dialog.focusWidget() == dialog.Button1);
        EXPECT_EQ(dialog.Edit1->text(), QString("Anna"));  // the box keeps its text ...
        QTest::mouseClick(dialog.Edit1, Qt::LeftButton);
        dialog.Edit1->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(dialog.isVisible() && names.isEmpty());  // ... and entering it hands nothing on
        QTest::keyClicks(dialog.Edit1, QString(36, QLatin1Char('x')));  // 35 characters at most
        QTest::keyClick(dialog.Edit1, Qt::Key_Return);  // Enter in the box hands the name on
    });
    EXPECT_FALSE(result.isVisible());
    EXPECT_EQ(names, QStringList({"Anna" + QString(31, QLatin1Char('x'))}));

    // A game won with a hint takes no place, and a line beside no other says why.
    result.Present(empty, 4, 33, true);
    ExecAnswered(result, [&] {
        EXPECT_TRUE(!result.Edit1->isEnabled() && !result.Label4->isEnabled() && result.Label5->isVisible());
        for (const QWidget* other : result.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other == result.Label5 || !other->geometry().intersects(result.Label5->geometry())) << other->objectName().toStdString();
        result.Button1->click();
    });
}

TEST_F(DialogsTest, EachDialogFollowsItsLayoutAndTheScoreDialogOpensOnTheBoardInPlayAndBrowsesBySize)
{
    EXPECT_EQ(std::tuple(result.size(), about.size(), about.FxImage1->geometry(), scores.size()),  // the about box by its portrait
              std::tuple(QSize(426, 129), QSize(339, 169), QRect(24, 16, 120, 136), QSize(390, 316)));

    TScoreTable table;
    table.Place(4, "Anna", 12);
    table.Place(6, EncodeName("Иван"), 95);
    scores.Present(table, 6);
    ExecAnswered(scores, [&] {
        EXPECT_TRUE(scores.focusWidget() == scores.Button1 && scores.TabSet1->TabIndex() == 2);
        EXPECT_EQ(Row(1) + Row(2), QStringList({"Иван", "95", "Неизвестный", "0"}));
        // The selected tab is open to the page above it (the tabs' face colour: tests/e2e/finish.sh).
        const QImage strip = scores.TabSet1->grab().toImage();
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(PixelAt(strip, scores.TabSet1->tabRect(k).center().x(), 0), k == 2 ? kTestBtnFace : kTestBtnShadow)
                << k;
        QTest::mouseClick(scores.TabSet1, Qt::LeftButton, {}, scores.TabSet1->tabRect(0).center());
        EXPECT_EQ(std::pair(scores.TabSet1->TabIndex(), Row(1)), std::pair(0, QStringList({"Anna", "12"})));
        scores.TabSet1->SetTabIndex(3);
        scores.Button1->click();
    });
    // On a 1 x 1 board it opens on the tab it showed last.
    scores.Present(table, 1);
    ExecAnswered(scores, [&] {
        EXPECT_EQ(std::pair(scores.TabSet1->TabIndex(), Row(1)), std::pair(3, QStringList({"Неизвестный", "0"})));
        scores.Button1->click();
    });
}

} // namespace
