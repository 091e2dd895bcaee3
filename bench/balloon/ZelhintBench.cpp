// The cost of placing a hint, of drawing its balloon (it grows with the balloon's perimeter and
// its text), and of a whole hint from activation to the painted window.

#include "framework/Application.h"
#include "balloon/HintBalloon.h"
#include "balloon/HintPlacement.h"
#include "balloon/Zelhint.h"

#include <QCursor>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

const THintLook kLook{clBtnFace, clGray, MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true)};

void BM_PlaceHint(benchmark::State& state)
{
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % 1920;
        benchmark::DoNotOptimize(PlaceHint({x, 5}, QSize(66, 18), QSize(1920, 1080), THintDirection::hdUpRight));
    }
}
BENCHMARK(BM_PlaceHint);

// A balloon of the given window width and height, with a text of one word.
void BM_PaintBalloon(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    QImage screen(w, h, QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::darkGreen);
    for (auto _ : state) {
        QImage picture = screen.copy();
        PaintBalloon(picture, THintDirection::hdUpRight, QStringLiteral("Перемешать."), kLook);
        benchmark::DoNotOptimize(picture.bits());
    }
    state.counters["pixels"] = double(w) * h;
}
BENCHMARK(BM_PaintBalloon)->Args({82, 38})->Args({300, 100})->Args({1000, 400})->Unit(benchmark::kMicrosecond);

// Activation (placement, screen copy, showing the window) and the paint that composes the balloon.
void BM_ActivateAndPaint(benchmark::State& state)
{
    QWidget form;
    form.setGeometry(100, 100, 300, 200);
    SetMainForm(&form);
    auto* manager = new TZelHint(&form);
    manager->SetHintColor(clBtnFace);
    manager->SetHintShadowColor(clGray);
    manager->SetHintFont(kLook.Font);
    auto* window = qobject_cast<TNewHint*>(HintWindow());
    QCursor::setPos(400, 300);
    for (auto _ : state) {
        window->ActivateHint(Bounds(400, 320, 110, 21), QStringLiteral("Перемешать."));
        benchmark::DoNotOptimize(window->grab());
    }
    window->hide();
    SetMainForm(nullptr);
}
BENCHMARK(BM_ActivateAndPaint)->Unit(benchmark::kMicrosecond);

} // namespace
