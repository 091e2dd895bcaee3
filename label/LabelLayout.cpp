#include "label/LabelLayout.h"

#include "framework/Rounding.h"
#include "framework/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace {

int Trunc(double value)
{
    return int(value);  // toward zero
}

// A channel sum keeps its low eight bits.
TColor ChannelColour(int r, int g, int b)
{
    return RGB(r & 0xFF, g & 0xFF, b & 0xFF);
}

// Length in UTF-16 units of the first character at `at`.
int LetterLength(const QString& text, int at)
{
    if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return 2;
    return 1;
}

QPoint TopLeft(const TRect& r) { return {r.Left, r.Top}; }
QPoint TopRight(const TRect& r) { return {r.Right, r.Top}; }
QPoint BottomRight(const TRect& r) { return {r.Right, r.Bottom}; }
QPoint BottomLeft(const TRect& r) { return {r.Left, r.Bottom}; }

// The span of bands over a box given by its extreme coordinates.
GradientSpan SpanOver(TGraduateOption mode, int left, int top, int right, int bottom)
{
    switch (mode) {
    case goVertical: return {top, bottom - top};
    case goHorizontal: return {left, right - left};
    default: return {};
    }
}

} // namespace

QPoint DirectionOffset(TEffectDirection direction)
{
    static constexpr int kSteps[][2] = {{0, 0}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    if (direction > edUpLeft)
        return {0, 0};
    return {kSteps[direction][0], kSteps[direction][1]};
}

LabelOffsets ComputeOffsets(TEffectDirection directionHighlight, int depthHighlight,
                            TEffectDirection directionShadow, int depthShadow, TAlignment alignment)
{
    const QPoint highlight = DirectionOffset(directionHighlight) * depthHighlight;
    const QPoint shadow = DirectionOffset(directionShadow) * depthShadow;
    const int values[] = {0, shadow.x(), highlight.x(), highlight.y(), shadow.y()};
    LabelOffsets offsets;
    offsets.MinOffset = *std::min_element(std::begin(values), std::end(values));
    offsets.MaxOffset = *std::max_element(std::begin(values), std::end(values));
    const int spread = offsets.MaxOffset - offsets.MinOffset;
    offsets.AlignShift = alignment == taRightJustify ? spread : alignment == taCenter ? spread / 2 : 0;
    return offsets;
}

TRect TextCopyRect(const LabelOffsets& offsets, int width, int height, int ox, int oy)
{
    const int left = -offsets.MinOffset - offsets.AlignShift + ox;
    const int top = -offsets.MinOffset + oy;
    return Rect(left, top, left + width, top + height);
}

std::vector<LayerCopy> LayerCopies(TColor colour, TEffectOption option, int depth, TColor fontColour)
{
    int r0 = GetRValue(colour), g0 = GetGValue(colour), b0 = GetBValue(colour);
    double sr = 0, sg = 0, sb = 0;
    int last = depth;
    if (option == eoReal) {
        r0 = g0 = b0 = 0;
    } else if (option != eoNormal && depth > 1) {
        last = 1;
        if (option == eoGraduated) {
            sr = double(GetRValue(fontColour) - r0) / (depth - 1);
            sg = double(GetGValue(fontColour) - g0) / (depth - 1);
            sb = double(GetBValue(fontColour) - b0) / (depth - 1);
        }
    }
    std::vector<LayerCopy> copies;
    for (int k = depth; k >= last; --k) {
        const int step = depth - k;
        copies.push_back({k, ChannelColour(r0 + RoundHalfEven(sr * step), g0 + RoundHalfEven(sg * step),
                                           b0 + RoundHalfEven(sb * step))});
    }
    return copies;
}

TColor GradientBandColour(TColor from, TColor to, int n, int i)
{
    if (n <= 0)
        return ChannelColour(GetRValue(from), GetGValue(from), GetBValue(from));
    const double sr = double(GetRValue(to) - GetRValue(from)) / n;
    const double sg = double(GetGValue(to) - GetGValue(from)) / n;
    const double sb = double(GetBValue(to) - GetBValue(from)) / n;
    return ChannelColour(GetRValue(from) + RoundHalfEven(sr * i), GetGValue(from) + RoundHalfEven(sg * i),
                         GetBValue(from) + RoundHalfEven(sb * i));
}

GradientSpan UnturnedGradientSpan(TGraduateOption mode, TAlignment alignment, const LabelOffsets& offsets,
                                  int width, int textWidth, int textHeight)
{
    const int top = -offsets.MinOffset;
    int left = -offsets.MinOffset;
    if (alignment == taCenter)
        left = (width - textWidth) / 2 - offsets.MinOffset - offsets.AlignShift;
    else if (alignment == taRightJustify)
        left = width - offsets.MaxOffset - textWidth;
    switch (mode) {
    case goVertical: return {top, textHeight - 1};
    case goHorizontal: return {left, textWidth - 1};
    default: return {};
    }
}

AngleTrig ComputeAngleTrig(int angle)
{
    AngleTrig trig;
    trig.CosAngle = std::cos(angle * DegToRad);
    trig.CosSquared = trig.CosAngle * trig.CosAngle;
    trig.SinAngle = std::sin(angle * DegToRad);
    trig.SinSquared = trig.SinAngle * trig.SinAngle;
    return trig;
}

TurnedTextLayout LayoutTurnedText(int textWidth, int textHeight, int paddedWidth, const AngleTrig& trig,
                                  const LabelOffsets& offsets)
{
    TurnedTextLayout t;
    t.TW = textWidth;
    t.TH = textHeight;
    t.C = paddedWidth / 2;
    // The centre of the turned text cell falls on (C, C).
    t.X0 = t.C - Trunc(t.TW * 0.5 * trig.CosAngle) - Trunc(t.TH * 0.5 * trig.SinAngle);
    t.Y0 = t.C + Trunc(t.TW * 0.5 * trig.SinAngle) - Trunc(t.TH * 0.5 * trig.CosAngle);
    t.C2 = t.C + (offsets.MaxOffset - offsets.MinOffset + 4) / 2;
    t.W2 = t.TW + offsets.MaxOffset + offsets.MinOffset + 4;
    t.H2 = t.TH + offsets.MaxOffset + offsets.MinOffset + 4;
    const int aw = Trunc(t.W2 * 0.5 * trig.CosAngle), ah = Trunc(t.H2 * 0.5 * trig.SinAngle);
    const int bw = Trunc(t.W2 * 0.5 * trig.SinAngle), bh = Trunc(t.H2 * 0.5 * trig.CosAngle);
    const int c = t.C2 + 2;
    t.Corners = {QPoint(c - aw - ah, c + bw - bh), QPoint(c + aw - ah, c - bw - bh), QPoint(c + aw + ah, c - bw + bh),
                 QPoint(c - aw + ah, c + bw + bh)};
    return t;
}

QPoint TurnedTextOrigin(const TurnedTextLayout& layout, const LabelOffsets& offsets, int ox, int oy)
{
    return {layout.X0 - offsets.MinOffset + ox, layout.Y0 - offsets.MinOffset + oy};
}

GradientSpan TurnedGradientSpan(TGraduateOption mode, const TurnedTextLayout& layout)
{
    int left = layout.Corners[0].x(), right = left, top = layout.Corners[0].y(), bottom = top;
    for (const QPoint& p : layout.Corners) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return SpanOver(mode, left, top, right, bottom);
}

UprightLettersLayout LayoutUprightLetters(const QString& caption, const std::function<int(const QString&)>& width,
                                          int textHeight, const AngleTrig& trig, const LabelOffsets& offsets)
{
    UprightLettersLayout u;
    u.Letters = SplitLetters(caption);
    u.TH = textHeight;
    QString preceding;  // letters 1 to i - 1
    for (int i = 0; i < u.Letters.size(); ++i) {
        // The distance blends the advance along the line (cos²) with one text height per letter (sin²).
        const int distance = i == 0 ? 0
                                    : RoundHalfEven(width(preceding) * trig.CosSquared
                                                    + double(textHeight) * i * trig.SinSquared);
        u.Steps.emplace_back(RoundHalfEven(distance * trig.CosAngle), RoundHalfEven(distance * trig.SinAngle));
        u.L = distance;
        preceding += u.Letters[i];
    }
    const int dx = RoundHalfEven(u.L * trig.CosAngle), dy = RoundHalfEven(u.L * trig.SinAngle);
    u.X0 = std::max(0, -dx) + 10;
    u.Y0 = std::max(0, dy) + 10;
    if (u.Letters.isEmpty())
        return u;
    const int extra = offsets.MaxOffset - offsets.MinOffset + 4;
    u.R1 = Bounds(u.X0 - 2, u.Y0 - 2, width(u.Letters.first()) + extra, textHeight + extra);
    u.R2 = Bounds(u.X0 - 2 + dx, u.Y0 - 2 - dy, width(u.Letters.last()) + extra, textHeight + extra);
    return u;
}

QPoint LetterOrigin(const UprightLettersLayout& layout, const LabelOffsets& offsets, int index, int ox, int oy)
{
    const QPoint step = layout.Steps[size_t(index)];
    return {layout.X0 - offsets.MinOffset + step.x() + ox, layout.Y0 - offsets.MinOffset - step.y() + oy};
}

std::vector<QPoint> UprightBackground(int angle, const UprightLettersLayout& layout)
{
    if (layout.Letters.isEmpty())
        return {};
    const TRect& r1 = layout.R1;
    const TRect& r2 = layout.R2;
    if (angle >= 1 && angle <= 90)
        return {TopLeft(r1), TopLeft(r2), TopRight(r2), BottomRight(r2), BottomRight(r1), BottomLeft(r1)};
    if (angle >= 91 && angle <= 180)
        return {TopRight(r1), TopRight(r2), TopLeft(r2), BottomLeft(r2), BottomLeft(r1), BottomRight(r1)};
    if (angle >= 181 && angle <= 270)
        return {TopLeft(r1), TopLeft(r2), BottomLeft(r2), BottomRight(r2), BottomRight(r1), TopRight(r1)};
    if (angle >= 271 && angle <= 360)
        return {TopRight(r1), TopRight(r2), BottomRight(r2), BottomLeft(r2), BottomLeft(r1), TopLeft(r1)};
    return {};
}

GradientSpan UprightGradientSpan(TGraduateOption mode, const UprightLettersLayout& layout)
{
    if (layout.Letters.isEmpty())
        return {};
    return SpanOver(mode, std::min(layout.R1.Left, layout.R2.Left), std::min(layout.R1.Top, layout.R2.Top),
                    std::max(layout.R1.Right, layout.R2.Right), std::max(layout.R1.Bottom, layout.R2.Bottom));
}

QStringList SplitLetters(const QString& text)
{
    QStringList letters;
    for (int at = 0; at < text.size();) {
        const int length = LetterLength(text, at);
        letters.append(text.mid(at, length));
        at += length;
    }
    return letters;
}

QString FirstCharacters(const QString& text, int count)
{
    int at = 0;
    for (int taken = 0; taken < count && at < text.size(); ++taken)
        at += LetterLength(text, at);
    return text.left(at);
}
