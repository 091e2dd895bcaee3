// Every effect onto a canvas, on the About picture's size with box width 2 and on a full-HD
// picture with box width 8. Effect 0 is one whole-picture copy: the floor that each effect is
// compared with. The counter gives the painter's copies per second.

#include "effects/FxEffect.h"
#include "framework/Bitmap.h"

#include <benchmark/benchmark.h>

namespace {

class CountingDestination final : public TFxDestination {
public:
    explicit CountingDestination(TCanvas& canvas) : canvas_(canvas) {}
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src) override
    {
        ++Copies;
        canvas_.CopyRect(dest, source, src);
    }
    std::int64_t Copies = 0;

private:
    TCanvas& canvas_;
};

TBitmap Picture(int width, int height)
{
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Canvas().SetPixel(x, y, RGB(x, y, x ^ y));
    return picture;
}

void BM_Effect(benchmark::State& state)
{
    const int effect = int(state.range(0)), width = int(state.range(1)), height = int(state.range(2));
    const int boxWidth = int(state.range(3));
    const TBitmap source = Picture(width, height);
    TBitmap destination(width, height);
    std::int64_t copies = 0;
    TRandom random(1);
    for (auto _ : state) {
        CountingDestination counting(destination.Canvas());
        DrawFxEffect(effect, source.Canvas(), counting, boxWidth, random);
        copies += counting.Copies;
        benchmark::ClobberMemory();
    }
    state.counters["copies"] = benchmark::Counter(double(copies), benchmark::Counter::kIsRate);
    state.SetLabel(FxEffectName(effect).toStdString());
}

void EffectArguments(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"effect", "width", "height", "box"});
    for (int effect = 0; effect <= kFxLastEffect; ++effect) {
        benchmark->Args({effect, 120, 136, 2});
        benchmark->Args({effect, 1920, 1080, 8});
    }
}

BENCHMARK(BM_Effect)->Apply(EffectArguments)->Unit(benchmark::kMicrosecond);

} // namespace
