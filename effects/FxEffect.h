#pragma once
// The transition effect painter. DrawFxEffect copies a picture from a source canvas onto a
// destination box by box, in one of the numbered orders 1 to 41, or in one piece (effect 0).
// It knows nothing of widgets: every copy goes to a destination the moment it is made, so a
// canvas receives the picture directly, a control can record the copies and play them over
// several frames, and a test can list them.

#include "framework/Canvas.h"
#include "framework/Random.h"
#include "framework/Rect.h"

#include <QString>
#include <vector>

constexpr int kFxLastEffect = 41;

// Receives the painter's copies, one call per copy, in the painter's order.
class TFxDestination {
public:
    virtual ~TFxDestination() = default;
    // Copies src of the source onto dest; the sizes differ only for the strips of "Screen Drip",
    // which are stretched.
    virtual void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src) = 0;
};

// Draws every copy onto a canvas at once.
class TCanvasDestination final : public TFxDestination {
public:
    explicit TCanvasDestination(TCanvas& canvas) : canvas_(canvas) {}
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src) override;

private:
    TCanvas& canvas_;
};

struct TFxCopy {
    TRect Dest;
    TRect Src;
    friend bool operator==(const TFxCopy&, const TFxCopy&) = default;
};

// Lists the copies instead of drawing them.
class TFxRecorder final : public TFxDestination {
public:
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src) override;
    std::vector<TFxCopy> Copies;
};

// The grid of boxes over a clip rectangle. It spans one pixel more than the rectangle each way
// (Wp x Hp); the last column and row are narrower when Wp or Hp is not a multiple of the box
// width. Columns and rows are numbered from 1.
struct TFxGrid {
    int Wp = 0;
    int Hp = 0;
    int NX = 0;
    int NY = 0;
    int BoxWidth = 0;

    TRect Box(int column, int row) const;
    TRect Strip(int row) const;  // the whole width of one row
};

TFxGrid MakeFxGrid(const TRect& clip, int boxWidth);

// Fractions of a count where the effects split the grid, rounded to the nearest integer with
// halves to the even neighbour: FxHalf(5) = 2, FxHalf(7) = 4.
int FxHalf(int count);
int FxQuarter(int count);
int FxThird(int count);

// Copies the source's picture (its clip rectangle) onto the destination with the given effect
// and returns after the last copy. Effects above 41, and box widths below 1, draw nothing.
// The two random effects (34, 35) draw their order from `random`.
void DrawFxEffect(int effect, const TCanvas& source, TFxDestination& destination, int boxWidth, TRandom& random);
void DrawFxEffect(int effect, const TCanvas& source, TCanvas& destination, int boxWidth, TRandom& random);

// The effects' names ("Left To Right") and group captions ("Typical"); empty past 41.
QString FxEffectName(int effect);
QString FxEffectGroup(int effect);
// "5 pixels box" for the named box widths 2, 5, 8, 10 and 15; empty for the others.
QString FxBoxWidthName(int boxWidth);
