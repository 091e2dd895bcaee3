#include "effects/FxImage.h"

#include "framework/Random.h"
#include "framework/Setter.h"

#include <QPainter>
#include <algorithm>

namespace {

int revealTime = 500;

// The text band is at most this many characters long.
constexpr int kMaxCaptionLength = 255;

} // namespace

// ---------------------------------------------------------------------------------------------
// TFXGraphic

TFXGraphic::TFXGraphic(QWidget* parent) : QWidget(parent)
{
    frameTimer_.setInterval(kRevealFrameInterval);
    connect(&frameTimer_, &QTimer::timeout, this, &TFXGraphic::StepReveal);
}

void TFXGraphic::SetEffect(int effect)
{
    effect_ = std::clamp(effect, 0, kFxLastEffect);
}

void TFXGraphic::SetBoxWidth(int boxWidth)
{
    boxWidth_ = std::clamp(boxWidth, 2, 255);
}

void TFXGraphic::UpdateCanvases()
{
    sourceCanvas_ = picture_.Empty() ? nullptr : &picture_.Canvas();
}

int TFXGraphic::RevealTime()
{
    return revealTime;
}

void TFXGraphic::SetRevealTime(int milliseconds)
{
    revealTime = std::max(0, milliseconds);
}

void TFXGraphic::RestartReveal()
{
    revealPending_ = true;
    frameTimer_.stop();
    update();
}

void TFXGraphic::StepReveal()
{
    if (revealPending_)
        BeginReveal();
    else
        PlayCopies(copiesPerFrame_);
    update();
}

void TFXGraphic::FinishReveal()
{
    if (revealPending_)
        BeginReveal();
    PlayCopies(copyCount_);
    update();
}

void TFXGraphic::BeginReveal()
{
    revealPending_ = false;
    frameTimer_.stop();
    copies_.clear();
    revealSource_ = QImage();
    played_ = copyCount_ = 0;

    ComposePicture();

    if (presentation_.size() != size()) {
        QImage resized(size(), QImage::Format_ARGB32_Premultiplied);
        resized.fill(Qt::transparent);
        if (!presentation_.isNull() && !resized.isNull())
            QPainter(&resized).drawImage(0, 0, presentation_);
        presentation_ = resized;
    }
    // Over an opaque control the new picture plays over the old one; otherwise the parent's
    // background shows through until the effect reaches it.
    if (!Opaque())
        presentation_.fill(Qt::transparent);
    if (!sourceCanvas_ || presentation_.isNull())
        return;

    if (effect_ == 0 || revealTime == 0) {
        DrawFxEffect(effect_, *sourceCanvas_, targetCanvas_, boxWidth_, ProgramRandom());
        return;
    }
    TFxRecorder recorder;
    DrawFxEffect(effect_, *sourceCanvas_, recorder, boxWidth_, ProgramRandom());
    copies_ = std::move(recorder.Copies);
    copyCount_ = copies_.size();
    revealSource_ = *sourceCanvas_->Target();
    const size_t frames = size_t(std::max(1, (revealTime + kRevealFrameInterval / 2) / kRevealFrameInterval));
    copiesPerFrame_ = std::max<size_t>(1, (copyCount_ + frames - 1) / frames);
    PlayCopies(copiesPerFrame_);  // the first frame shows at once
    if (played_ < copyCount_)
        frameTimer_.start();
}

void TFXGraphic::PlayCopies(size_t count)
{
    const size_t end = std::min(copyCount_, played_ + count);
    for (; played_ < end; ++played_)
        targetCanvas_.CopyRect(copies_[played_].Dest, revealSource_, copies_[played_].Src);
    if (played_ == copyCount_) {
        frameTimer_.stop();
        copies_ = {};
        revealSource_ = QImage();
    }
}

void TFXGraphic::paintEvent(QPaintEvent*)
{
    if (revealPending_)
        BeginReveal();
    QPainter painter(this);
    if (Opaque()) {
        // Whatever the reveal has not reached yet shows the parent's background colour.
        const QWidget* beneath = parentWidget() ? parentWidget() : this;
        painter.fillRect(rect(), beneath->palette().color(beneath->backgroundRole()));
    }
    painter.drawImage(0, 0, presentation_);
}

void TFXGraphic::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    RestartReveal();
}

void TFXGraphic::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!revealPending_)
        PlayCopies(copyCount_);  // nothing plays on while hidden
}

void TFXGraphic::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RestartReveal();
}

// ---------------------------------------------------------------------------------------------
// TFxImage

TFxImage::TFxImage(QWidget* parent) : TFXGraphic(parent)
{
    resize(105, 105);
    UpdateCanvases();
}

void TFxImage::SetPicture(const TBitmap& picture)
{
    picture_ = picture;
    PictureUpdated();
}

void TFxImage::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    PictureUpdated();
}

void TFxImage::PictureUpdated()
{
    if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
        setGeometry(x(), y(), picture_.Width(), picture_.Height());
    UpdateOpacity();
    UpdateCanvases();
    RestartReveal();
}

// Only a picture that fills the control covers all of it.
void TFxImage::UpdateOpacity()
{
    SetOpaque(picture_.Width() == width() && picture_.Height() == height());
}

void TFxImage::resizeEvent(QResizeEvent* event)
{
    UpdateOpacity();
    TFXGraphic::resizeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// TFxLabel

TFxLabel::TFxLabel(QWidget* parent) : TFXGraphic(parent)
{
    SetOpaque(true);
    resize(100, 30);
    RebuildBitmap();
}

void TFxLabel::TextOrFontChanged()
{
    RestartReveal();
    RefreshBitmap();
}

void TFxLabel::SetCaption(const QString& caption)
{
    if (Assign(caption_, caption))
        TextOrFontChanged();
}

void TFxLabel::SetFont(const TFont& font)
{
    if (Assign(font_, font))
        TextOrFontChanged();
}

void TFxLabel::SetColor(TColor color)
{
    if (Assign(color_, color))
        RestartReveal();
}

void TFxLabel::SetAlignment(TAlignment alignment)
{
    if (Assign(alignment_, alignment))
        RestartReveal();
}

void TFxLabel::SetTextStyle(TTextStyle style)
{
    if (Assign(textStyle_, style))
        RestartReveal();
}

void TFxLabel::SetBorderStyle(TBorderStyle style)
{
    if (Assign(borderStyle_, style))
        RestartReveal();
}

// The bevel and border setters replay the effect even when the value is the same.
void TFxLabel::SetBevelInner(TPanelBevel bevel)
{
    bevelInner_ = bevel;
    RestartReveal();
}

void TFxLabel::SetBevelOuter(TPanelBevel bevel)
{
    bevelOuter_ = bevel;
    RestartReveal();
}

void TFxLabel::SetBevelWidth(int width)
{
    bevelWidth_ = width;
    RestartReveal();
}

void TFxLabel::SetBorderWidth(int width)
{
    borderWidth_ = width;
    RestartReveal();
}

void TFxLabel::RebuildBitmap()
{
    picture_ = TBitmap(width(), height());
    UpdateCanvases();
}

void TFxLabel::RefreshBitmap()
{
    RebuildBitmap();
}

void TFxLabel::ComposePicture()
{
    RefreshBitmap();
    if (!SourceCanvas())
        return;
    TCanvas& canvas = *SourceCanvas();
    const unsigned format = DT_EXPANDTABS | DT_VCENTER | AlignmentFlags(alignment_);

    TRect r = Rect(0, 0, picture_.Width(), picture_.Height());
    if (borderStyle_ == TBorderStyle::bsSingle) {
        canvas.Brush = {clBlack, TBrushStyle::bsSolid};
        canvas.FrameRect(r);
        InflateRect(r, -1, -1);
    }
    DrawPanelFrame(canvas, r, bevelOuter_, bevelInner_, bevelWidth_, borderWidth_, color_);
    canvas.Brush = {color_, TBrushStyle::bsSolid};
    canvas.FillRect(r);
    canvas.Brush.Style = TBrushStyle::bsClear;

    // The text sits on a band one line high centred on what the frame leaves; a text taller
    // than that spills over the frame (the shift rounds down, also for negative values).
    canvas.Font = font_;
    const int lineHeight = canvas.TextHeight(QStringLiteral("W"));
    r.Top = (r.Top + r.Bottom - lineHeight) >> 1;
    r.Bottom = r.Top + lineHeight;

    if (textStyle_ != tsNone) {
        const bool raised = textStyle_ == tsRaised;
        DrawCaption(canvas, r, 1, 1, raised ? clBtnShadow : clBtnHighlight, format);
        DrawCaption(canvas, r, -1, -1, raised ? clBtnHighlight : clBtnShadow, format);
    }
    DrawCaption(canvas, r, 0, 0, font_.Color, format);
}

void TFxLabel::DrawCaption(TCanvas& canvas, TRect band, int dx, int dy, TColor color, unsigned format) const
{
    OffsetRect(band, dx, dy);
    canvas.Font.Color = color;
    canvas.DrawText(caption_.left(kMaxCaptionLength), band, format);
}
