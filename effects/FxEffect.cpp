#include "effects/FxEffect.h"

#include "framework/Random.h"
#include "framework/Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct EffectName {
    const char* Name;
    const char* Group;
};

constexpr std::array<EffectName, kFxLastEffect + 1> kEffectNames{{
    {"No effect", "Typical"},
    {"Left To Right", "Typical"},
    {"Right To Left", "Typical"},
    {"Top To Bottom", "Typical"},
    {"Bottom To Top", "Typical"},
    {"Horizontal Wipe In", "Typical"},
    {"Horizontal Wipe Out", "Typical"},
    {"Vertical Wipe In", "Typical"},
    {"Vertical Wipe Out", "Typical"},
    {"Horizontal Interlace", "Complex"},
    {"Vertical Interlace", "Complex"},
    {"Horizontal Double Pass", "Complex"},
    {"Vertical Double Pass", "Complex"},
    {"Horizontal Double Pass 2", "Complex"},
    {"Vertical Double Pass 2", "Complex"},
    {"Vertical Blind", "Complex"},
    {"Horizontal Blind", "Complex"},
    {"Double Blind", "Complex"},
    {"Diagonal TL-BR", "Diagonal"},
    {"Diagonal BL-TR", "Diagonal"},
    {"Diagonal TR-BL", "Diagonal"},
    {"Diagonal BR-TL", "Diagonal"},
    {"Double Diagonal TL-BR", "Diagonal"},
    {"Double Diagonal TR-BL", "Diagonal"},
    {"Diagonal Out TL-BR", "Diagonal"},
    {"Diagonal Out TR-BL", "Diagonal"},
    {"Diagonal Quad", "Diagonal"},
    {"Vertical Stripes", "Stripes"},
    {"Horizontal Stripes", "Stripes"},
    {"Vertical Big Stripes", "Stripes"},
    {"Horizontal Big Stripes", "Stripes"},
    {"Kaleidoscope", "Stripes"},
    {"Double Wipe Out", "Stripes"},
    {"Double Wipe In", "Stripes"},
    {"Random Lines", "Special"},
    {"Random Block", "Special"},
    {"Checkerboard", "Special"},
    {"Screen Drip", "Special"},
    {"Spray", "Special"},
    {"Swirl In", "Special"},
    {"Horizontal Snake", "Special"},
    {"Vertical Snake", "Special"},
}};

constexpr std::array<int, 5> kNamedBoxWidths{2, 5, 8, 10, 15};

// A box position: column I, row J.
struct Point {
    int I = 0;
    int J = 0;
};

constexpr Point kLeft{-1, 0};
constexpr Point kRight{1, 0};
constexpr Point kUp{0, -1};
constexpr Point kDown{0, 1};

// Columns Left..Right and rows Top..Bottom, inclusive.
struct Region {
    int Left, Top, Right, Bottom;
    bool Contains(Point p) const { return p.I >= Left && p.I <= Right && p.J >= Top && p.J <= Bottom; }
};

// The start points of a diagonal sweep: `start`, then `firstCount` points on along `firstStep`,
// then `secondCount` points on along `secondStep`.
std::vector<Point> EdgePath(Point start, Point firstStep, int firstCount, Point secondStep = {}, int secondCount = 0)
{
    std::vector<Point> path{start};
    for (int n = 0; n < firstCount; ++n)
        path.push_back({path.back().I + firstStep.I, path.back().J + firstStep.J});
    for (int n = 0; n < secondCount; ++n)
        path.push_back({path.back().I + secondStep.I, path.back().J + secondStep.J});
    return path;
}

// A diagonal sweep makes one walk per step from its next start point: down-left (Di = -1) or
// down-right (Di = +1), while the box stays inside Bounds.
struct Sweep {
    std::vector<Point> Starts;
    int Di;
    Region Bounds;
};

// The entries of an ordered list still in it. Taking "the k-th remaining entry" and removing
// it costs O(log n) in a Fenwick tree of presence counts, where removing it from a plain list
// would shift everything after it; the order drawn is the same.
class RemainingEntries {
public:
    explicit RemainingEntries(int count) : tree_(size_t(count) + 1), remaining_(count)
    {
        for (int i = 1; i <= count; ++i)
            tree_[size_t(i)] = i & -i;  // every entry present
        while (highBit_ * 2 <= count)
            highBit_ *= 2;
    }

    int Count() const { return remaining_; }

    // Removes the k-th remaining entry (from 0) and returns its index in the original list.
    int Take(int k)
    {
        int position = 0;
        for (int step = highBit_; step > 0; step /= 2) {
            const int next = position + step;
            if (next < int(tree_.size()) && tree_[size_t(next)] <= k) {
                position = next;
                k -= tree_[size_t(next)];
            }
        }
        for (int i = position + 1; i < int(tree_.size()); i += i & -i)
            --tree_[size_t(i)];
        --remaining_;
        return position;
    }

private:
    std::vector<int> tree_;
    int remaining_;
    int highBit_ = 1;
};

class Painter {
public:
    Painter(const TCanvas& source, TFxDestination& destination, const TFxGrid& grid, TRandom& random)
        : source_(source), destination_(destination), grid_(grid), random_(random), NX(grid.NX), NY(grid.NY)
    {
    }

    void Run(int effect);

private:
    // Boxes outside the grid are skipped, so the effects may reach past its edges.
    void CopyBox(int i, int j)
    {
        if (i < 1 || i > NX || j < 1 || j > NY)
            return;
        const TRect box = grid_.Box(i, j);
        destination_.CopyRect(box, source_, box);
    }
    void CopyStrip(int r, int k) { destination_.CopyRect(grid_.Strip(k), source_, grid_.Strip(r)); }
    void CopySame(const TRect& r) { destination_.CopyRect(r, source_, r); }

    // The orders that come in a vertical and a horizontal form are written once over "lines":
    // the columns, or with `across` set the rows, whose boxes run top to bottom, or left to right.
    int Lines(bool across) const { return across ? NY : NX; }
    int Length(bool across) const { return across ? NX : NY; }
    void Box(bool across, int line, int position) { across ? CopyBox(position, line) : CopyBox(line, position); }
    void Line(bool across, int line)
    {
        for (int p = 1; p <= Length(across); ++p)
            Box(across, line, p);
    }

    void Sweep1(bool across, bool backwards);
    void WipeIn(bool across);
    void WipeOut(bool across, bool farFirst);
    void Interlace(bool across);
    void DoublePass(bool across, bool secondBackwards);
    void Blinds(bool rows, bool columns);
    void Walk(Point p, int di, const Region& bounds);
    void RunSweeps(const std::vector<Sweep>& sweeps, int steps, bool stayAtEnd);
    void Diagonals(const std::vector<Sweep>& sweeps);
    void DiagonalOut(bool downRight);
    void DiagonalQuad();
    void Bands(bool across, int count, int size);
    void Kaleidoscope();
    void DoubleWipeOut();
    void DoubleWipeIn();
    void RandomLines();
    void RandomBlock();
    void Checkerboard();
    void ScreenDrip();
    void Spray();
    void SwirlIn();
    void Snake(bool across);

    Region WholeGrid() const { return {1, 1, NX, NY}; }
    Sweep FromTopLeft() const { return {EdgePath({1, 1}, kRight, NX - 1, kDown, NY - 1), -1, WholeGrid()}; }
    Sweep FromBottomLeft() const { return {EdgePath({1, NY}, kUp, NY - 1, kRight, NX - 1), +1, WholeGrid()}; }
    Sweep FromTopRight() const { return {EdgePath({NX, 1}, kLeft, NX - 1, kDown, NY - 1), +1, WholeGrid()}; }
    Sweep FromBottomRight() const { return {EdgePath({NX, NY}, kUp, NY - 1, kLeft, NX - 1), -1, WholeGrid()}; }

    const TCanvas& source_;
    TFxDestination& destination_;
    const TFxGrid grid_;
    TRandom& random_;
    const int NX;
    const int NY;
};

void Painter::Run(int effect)
{
    switch (effect) {
    case 0: CopySame(source_.ClipRect()); break;
    case 1: Sweep1(false, false); break;
    case 2: Sweep1(false, true); break;
    case 3: Sweep1(true, false); break;
    case 4: Sweep1(true, true); break;
    case 5: WipeIn(false); break;
    case 6: WipeOut(false, false); break;
    case 7: WipeIn(true); break;
    case 8: WipeOut(true, true); break;
    case 9: Interlace(false); break;
    case 10: Interlace(true); break;
    case 11: DoublePass(false, false); break;
    case 12: DoublePass(true, false); break;
    case 13: DoublePass(false, true); break;
    case 14: DoublePass(true, true); break;
    case 15: Blinds(true, false); break;
    case 16: Blinds(false, true); break;
    case 17: Blinds(true, true); break;
    case 18: Diagonals({FromTopLeft()}); break;
    case 19: Diagonals({FromBottomLeft()}); break;
    case 20: Diagonals({FromTopRight()}); break;
    case 21: Diagonals({FromBottomRight()}); break;
    case 22: Diagonals({FromTopLeft(), FromBottomRight()}); break;
    case 23: Diagonals({FromTopRight(), FromBottomLeft()}); break;
    case 24: DiagonalOut(false); break;
    case 25: DiagonalOut(true); break;
    case 26: DiagonalQuad(); break;
    case 27: Bands(false, 4, FxQuarter(NX)); break;
    case 28: Bands(true, 4, FxQuarter(NY)); break;
    case 29: Bands(false, 2, FxHalf(NX)); break;
    case 30: Bands(true, 2, FxHalf(NY)); break;
    case 31: Kaleidoscope(); break;
    case 32: DoubleWipeOut(); break;
    case 33: DoubleWipeIn(); break;
    case 34: RandomLines(); break;
    case 35: RandomBlock(); break;
    case 36: Checkerboard(); break;
    case 37: ScreenDrip(); break;
    case 38: Spray(); break;
    case 39: SwirlIn(); break;
    case 40: Snake(true); break;
    case 41: Snake(false); break;
    default: break;  // unknown effects draw nothing
    }
}

void Painter::Sweep1(bool across, bool backwards)
{
    const int n = Lines(across);
    for (int k = 1; k <= n; ++k)
        Line(across, backwards ? n + 1 - k : k);
}

// Both fronts close towards the middle; the line where they meet is drawn twice.
void Painter::WipeIn(bool across)
{
    const int n = Lines(across);
    for (int k = 0; k <= FxHalf(n); ++k) {
        Line(across, k + 1);
        Line(across, n - k);
    }
}

// Both fronts open from the middle; line 0 of the last step does not exist.
void Painter::WipeOut(bool across, bool farFirst)
{
    const int n = Lines(across);
    for (int k = FxHalf(n); k <= n; ++k) {
        Line(across, farFirst ? n - k : k);
        Line(across, farFirst ? k : n - k);
    }
}

// The odd positions of every line fill from the first line on while the even positions fill
// from the last line back, one line per step.
void Painter::Interlace(bool across)
{
    const int n = Lines(across), length = Length(across);
    for (int i = 1; i <= n; ++i) {
        const int mirrored = n + 1 - i;
        for (int j = 1; j <= length; j += 2) {
            Box(across, i, j);
            if (j < length)
                Box(across, mirrored, j + 1);
        }
    }
}

void Painter::DoublePass(bool across, bool secondBackwards)
{
    const int n = Lines(across), length = Length(across);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= length; j += 2)
            Box(across, i, j);
    for (int k = 1; k <= n; ++k) {
        const int i = secondBackwards ? n + 1 - k : k;
        for (int j = 2; j <= length; j += 2)
            Box(across, i, j);
    }
}

// One-pixel lines, one slat of box-width lines at a time: pass b shows line b - 1 of every slat.
void Painter::Blinds(bool rows, bool columns)
{
    const int wp = grid_.Wp, hp = grid_.Hp, slat = grid_.BoxWidth;
    for (int b = 1; b <= slat; ++b) {
        for (int s = b - 1; (rows && s <= hp) || (columns && s <= wp); s += slat) {
            if (columns)
                CopySame(Rect(s, 0, s + 1, hp));
            if (rows)
                CopySame(Rect(0, s, wp, s + 1));
        }
    }
}

void Painter::Walk(Point p, int di, const Region& bounds)
{
    for (; bounds.Contains(p); p.I += di, ++p.J)
        CopyBox(p.I, p.J);
}

// Every step walks each sweep from its next start point, in the order of the sweeps. A sweep
// past its last start point walks from that point again if `stayAtEnd`, else it draws nothing.
void Painter::RunSweeps(const std::vector<Sweep>& sweeps, int steps, bool stayAtEnd)
{
    for (int t = 0; t < steps; ++t)
        for (const Sweep& sweep : sweeps) {
            const int last = int(sweep.Starts.size()) - 1;
            if (t <= last || stayAtEnd)
                Walk(sweep.Starts[size_t(std::min(t, last))], sweep.Di, sweep.Bounds);
        }
}

void Painter::Diagonals(const std::vector<Sweep>& sweeps)
{
    RunSweeps(sweeps, NX + NY - 1, false);
}

// Two sweeps leave the same line in opposite directions; one that has reached its end point
// draws nothing more while the other goes on.
void Painter::DiagonalOut(bool downRight)
{
    const int m = std::min(NX, NY);
    std::vector<Sweep> sweeps;
    if (downRight) {
        const int s = NX - m + 1;
        sweeps = {{EdgePath({s, 1}, kLeft, s - 1, kDown, NY - 1), +1, WholeGrid()},
                  {EdgePath({s, 1}, kRight, NX - s), +1, WholeGrid()}};
    } else {
        sweeps = {{EdgePath({m, 1}, kLeft, m - 1), -1, WholeGrid()},
                  {EdgePath({m, 1}, kRight, NX - m, kDown, NY - 1), -1, WholeGrid()}};
    }
    RunSweeps(sweeps, int(std::max(sweeps[0].Starts.size(), sweeps[1].Starts.size())), false);
}

// Four sweeps close on the centre box (hx, hy). A single column or row would put the centre
// outside the grid (half of 1 is 0), so the centre is kept on the first column or row there.
void Painter::DiagonalQuad()
{
    const int hx = std::max(1, FxHalf(NX)), hy = std::max(1, FxHalf(NY));
    const std::vector<Sweep> sweeps{
        {EdgePath({1, 1}, kRight, hx - 1, kDown, hy - 1), -1, {1, 1, hx, hy}},
        {EdgePath({NX, NY}, kUp, NY - hy, kLeft, NX - hx), -1, {hx, hy, NX, NY}},
        {EdgePath({NX, 1}, kLeft, NX - hx, kDown, hy - 1), +1, WholeGrid()},
        {EdgePath({1, NY}, kUp, NY - hy, kRight, NX - 1), +1, WholeGrid()},
    };
    // The last step is the first at whose end the first three stand on the centre box and the
    // fourth has reached its column.
    const int fourthAtCentreColumn = (NY - hy) + (hx - 1);
    int lastStep = fourthAtCentreColumn;
    for (size_t q = 0; q < 3; ++q)
        lastStep = std::max(lastStep, int(sweeps[q].Starts.size()) - 1);
    RunSweeps(sweeps, lastStep + 1, true);
}

// `count` bands of `size` lines side by side; the first band fills from the start of its
// lines, the next from the end, and so on alternately, one box of every line per step. Lines
// beyond the last band (the rounded band size can leave a few) fill along with the last band.
void Painter::Bands(bool across, int count, int size)
{
    const int n = Lines(across), length = Length(across);
    for (int j = 1; j <= length; ++j) {
        const int back = length + 1 - j;
        for (int k = 1; k <= size; ++k)
            for (int band = 0; band < count; ++band)
                Box(across, band * size + k, band % 2 == 0 ? j : back);
        const int lastBandPosition = (count - 1) % 2 == 0 ? j : back;
        for (int extra = count * size + 1; extra <= n; ++extra)
            Box(across, extra, lastBandPosition);
    }
}

// The left half fills its two quarters downwards, the right half its two quarters upwards.
// A last column that the rounded half leaves out fills with the right half.
void Painter::Kaleidoscope()
{
    const int hx = FxHalf(NX), hy = FxHalf(NY);
    for (int j = 1; j <= hy + 1; ++j) {
        for (int k = 1; k <= hx; ++k) {
            CopyBox(k, j);
            CopyBox(k, hy + j);
            CopyBox(hx + k, NY + 1 - hy - j);
            CopyBox(hx + k, NY + 1 - j);
        }
        for (int extra = 2 * hx + 1; extra <= NX; ++extra) {
            CopyBox(extra, NY + 1 - hy - j);
            CopyBox(extra, NY + 1 - j);
        }
    }
}

// The middle band opens sideways from the centre, then the outer bands open away from it.
// Each front goes on to its own edge of the grid, so that lines the rounded fractions leave
// out are still reached; the other front then only passes boxes outside the grid.
void Painter::DoubleWipeOut()
{
    const int t = FxThird(NY), hx = FxHalf(NX);
    for (int s = 1; s <= std::max(hx, NX - hx); ++s)
        for (int j = t; j <= 2 * t; ++j) {
            CopyBox(hx + 1 - s, j);
            CopyBox(hx + s, j);
        }
    for (int s = 1; s <= std::max(t, NY - 2 * t); ++s)
        for (int i = 1; i <= NX; ++i) {
            CopyBox(i, t + 1 - s);
            CopyBox(i, 2 * t + s);
        }
}

void Painter::DoubleWipeIn()
{
    const int t = FxThird(NY), hx = FxHalf(NX);
    for (int s = 1; s <= t; ++s)
        for (int i = 1; i <= NX; ++i) {
            CopyBox(i, s);
            CopyBox(i, NY + 1 - s);
        }
    for (int s = 1; s <= hx + 1; ++s)
        for (int j = t; j <= 2 * t + 1; ++j) {
            CopyBox(s, j);
            CopyBox(NX + 1 - s, j);
        }
}

// The list holds the columns 1..NX, then the rows 1..NY.
void Painter::RandomLines()
{
    RemainingEntries lines(NX + NY);
    while (lines.Count() > 0) {
        const int entry = lines.Take(random_.Random(lines.Count()));
        if (entry < NX)
            Line(false, entry + 1);
        else
            Line(true, entry - NX + 1);
    }
}

// The list holds the boxes column by column, each column top to bottom.
void Painter::RandomBlock()
{
    RemainingEntries boxes(NX * NY);
    while (boxes.Count() > 0) {
        const int entry = boxes.Take(random_.Random(boxes.Count()));
        CopyBox(entry / NY + 1, entry % NY + 1);
    }
}

void Painter::Checkerboard()
{
    for (int pass = 0; pass <= 1; ++pass)
        for (int j = 1; j <= NY; ++j) {
            int i = j % 2 + pass;
            if (i == 0)
                i = 2;
            for (; i <= NX; i += 2)
                CopyBox(i, j);
        }
}

// Each strip, from the bottom one up, slides down from the top to its own row.
void Painter::ScreenDrip()
{
    for (int r = NY; r >= 1; --r)
        for (int k = 1; k <= r; ++k)
            CopyStrip(r, k);
}

// The grid is cut into 3 x 3 cells; each pass fills one position of every cell, the centre
// first, then clockwise from the top middle.
void Painter::Spray()
{
    static constexpr std::array<Point, 9> kCellOrder{
        {{2, 2}, {2, 1}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}, {1, 1}}};
    for (const Point cell : kCellOrder)
        for (int i = cell.I; i <= NX; i += 3)
            for (int j = cell.J; j <= NY; j += 3)
                CopyBox(i, j);
}

// Clockwise rings from the outside in.
void Painter::SwirlIn()
{
    int left = 1, top = 1, right = NX, bottom = NY;
    while (left <= right) {
        for (int i = left; i <= right; ++i)
            CopyBox(i, top);
        for (int j = top; j <= bottom; ++j)
            CopyBox(right, j);
        for (int i = right; i >= left; --i)
            CopyBox(i, bottom);
        for (int j = bottom; j >= top; --j)
            CopyBox(left, j);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}

// The odd lines forwards, then the even lines backwards.
void Painter::Snake(bool across)
{
    const int n = Lines(across), length = Length(across);
    for (int i = 1; i <= n; i += 2)
        for (int j = 1; j <= length; ++j)
            Box(across, i, j);
    for (int i = 2; i <= n; i += 2)
        for (int j = length; j >= 1; --j)
            Box(across, i, j);
}

} // namespace

void TCanvasDestination::CopyRect(const TRect& dest, const TCanvas& source, const TRect& src)
{
    canvas_.CopyRect(dest, source, src);
}

void TFxRecorder::CopyRect(const TRect& dest, const TCanvas&, const TRect& src)
{
    Copies.push_back({dest, src});
}

TRect TFxGrid::Box(int column, int row) const
{
    return Rect((column - 1) * BoxWidth, (row - 1) * BoxWidth, std::min(column * BoxWidth, Wp),
                std::min(row * BoxWidth, Hp));
}

TRect TFxGrid::Strip(int row) const
{
    return Rect(0, (row - 1) * BoxWidth, Wp, std::min(row * BoxWidth, Hp));
}

TFxGrid MakeFxGrid(const TRect& clip, int boxWidth)
{
    TFxGrid grid;
    grid.BoxWidth = boxWidth;
    grid.Wp = clip.Right - clip.Left + 1;
    grid.Hp = clip.Bottom - clip.Top + 1;
    if (boxWidth >= 1) {
        grid.NX = (grid.Wp + boxWidth - 1) / boxWidth;
        grid.NY = (grid.Hp + boxWidth - 1) / boxWidth;
    }
    return grid;
}

int FxHalf(int count)
{
    return RoundHalfEven(count * 0.5);
}

int FxQuarter(int count)
{
    return RoundHalfEven(count * 0.25);
}

int FxThird(int count)
{
    return RoundHalfEven(count * (1.0 / 3.0));
}

void DrawFxEffect(int effect, const TCanvas& source, TFxDestination& destination, int boxWidth, TRandom& random)
{
    if (effect < 0 || effect > kFxLastEffect || boxWidth < 1)
        return;
    const TFxGrid grid = MakeFxGrid(source.ClipRect(), boxWidth);
    if (grid.NX < 1 || grid.NY < 1)
        return;
    Painter(source, destination, grid, random).Run(effect);
}

void DrawFxEffect(int effect, const TCanvas& source, TCanvas& destination, int boxWidth, TRandom& random)
{
    TCanvasDestination canvas(destination);
    DrawFxEffect(effect, source, canvas, boxWidth, random);
}

QString FxEffectName(int effect)
{
    return effect >= 0 && effect <= kFxLastEffect ? QString::fromLatin1(kEffectNames[size_t(effect)].Name) : QString();
}

QString FxEffectGroup(int effect)
{
    return effect >= 0 && effect <= kFxLastEffect ? QString::fromLatin1(kEffectNames[size_t(effect)].Group)
                                                  : QString();
}

QString FxBoxWidthName(int boxWidth)
{
    if (std::find(kNamedBoxWidths.begin(), kNamedBoxWidths.end(), boxWidth) == kNamedBoxWidths.end())
        return {};
    return QStringLiteral("%1 pixels box").arg(boxWidth);
}
