#include "tests/windows/WindowTestSupport.h"
#include "windows/GameKeeping.h"

namespace {

class KeptWindowTest : public TWindowTest {
protected:
    KeptWindowTest() { form.FinishStart(); }

    // A window of the next run, the kept game taken up.
    std::unique_ptr<TForm1> NextWindow()
    {
        auto window = std::make_unique<TForm1>(clock);
        EXPECT_TRUE(window->findChild<TGameKeeping*>()->Resume());
        return window;
    }
};

TEST_F(KeptWindowTest, ExitAndTheCloseKeepTheGameAndTheNextWindowTakesItUpPausedWithItsSwitch)
{
    Item("KeepProportions1")->trigger();
    form.Start();
    clock.Advance(5000);
    Click(24);
    const TGameRecord left = form.Session().Game().Record();
    form.Exit();  // never asks: a question would stand here with no one to answer it
    std::unique_ptr<TForm1> again = NextWindow();
    EXPECT_EQ(std::tuple(again->Session().Game().Record(), again->Paused(), Part<QAction>(*again, "KeepProportions1")->isChecked(),
                         Part<TFxLabel>(*again, "Label1")->Caption(), Hint(Part(*again, "SpeedButton4"))),
              std::tuple(left, true, true, QString("Время : 5"), QString("Продолжить.")));
    again->SpeedButton4Click();
    clock.Advance(2000);
    again->close();  // the title bar's close, Alt+F4
    again.reset();
    EXPECT_EQ(NextWindow()->Seconds(), 7);
}

} // namespace
