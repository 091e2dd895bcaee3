// The main window: building the board from the built-in and from a large picture, the sharp cut
// of a full-screen board, Start, moves drawn by the window, and a change of language with the
// main window and its three dialogs open.

#include "framework/Clock.h"
#include "framework/Language.h"
#include "windows/BoardPanel.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

QImage LargePicture()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    return image;
}

void FieldCreate(benchmark::State& state, bool large)
{
    TManualClock clock;
    TForm1 form(clock);
    if (large)
        form.Session().SetPicture(LargePicture(), "large.png");
    form.Session().NewBoard(int(state.range(0)));
    for (auto _ : state) {
        form.FieldDestroy();
        form.FieldCreate();
    }
}

void BM_FieldCreateBuiltin(benchmark::State& state) { FieldCreate(state, false); }
void BM_FieldCreateLarge(benchmark::State& state) { FieldCreate(state, true); }
BENCHMARK(BM_FieldCreateBuiltin)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldCreateLarge)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond);

// The sharp cut of a full-screen board on a 1920 x 1200 screen, from a picture as the game keeps
// it (its shorter side the screen's height): two sizes in turn, each cut once settled.
void BM_SharpCutFullScreen(benchmark::State& state)
{
    TManualClock clock;
    TBoardPanel board(nullptr, clock);
    board.resize(1920, 1142);
    board.Build(int(state.range(0)), TBitmap(LargePicture().scaled(1600, 1200)));
    for (auto _ : state) {
        for (const QSize size : {QSize(1900, 1120), QSize(1920, 1142)}) {
            board.resize(size);
            board.Arrange();  // the panel is not shown: no resize event
            clock.Advance(100);
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);  // cuts
}
// English and back: every window puts its texts in the language (its LanguageChange events).
void BM_LanguageChange(benchmark::State& state)
{
    TManualClock clock;
    TForm1 form(clock);
    TAbout about(&form);
    TForm2 result(&form);
    TForm3 scores(&form);
    for (QWidget* window : {static_cast<QWidget*>(&form), static_cast<QWidget*>(&about), static_cast<QWidget*>(&result),
                            static_cast<QWidget*>(&scores)})
        window->show();
    QApplication::processEvents();
    for (auto _ : state) {
        for (const TLanguage language : {TLanguage::English, TLanguage::Russian}) {
            UseLanguage(language);
            QApplication::processEvents();
        }
    }
    UseLanguage(TLanguage::Automatic);
    state.SetItemsProcessed(state.iterations() * 2);  // changes
}
BENCHMARK(BM_LanguageChange)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SharpCutFullScreen)->Arg(4)->Arg(5)->Arg(7)->Unit(benchmark::kMillisecond);

void BM_Start(benchmark::State& state)
{
    TManualClock clock;
    TForm1 form(clock);
    form.Session().NewBoard(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        form.Session().NewBoard(int(state.range(0)));
        state.ResumeTiming();
        form.Start();
    }
}
BENCHMARK(BM_Start)->Arg(4)->Arg(7)->Unit(benchmark::kMicrosecond);

// 10,000 legal moves clicked on a 5 x 5 board, each drawn and checked for completion.
void BM_TenThousandClickedMoves(benchmark::State& state)
{
    TManualClock clock;
    TForm1 form(clock);
    const auto* board = form.findChild<TBoardPanel*>(QStringLiteral("Panel1"));
    TRandom random(7);
    for (auto _ : state) {
        state.PauseTiming();
        form.Session().NewBoard(5);
        form.Start();
        state.ResumeTiming();
        for (int move = 0; move < 10000; ++move) {
            if (!form.Running())
                form.Start();
            const int n = form.BoardSize();
            const int candidates[] = {GapPos - 1, GapPos + 1, GapPos - n, GapPos + n};
            for (int offset = random.Random(4), tries = 0; tries < 4; ++tries) {
                const int p = candidates[(offset + tries) % 4];
                if (p >= 1 && p <= n * n && StepTowardGap(p, GapPos, n)) {
                    form.Move(board->TileAt(p));
                    break;
                }
            }
        }
    }
}
BENCHMARK(BM_TenThousandClickedMoves)->Unit(benchmark::kMillisecond);

} // namespace
