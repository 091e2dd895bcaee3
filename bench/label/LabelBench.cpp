// Cost of one paint of an effect label, next to one plain drawing of the same caption on a
// surface of the same size, for the result dialog's caption, a large label with real layers and
// a gradient, turned text and upright letters.

#include "framework/Bitmap.h"
#include "label/LblEffct.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QString kCaption = QStringLiteral("Поздравляю !!!");

std::unique_ptr<TLabelEffect> ResultCaption()
{
    auto label = std::make_unique<TLabelEffect>();
    label->setGeometry(120, 0, 198, 33);
    label->SetColourShadow(clRed);
    label->SetGraduateFrom(clWindowText);
    label->SetColourScheme(csCustom);
    label->SetAlignment(taCenter);
    label->SetCaption(kCaption);
    label->SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));
    return label;
}

std::unique_ptr<TLabelEffect> LargeRealLabel()
{
    auto label = ResultCaption();
    label->resize(600, 200);
    label->SetDepthShadow(10);
    label->SetDepthHighlight(10);
    label->SetStyleShadow(eoReal);
    label->SetStyleHighlight(eoReal);
    label->SetGraduateFrom(clBlue);
    label->SetGraduateFace(goVertical);
    label->SetFont(MakeFont(QStringLiteral("Times New Roman"), 60, clSilver));
    return label;
}

std::unique_ptr<TLabelEffect> AngledLabel(bool upright)
{
    auto label = ResultCaption();
    label->resize(300, 300);
    label->SetAngle(45);
    label->SetKeepLettersVertical(upright);
    return label;
}

void PaintLabel(benchmark::State& state, const TLabelEffect& label)
{
    TBitmap surface(label.width(), label.height());
    for (auto _ : state) {
        label.Paint(surface.Canvas());
        benchmark::DoNotOptimize(surface.Image().constBits());
    }
}

// The plain reference: the caption drawn once, unturned or turned as the label would.
void PlainText(benchmark::State& state, const TLabelEffect& label, int escapement)
{
    TBitmap surface(label.width(), label.height());
    TCanvas& canvas = surface.Canvas();
    canvas.Font = label.Font();
    canvas.Font.Smooth = false;
    canvas.Font.Escapement = escapement;
    canvas.Brush.Style = TBrushStyle::bsClear;
    for (auto _ : state) {
        if (escapement == 0) {
            TRect rect = canvas.ClipRect();
            canvas.DrawText(label.Caption(), rect, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
        } else {
            canvas.TextOut(40, 150, label.Caption());
        }
        benchmark::DoNotOptimize(surface.Image().constBits());
    }
}

void BM_ResultCaption_Paint(benchmark::State& state) { PaintLabel(state, *ResultCaption()); }
void BM_ResultCaption_PlainText(benchmark::State& state) { PlainText(state, *ResultCaption(), 0); }
void BM_LargeRealGradient_Paint(benchmark::State& state) { PaintLabel(state, *LargeRealLabel()); }
void BM_LargeRealGradient_PlainText(benchmark::State& state) { PlainText(state, *LargeRealLabel(), 0); }
void BM_Turned45_Paint(benchmark::State& state) { PaintLabel(state, *AngledLabel(false)); }
void BM_Turned45_PlainText(benchmark::State& state) { PlainText(state, *AngledLabel(false), 450); }
void BM_UprightLetters45_Paint(benchmark::State& state) { PaintLabel(state, *AngledLabel(true)); }
void BM_UprightLetters45_PlainText(benchmark::State& state) { PlainText(state, *AngledLabel(true), 0); }

} // namespace

BENCHMARK(BM_ResultCaption_Paint);
BENCHMARK(BM_ResultCaption_PlainText);
BENCHMARK(BM_LargeRealGradient_Paint);
BENCHMARK(BM_LargeRealGradient_PlainText);
BENCHMARK(BM_Turned45_Paint);
BENCHMARK(BM_Turned45_PlainText);
BENCHMARK(BM_UprightLetters45_Paint);
BENCHMARK(BM_UprightLetters45_PlainText);
