// The main window keeps its game in progress as it closes, by Exit or otherwise, without a
// question, and the next window takes it up again, paused, as it was left.

#include "tests/windows/WindowTestSupport.h"
#include "windows/GameKeeping.h"

namespace {

class KeptWindowTest : public TWindowTest {
protected:
    KeptWindowTest() { form.FinishStart(); }

    // A window of the next run, the kept game taken up.
    static std::unique_ptr<TForm1> NextWindow(TManualClock& clock)
    {
        auto window = std::make_unique<TForm1>(clock);
        window->FinishStart();
        EXPECT_TRUE(window->findChild<TGameKeeping*>()->Resume());
        return window;
    }
    static TGameRecord Played(const TForm1& window) { return window.Session().Game().Record(); }

    const QString kept = dir.filePath("state/Mozik/game");
};

TEST_F(KeptWindowTest, ExitAndTheCloseKeepTheGameAndTheNextWindowTakesItUpPausedWithItsSwitch)
{
    Item("KeepProportions1")->trigger();
    form.Start();
    clock.Advance(5000);
    Click(24);
    const TGameRecord left = Played(form);
    form.Exit();  // never asks: a question would stand here with no one to answer it
    ASSERT_TRUE(QFile::exists(kept));
    TGameRecord later;
    {
        const std::unique_ptr<TForm1> again = NextWindow(clock);
        EXPECT_EQ(std::tuple(Played(*again), again->Paused(), Part<QAction>(*again, "KeepProportions1")->isChecked(),
                             Part<TFxLabel>(*again, "Label1")->Caption(), Hint(Part(*again, "SpeedButton4"))),
                  std::tuple(left, true, true, QString("Время : 5"), QString("Продолжить.")));
        again->SpeedButton4Click();
        clock.Advance(2000);
        QTest::mouseClick(Part<TBoardPanel>(*again, "Panel1")->TileAt(19), Qt::LeftButton, {}, QPoint(3, 3));
        later = Played(*again);
        again->close();  // the title bar's close, Alt+F4
    }
    EXPECT_EQ(std::pair(later.Seconds, later.History.size()), std::pair(7, std::size_t(2)));
    const QByteArray kept2 = ReadFile(kept);
    {
        TForm1 idle(clock);  // a window with no game in progress leaves the kept game as it is
        idle.close();
    }
    EXPECT_EQ(ReadFile(kept), kept2);
    EXPECT_EQ(Played(*NextWindow(clock)), later);
}

} // namespace
