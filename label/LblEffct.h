#pragma once
// TLabelEffect: a text label whose caption is drawn as a stack of a shadow layer, a highlight
// layer and the face, each offset by a direction and a depth, optionally graded in colour and
// turned by an angle. Two presets set groups of settings at once: EffectStyle (directions and
// depths) and ColourScheme (colours); editing one of their settings directly switches the preset
// to its custom value. With AsButton on, the label sinks while the left button holds it.

#include "framework/Canvas.h"
#include "framework/Font.h"
#include "label/LabelLayout.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class TLabelEffect : public QWidget {
    Q_OBJECT
public:
    explicit TLabelEffect(QWidget* owner = nullptr);

    TEffectDepth DepthHighlight() const { return depthHighlight_; }
    void SetDepthHighlight(TEffectDepth depth);
    TEffectDepth DepthShadow() const { return depthShadow_; }
    void SetDepthShadow(TEffectDepth depth);
    TEffectDirection DirectionHighlight() const { return directionHighlight_; }
    void SetDirectionHighlight(TEffectDirection direction);
    TEffectDirection DirectionShadow() const { return directionShadow_; }
    void SetDirectionShadow(TEffectDirection direction);
    TColor ColourHighlight() const { return colourHighlight_; }
    void SetColourHighlight(TColor colour);
    TColor ColourShadow() const { return colourShadow_; }
    void SetColourShadow(TColor colour);
    TGraduateOption GraduateFace() const { return graduateFace_; }
    void SetGraduateFace(TGraduateOption option);
    TColor GraduateFrom() const { return graduateFrom_; }
    void SetGraduateFrom(TColor colour);
    TEffectOption StyleHighlight() const { return styleHighlight_; }
    void SetStyleHighlight(TEffectOption option);
    TEffectOption StyleShadow() const { return styleShadow_; }
    void SetStyleShadow(TEffectOption option);
    TEffectStyle EffectStyle() const { return effectStyle_; }
    void SetEffectStyle(TEffectStyle style);
    TColourScheme ColourScheme() const { return colourScheme_; }
    void SetColourScheme(TColourScheme scheme);
    bool AsButton() const { return asButton_; }
    void SetAsButton(bool asButton);
    TAngleRange Angle() const { return angle_; }
    void SetAngle(TAngleRange angle);
    bool KeepLettersVertical() const { return keepLettersVertical_; }
    void SetKeepLettersVertical(bool keep);

    bool UpdatingStyle() const { return updatingStyle_; }
    bool UpdatingScheme() const { return updatingScheme_; }
    // A row of the colour presets: highlight, shadow, face. A scheme outside the enumeration
    // has no row and reads as black.
    using TSchemeRow = std::array<TColor, 3>;
    TSchemeRow SchemeColours(TColourScheme scheme) const;
    double CosAngle() const { return trig_.CosAngle; }
    double SinAngle() const { return trig_.SinAngle; }
    double CosSquared() const { return trig_.CosSquared; }
    double SinSquared() const { return trig_.SinSquared; }

    // The label settings that the painter uses.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    // Names of the label's own settings, in layout order, that a layout would store because
    // they differ from their stored defaults.
    QStringList StoredProperties() const;

    // The mouse as the push-button behaviour sees it; positions in client coordinates. They
    // return whether the button behaviour took the event.
    bool MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    bool MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    bool MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // Composes the label over the picture that `canvas` holds of the client rectangle (the
    // background beneath the label) and copies the result back onto it in one block.
    void Paint(TCanvas& canvas) const;

protected:
    // Asks for a repaint later; every setter that changes the picture calls it.
    virtual void Invalidate();

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetFontColour(TColor colour);
    void StyleChangedDirectly();
    bool Inside(int x, int y) const;
    // What the parent paints beneath the label, or the label's colour without a parent.
    QImage CaptureBackground() const;

    std::array<TSchemeRow, 6> schemeColours_{};
    TEffectDepth depthHighlight_ = 1;
    TEffectDepth depthShadow_ = 1;
    TEffectDirection directionHighlight_ = edUpLeft;
    TEffectDirection directionShadow_ = edDownRight;
    TColor colourHighlight_ = clWhite;
    TColor colourShadow_ = clBlack;
    TGraduateOption graduateFace_ = goNone;
    TColor graduateFrom_ = clWindowText;
    TEffectOption styleHighlight_ = eoNormal;
    TEffectOption styleShadow_ = eoNormal;
    TEffectStyle effectStyle_ = esRaised;
    TColourScheme colourScheme_ = csWindows;
    bool asButton_ = false;
    TAngleRange angle_ = 0;
    bool keepLettersVertical_ = false;
    bool updatingStyle_ = false;
    bool updatingScheme_ = false;
    AngleTrig trig_;

    TAlignment alignment_ = taLeftJustify;
    QString caption_;
    TColor color_ = clBtnFace;
    TFont font_;
    bool transparent_ = true;
};
