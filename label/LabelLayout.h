#pragma once
// The effect label's settings types and the pure geometry of its paint: layer offsets, the
// rectangles of unturned text, the colour of every layer copy and gradient band, and the two
// layouts of text at an angle (turned text and upright letters). Text measurements come in
// from the caller, so all of it is computed and tested without a font or a widget.

#include "framework/Alignment.h"
#include "framework/Colors.h"
#include "framework/Rect.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

using TEffectDepth = std::uint8_t;  // 0 to 10 pixels
using TAngleRange = std::uint16_t;  // 0 to 360 degrees; 0 and 360 are distinct

enum TEffectDirection : std::uint8_t {
    edNone, edUp, edUpRight, edRight, edDownRight, edDown, edDownLeft, edLeft, edUpLeft
};
enum TEffectStyle : std::uint8_t { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
enum TColourScheme : std::uint8_t { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum TEffectOption : std::uint8_t { eoNormal, eoReal, eoExtrude, eoGraduated };
enum TGraduateOption : std::uint8_t { goNone, goVertical, goHorizontal };

// The face is first drawn in this colour on the second surface; gradient bands replace it.
constexpr TColor FaceKeyColour = 0xFE09F1;

// The one-pixel step of a direction, x to the right and y downwards; (0, 0) for a value
// outside the enumeration.
QPoint DirectionOffset(TEffectDirection direction);

// The room that the layer copies need around the face. One pair serves both axes.
struct LabelOffsets {
    int MinOffset = 0;
    int MaxOffset = 0;
    int AlignShift = 0;
};
LabelOffsets ComputeOffsets(TEffectDirection directionHighlight, int depthHighlight,
                            TEffectDirection directionShadow, int depthShadow, TAlignment alignment);

// The formatting rectangle of unturned text drawn at offset (ox, oy) on a surface of width x height.
TRect TextCopyRect(const LabelOffsets& offsets, int width, int height, int ox, int oy);

// One copy of a layer: its step count along the direction and its text colour.
struct LayerCopy {
    int K = 0;
    TColor Colour = 0;
    friend bool operator==(const LayerCopy&, const LayerCopy&) = default;
};
// The copies of a layer in drawing order, farthest first. Colours are split into channels as
// stored (a system colour is not resolved). An eoReal layer gives its one black mask copy.
std::vector<LayerCopy> LayerCopies(TColor colour, TEffectOption option, int depth, TColor fontColour);

// Colour of band i of a gradient of n + 1 bands from `from` to `to`. With n = 0 the one band
// takes `from`.
TColor GradientBandColour(TColor from, TColor to, int n, int i);

// Gradient bands run from Start to Start + N (rows for goVertical, columns for goHorizontal);
// N < 0 draws none.
struct GradientSpan {
    int Start = 0;
    int N = -1;
    friend bool operator==(const GradientSpan&, const GradientSpan&) = default;
};
GradientSpan UnturnedGradientSpan(TGraduateOption mode, TAlignment alignment, const LabelOffsets& offsets,
                                  int width, int textWidth, int textHeight);

// The cached trigonometry of an angle in degrees.
struct AngleTrig {
    double CosAngle = 1.0;
    double SinAngle = 0.0;
    double CosSquared = 1.0;
    double SinSquared = 0.0;
};
constexpr double DegToRad = 0.017453292519943295;
AngleTrig ComputeAngleTrig(int angle);

// Turned text: the whole caption as one line turned about its top-left reference point.
struct TurnedTextLayout {
    int TW = 0, TH = 0;      // caption width and height along the turned baseline
    int C = 0;               // centre of the square that the text turns in
    int X0 = 0, Y0 = 0;      // top-left reference of the face before the offsets
    int C2 = 0, W2 = 0, H2 = 0;
    std::array<QPoint, 4> Corners;  // P1 to P4 of the background box
};
// paddedWidth is the width of the caption followed by three spaces.
TurnedTextLayout LayoutTurnedText(int textWidth, int textHeight, int paddedWidth, const AngleTrig& trig,
                                  const LabelOffsets& offsets);
// Where the caption's reference point goes for the copy at offset (ox, oy).
QPoint TurnedTextOrigin(const TurnedTextLayout& layout, const LabelOffsets& offsets, int ox, int oy);
GradientSpan TurnedGradientSpan(TGraduateOption mode, const TurnedTextLayout& layout);

// Upright letters: each letter alone, stepping along a line that rises at the angle.
struct UprightLettersLayout {
    QStringList Letters;
    std::vector<QPoint> Steps;  // (dX, dY) of every letter from the first; y grows upwards
    int TH = 0;
    int L = 0;                  // distance of the last letter from the first
    int X0 = 0, Y0 = 0;
    TRect R1, R2;               // boxes of the first and the last letter
};
UprightLettersLayout LayoutUprightLetters(const QString& caption, const std::function<int(const QString&)>& width,
                                          int textHeight, const AngleTrig& trig, const LabelOffsets& offsets);
// Where letter `index` (from 0) goes for the copy at offset (ox, oy).
QPoint LetterOrigin(const UprightLettersLayout& layout, const LabelOffsets& offsets, int index, int ox, int oy);
// The hexagon joining the two letter boxes, by the quadrant of the angle; none for an empty
// caption or an angle outside 1 to 360.
std::vector<QPoint> UprightBackground(int angle, const UprightLettersLayout& layout);
GradientSpan UprightGradientSpan(TGraduateOption mode, const UprightLettersLayout& layout);

// The characters of a text; a surrogate pair stays one character.
QStringList SplitLetters(const QString& text);
// The first `count` characters of a text.
QString FirstCharacters(const QString& text, int count);
