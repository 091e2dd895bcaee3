#pragma once
// A panel: an outer and an inner 3-D bevel around a face filled with the panel's colour.

#include "framework/Colors.h"

#include <QWidget>

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TColor color_ = clBtnFace;
};

// Top and bottom colours of a bevel: lowered is shadow over highlight, anything else the reverse.
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom);

class TCanvas;
struct TRect;
// The rings of a panel from the outside in: the outer bevel, a border of borderWidth pixels in
// the panel's colour, the inner bevel. `rect` shrinks past each ring and is left as the face.
void DrawPanelFrame(TCanvas& canvas, TRect& rect, TPanelBevel outer, TPanelBevel inner, int bevelWidth,
                    int borderWidth, TColor color);
