#pragma once
// The effect controls. TFXGraphic shows its picture through the effect painter; TFxImage shows
// a bitmap, TFxLabel a panel-like caption that it draws into its picture first.
//
// Qt composes every frame off screen, so copies made inside one paint would all appear at once.
// A control therefore records the painter's copies and plays them onto its presentation image
// over successive frames, every copy in order, the whole reveal lasting about RevealTime()
// milliseconds. Effect 0, or a reveal time of 0, draws the effect at once inside one paint.
// A reveal starts when the control is shown and after each change of what it shows; a paint
// during a reveal shows how far it has come.

#include "effects/FxEffect.h"
#include "framework/Alignment.h"
#include "framework/Bitmap.h"
#include "framework/Font.h"
#include "framework/PanelFrame.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <vector>

// How a TFxLabel draws its caption: flat, or embossed with a shadow and a highlight one pixel
// away on either side (raised: shadow below-right; recessed: shadow above-left).
enum TTextStyle { tsNone, tsRaised, tsRecessed };

enum class TBorderStyle { bsNone, bsSingle };

class TFXGraphic : public QWidget {
    Q_OBJECT
public:
    explicit TFXGraphic(QWidget* parent = nullptr);

    // Neither setter repaints: the new value shows at the next reveal.
    int Effect() const { return effect_; }
    void SetEffect(int effect);  // stored within 0..41
    int BoxWidth() const { return boxWidth_; }
    void SetBoxWidth(int boxWidth);  // stored within 2..255

    // The canvas of the picture's bitmap (none while the picture is empty) and the control's own
    // canvas, on which the effect draws.
    TCanvas* SourceCanvas() const { return sourceCanvas_; }
    TCanvas* TargetCanvas() { return &targetCanvas_; }
    // Call whenever the picture's bitmap may have been replaced.
    void UpdateCanvases();

    // An opaque control paints all of its area, so its parent is not drawn beneath it.
    bool Opaque() const { return testAttribute(Qt::WA_OpaquePaintEvent); }

    static constexpr int kRevealFrameInterval = 16;  // milliseconds between two frames
    static int RevealTime();
    static void SetRevealTime(int milliseconds);  // 0: every effect draws at once (tests)

    // A reveal is waiting for the next paint or playing.
    bool Revealing() const { return revealPending_ || played_ < copyCount_; }
    int RevealedCopies() const { return int(played_); }
    int RevealCopyCount() const { return int(copyCount_); }
    // Play the next frame's copies, or every remaining copy, now (a pending reveal starts first).
    void StepReveal();
    void FinishReveal();

protected:
    // Plays the effect again at the next paint: over what the control shows now when it is
    // opaque, over its parent's background otherwise.
    void RestartReveal();
    void SetOpaque(bool opaque) { setAttribute(Qt::WA_OpaquePaintEvent, opaque); }
    // Draws the picture before the effect shows it; the label composes its caption here.
    virtual void ComposePicture() {}

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    TBitmap picture_;  // the picture the effect shows; empty shows nothing

private:
    void BeginReveal();
    void PlayCopies(size_t count);

    int effect_ = 0;
    int boxWidth_ = 5;
    TCanvas* sourceCanvas_ = nullptr;
    QImage presentation_;  // what the control shows; transparent where nothing is drawn yet
    TCanvas targetCanvas_{&presentation_};

    bool revealPending_ = true;
    std::vector<TFxCopy> copies_;  // the painter's copies still to play, and those played
    QImage revealSource_;          // the picture they copy from
    size_t played_ = 0;
    size_t copyCount_ = 0;
    size_t copiesPerFrame_ = 1;
    QTimer frameTimer_;
};

// Shows a bitmap at its top-left corner through the effect (105 x 105 pixels at first).
class TFxImage : public TFXGraphic {
    Q_OBJECT
public:
    explicit TFxImage(QWidget* parent = nullptr);

    const TBitmap& Picture() const { return picture_; }
    // Takes a copy of the bitmap (an empty one clears the picture) and replays the effect.
    void SetPicture(const TBitmap& picture);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // After every change of the picture: the size (with AutoSize), the opacity, the canvases,
    // and a new reveal.
    void PictureUpdated();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateOpacity();

    bool autoSize_ = false;
};

// A panel-like label: border, bevels and a caption drawn into its picture, which the effect then
// shows. 100 x 30 pixels at first, opaque, button-face coloured, raised bevel, embossed text.
class TFxLabel : public TFXGraphic {
    Q_OBJECT
public:
    explicit TFxLabel(QWidget* parent = nullptr);

    // Changes of these replay the effect; the Enabled state does not change the label's look.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle style);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

    // A new blank picture of the control's current size.
    void RebuildBitmap();
    void RefreshBitmap();

protected:
    void ComposePicture() override;

private:
    void DrawCaption(TCanvas& canvas, TRect band, int dx, int dy, TColor color, unsigned format) const;
    void TextOrFontChanged();

    QString caption_;
    TFont font_;
    TColor color_ = clBtnFace;
    TAlignment alignment_ = taCenter;
    TTextStyle textStyle_ = tsRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};
