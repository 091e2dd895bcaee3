#include "label/LblEffct.h"

#include "framework/Bitmap.h"
#include "framework/Setter.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

// How copies of the caption are placed: formatted text, the caption turned as one line, or
// each letter upright along a rising line.
enum class Placement { Unturned, Turned, Upright };

// One paint of a label: two surfaces of the label's size, the layout of this paint, and the
// steps that compose background, shadow, highlight, face and gradient. Nothing outlives it.
class LabelPainter {
public:
    LabelPainter(const TLabelEffect& label, int width, int height);
    void Run(TCanvas& canvas);

private:
    void Prepare();
    void FillBackground();
    void DrawLayer(TColor colour, TEffectOption option, int depth, TEffectDirection direction, bool highlight);
    void ApplyRealMask(bool highlight);
    void DrawFace();
    void LayGradient();
    GradientSpan Span() const;
    void DrawAt(TCanvas& surface, int ox, int oy) const;

    const TLabelEffect& label_;
    const int width_;
    const int height_;
    const TRect client_;
    const LabelOffsets offsets_;
    const Placement placement_;
    const bool graded_;
    TBitmap mask_;
    TBitmap work_;
    QString buffer_;
    TurnedTextLayout turned_;
    UprightLettersLayout upright_;
};

Placement PlacementOf(const TLabelEffect& label)
{
    if (label.Angle() == 0)
        return Placement::Unturned;
    return label.KeepLettersVertical() ? Placement::Upright : Placement::Turned;
}

AngleTrig TrigOf(const TLabelEffect& label)
{
    return {label.CosAngle(), label.SinAngle(), label.CosSquared(), label.SinSquared()};
}

LabelPainter::LabelPainter(const TLabelEffect& label, int width, int height)
    : label_(label), width_(width), height_(height), client_(Rect(0, 0, width, height)),
      offsets_(ComputeOffsets(label.DirectionHighlight(), label.DepthHighlight(), label.DirectionShadow(),
                              label.DepthShadow(), label.Alignment())),
      placement_(PlacementOf(label)),
      graded_(label.GraduateFace() == goVertical || label.GraduateFace() == goHorizontal),
      mask_(width, height), work_(width, height)
{
    // Glyphs are drawn without smoothing, so that the exact-black mask test and the key-colour
    // replacement see whole letters.
    TFont font = label.Font();
    font.Smooth = false;
    mask_.Canvas().Font = font;
    work_.Canvas().Font = font;
}

void LabelPainter::Run(TCanvas& canvas)
{
    work_.Canvas().CopyRect(client_, canvas, client_);
    if (placement_ != Placement::Unturned)
        Prepare();
    if (!label_.Transparent())
        FillBackground();
    work_.Canvas().Brush.Style = TBrushStyle::bsClear;
    buffer_ = FirstCharacters(label_.Caption(), 255);
    DrawLayer(label_.ColourShadow(), label_.StyleShadow(), label_.DepthShadow(), label_.DirectionShadow(), false);
    DrawLayer(label_.ColourHighlight(), label_.StyleHighlight(), label_.DepthHighlight(),
              label_.DirectionHighlight(), true);
    DrawFace();
    if (graded_)
        LayGradient();
    canvas.CopyRect(client_, work_.Canvas(), client_);
}

void LabelPainter::Prepare()
{
    TCanvas& work = work_.Canvas();
    const QString caption = label_.Caption();
    if (placement_ == Placement::Turned) {
        const int escapement = int(label_.Angle()) * 10;
        work.Font.Escapement = escapement;
        mask_.Canvas().Font.Escapement = escapement;
        turned_ = LayoutTurnedText(work.TextWidth(caption), work.TextHeight(caption),
                                   work.TextWidth(caption + QStringLiteral("   ")), TrigOf(label_), offsets_);
    } else {
        upright_ = LayoutUprightLetters(caption, [&work](const QString& text) { return work.TextWidth(text); },
                                        work.TextHeight(caption), TrigOf(label_), offsets_);
    }
}

void LabelPainter::FillBackground()
{
    TCanvas& work = work_.Canvas();
    work.Brush = {label_.Color(), TBrushStyle::bsSolid};
    switch (placement_) {
    case Placement::Unturned:
        work.FillRect(client_);
        break;
    case Placement::Turned:
        work.Polygon({turned_.Corners.begin(), turned_.Corners.end()});
        break;
    case Placement::Upright:
        work.Polygon(UprightBackground(label_.Angle(), upright_));
        break;
    }
}

void LabelPainter::DrawLayer(TColor colour, TEffectOption option, int depth, TEffectDirection direction,
                             bool highlight)
{
    const bool real = option == eoReal;
    TCanvas& target = real ? mask_.Canvas() : work_.Canvas();
    if (real && highlight)
        mask_.Canvas().FillRect(client_);  // wipes the shadow's mask
    const QPoint step = DirectionOffset(direction);
    for (const LayerCopy& copy : LayerCopies(colour, option, depth, label_.Font().Color)) {
        target.Font.Color = copy.Colour;
        DrawAt(target, step.x() * copy.K, step.y() * copy.K);
    }
    if (real)
        ApplyRealMask(highlight);
}

// Under every black mask pixel the picture is halved toward black (shadow) or half-way toward
// white (highlight), row by row.
void LabelPainter::ApplyRealMask(bool highlight)
{
    QImage& mask = *mask_.Canvas().Target();
    QImage& work = *work_.Canvas().Target();
    const std::uint32_t add = highlight ? 255 : 0;
    for (int y = 0; y < height_; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
        auto* out = reinterpret_cast<std::uint32_t*>(work.scanLine(y));
        for (int x = 0; x < width_; ++x) {
            if ((in[x] & 0xFFFFFF) != 0)
                continue;
            const std::uint32_t p = out[x];
            const std::uint32_t r = (((p >> 16) & 0xFF) + add) / 2;
            const std::uint32_t g = (((p >> 8) & 0xFF) + add) / 2;
            const std::uint32_t b = ((p & 0xFF) + add) / 2;
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
}

void LabelPainter::DrawFace()
{
    if (!graded_) {
        work_.Canvas().Font.Color = label_.Font().Color;
        DrawAt(work_.Canvas(), 0, 0);
        return;
    }
    // The mask surface gets the composed picture with the face in the key colour; the gradient
    // bands copy it back with the key replaced.
    TCanvas& mask = mask_.Canvas();
    mask.CopyRect(client_, work_.Canvas(), client_);
    mask.Font.Color = FaceKeyColour;
    mask.Brush.Style = TBrushStyle::bsClear;
    DrawAt(mask, 0, 0);
}

GradientSpan LabelPainter::Span() const
{
    const TGraduateOption mode = label_.GraduateFace();
    switch (placement_) {
    case Placement::Turned:
        return TurnedGradientSpan(mode, turned_);
    case Placement::Upright:
        return UprightGradientSpan(mode, upright_);
    case Placement::Unturned:
        break;
    }
    const TCanvas& work = work_.Canvas();
    const QString caption = label_.Caption();
    return UnturnedGradientSpan(mode, label_.Alignment(), offsets_, width_, work.TextWidth(caption),
                                work.TextHeight(caption));
}

void LabelPainter::LayGradient()
{
    const GradientSpan span = Span();
    const bool vertical = label_.GraduateFace() == goVertical;
    TCanvas& work = work_.Canvas();
    const QImage& mask = *mask_.Canvas().Target();
    work.Brush.Style = TBrushStyle::bsSolid;
    // Bands off the surface change nothing; only the visible ones are copied.
    const int extent = vertical ? height_ : width_;
    const int first = std::max(0, -span.Start);
    const int last = std::min(span.N, extent - 1 - span.Start);
    for (int i = first; i <= last; ++i) {
        work.Brush.Color = GradientBandColour(label_.GraduateFrom(), label_.Font().Color, span.N, i);
        const int at = span.Start + i;
        const TRect band = vertical ? Rect(0, at, width_, at + 1) : Rect(at, 0, at + 1, height_);
        work.BrushCopy(band, mask, band, FaceKeyColour);
    }
}

void LabelPainter::DrawAt(TCanvas& surface, int ox, int oy) const
{
    switch (placement_) {
    case Placement::Unturned: {
        TRect rect = TextCopyRect(offsets_, width_, height_, ox, oy);
        surface.DrawText(buffer_, rect, AlignmentFlags(label_.Alignment()) | DT_WORDBREAK | DT_EXPANDTABS);
        break;
    }
    case Placement::Turned: {
        const QPoint origin = TurnedTextOrigin(turned_, offsets_, ox, oy);
        surface.TextOut(origin.x(), origin.y(), label_.Caption());
        break;
    }
    case Placement::Upright:
        for (int i = 0; i < upright_.Letters.size(); ++i) {
            const QPoint origin = LetterOrigin(upright_, offsets_, i, ox, oy);
            surface.TextOut(origin.x(), origin.y(), upright_.Letters[i]);
        }
        break;
    }
}

} // namespace

TLabelEffect::TLabelEffect(QWidget* owner) : QWidget(owner)
{
    // The other fields start with their construction values (see the header).
    schemeColours_[csText] = {clWhite, clGray, clBlack};
    schemeColours_[csWindows] = {clWhite, clBlack, clGray};
    schemeColours_[csEmbossed] = {clWhite, clBlack, clSilver};
    schemeColours_[csGold] = {clYellow, clBlack, clOlive};
    schemeColours_[csSteel] = {clAqua, clNavy, clTeal};
    schemeColours_[csCustom] = schemeColours_[csWindows];
    graduateFrom_ = font_.Color;  // the framework's default font colour, before the face colour below
    resize(142, 33);
    font_.Color = schemeColours_[csWindows][2];
    font_.Name = QStringLiteral("Times New Roman");
    font_.SetSize(20);
    // Every paint covers the whole client rectangle with the composed picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TLabelEffect::Invalidate()
{
    update();
}

void TLabelEffect::StyleChangedDirectly()
{
    if (!updatingStyle_)
        SetEffectStyle(esCustom);
    Invalidate();
}

void TLabelEffect::SetDepthHighlight(TEffectDepth depth)
{
    if (Assign(depthHighlight_, depth))
        StyleChangedDirectly();
}

void TLabelEffect::SetDepthShadow(TEffectDepth depth)
{
    if (Assign(depthShadow_, depth))
        StyleChangedDirectly();
}

void TLabelEffect::SetDirectionHighlight(TEffectDirection direction)
{
    if (Assign(directionHighlight_, direction))
        StyleChangedDirectly();
}

void TLabelEffect::SetDirectionShadow(TEffectDirection direction)
{
    if (Assign(directionShadow_, direction))
        StyleChangedDirectly();
}

void TLabelEffect::SetColourHighlight(TColor colour)
{
    if (!Assign(colourHighlight_, colour))
        return;
    schemeColours_[csCustom][0] = colour;
    if (!updatingScheme_)
        SetColourScheme(csCustom);
    Invalidate();
}

void TLabelEffect::SetColourShadow(TColor colour)
{
    if (!Assign(colourShadow_, colour))
        return;
    schemeColours_[csCustom][1] = colour;
    if (!updatingScheme_)
        SetColourScheme(csCustom);
    Invalidate();
}

void TLabelEffect::SetGraduateFace(TGraduateOption option)
{
    if (Assign(graduateFace_, option))
        Invalidate();
}

void TLabelEffect::SetGraduateFrom(TColor colour)
{
    if (Assign(graduateFrom_, colour) && graduateFace_ != goNone)
        Invalidate();
}

void TLabelEffect::SetStyleHighlight(TEffectOption option)
{
    if (Assign(styleHighlight_, option))
        Invalidate();
}

void TLabelEffect::SetStyleShadow(TEffectOption option)
{
    if (Assign(styleShadow_, option))
        Invalidate();
}

void TLabelEffect::SetEffectStyle(TEffectStyle style)
{
    if (effectStyle_ == style)
        return;
    // Both flags keep the setters below from switching the presets to their custom values.
    updatingStyle_ = true;
    updatingScheme_ = true;
    effectStyle_ = style;
    if (colourScheme_ <= csSteel)
        SetColourHighlight(schemeColours_[colourScheme_][0]);
    switch (style) {
    case esNone:
        SetDirectionHighlight(edNone);
        SetDirectionShadow(edNone);
        SetDepthHighlight(0);
        SetDepthShadow(0);
        SetAsButton(false);
        break;
    case esCustom:
        SetAsButton(false);
        break;
    case esRaised:
        SetDirectionHighlight(edUpLeft);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(1);
        SetDepthShadow(1);
        break;
    case esSunken:
        SetDirectionHighlight(edDownRight);
        SetDirectionShadow(edUpLeft);
        SetDepthHighlight(1);
        SetDepthShadow(1);
        break;
    case esShadow:
        SetDirectionHighlight(edNone);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(0);
        SetDepthShadow(2);
        SetAsButton(false);
        break;
    case esFlying:
        SetDirectionHighlight(edDownRight);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(1);
        SetDepthShadow(5);
        if (colourScheme_ <= csSteel)
            SetColourHighlight(schemeColours_[colourScheme_][1]);
        SetAsButton(false);
        break;
    }
    updatingStyle_ = false;
    updatingScheme_ = false;
}

void TLabelEffect::SetColourScheme(TColourScheme scheme)
{
    if (colourScheme_ == scheme)
        return;
    updatingScheme_ = true;
    colourScheme_ = scheme;
    // A scheme outside the enumeration has no row: it is stored and changes no colour.
    if (scheme <= csSteel) {
        const TSchemeRow row = schemeColours_[scheme];
        SetColourHighlight(row[0]);
        SetFontColour(row[2]);
        SetColourShadow(row[1]);
        if (scheme != csCustom)
            schemeColours_[csCustom] = row;
    }
    updatingScheme_ = false;
}

void TLabelEffect::SetAsButton(bool asButton)
{
    if (Assign(asButton_, asButton) && asButton)
        SetEffectStyle(esRaised);
}

void TLabelEffect::SetAngle(TAngleRange angle)
{
    if (!Assign(angle_, angle))
        return;
    trig_ = ComputeAngleTrig(angle);
    if (angle != 0)
        SetAlignment(taLeftJustify);
    Invalidate();
}

void TLabelEffect::SetKeepLettersVertical(bool keep)
{
    if (Assign(keepLettersVertical_, keep) && angle_ != 0)
        Invalidate();
}

TLabelEffect::TSchemeRow TLabelEffect::SchemeColours(TColourScheme scheme) const
{
    return scheme <= csSteel ? schemeColours_[scheme] : TSchemeRow{};
}

void TLabelEffect::SetAlignment(TAlignment alignment)
{
    if (Assign(alignment_, alignment))
        Invalidate();
}

void TLabelEffect::SetCaption(const QString& caption)
{
    if (Assign(caption_, caption))
        Invalidate();
}

void TLabelEffect::SetColor(TColor color)
{
    if (Assign(color_, color))
        Invalidate();
}

void TLabelEffect::SetFont(const TFont& font)
{
    if (Assign(font_, font))
        Invalidate();
}

void TLabelEffect::SetFontColour(TColor colour)
{
    TFont font = font_;
    font.Color = colour;
    SetFont(font);
}

void TLabelEffect::SetTransparent(bool transparent)
{
    if (Assign(transparent_, transparent))
        Invalidate();
}

QStringList TLabelEffect::StoredProperties() const
{
    const std::pair<const char*, bool> differs[] = {
        {"DepthHighlight", depthHighlight_ != 1},
        {"DepthShadow", depthShadow_ != 1},
        {"DirectionHighlight", directionHighlight_ != edUpLeft},
        {"DirectionShadow", directionShadow_ != edDownRight},
        {"ColourHighlight", colourHighlight_ != clWhite},
        {"ColourShadow", colourShadow_ != clBlack},
        {"GraduateFace", graduateFace_ != goNone},
        {"GraduateFrom", graduateFrom_ != clGray},
        {"StyleHighlight", styleHighlight_ != eoNormal},
        {"StyleShadow", styleShadow_ != eoNormal},
        {"EffectStyle", effectStyle_ != esRaised},
        {"ColourScheme", colourScheme_ != csWindows},
        {"AsButton", asButton_},
        {"Angle", angle_ != 0},
        {"KeepLettersVertical", keepLettersVertical_},
    };
    QStringList names;
    for (const auto& [name, stored] : differs)
        if (stored)
            names.append(QLatin1String(name));
    return names;
}

bool TLabelEffect::Inside(int x, int y) const
{
    return x >= 0 && x <= width() && y >= 0 && y <= height();
}

bool TLabelEffect::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int, int)
{
    if (!asButton_)
        return false;
    if (button == Qt::LeftButton && effectStyle_ != esSunken && isEnabled())
        SetEffectStyle(esSunken);
    return true;
}

bool TLabelEffect::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y)
{
    if (!asButton_)
        return false;
    const bool onlyLeft = buttons == Qt::LeftButton
        && !(shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (onlyLeft)
        SetEffectStyle(Inside(x, y) ? esSunken : esRaised);
    return true;
}

bool TLabelEffect::MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    if (!asButton_)
        return false;
    if (Inside(x, y))
        SetEffectStyle(esRaised);
    return true;
}

bool TLabelEffect::event(QEvent* event)
{
    // Qt holds mouse events back from a disabled widget, but a button pressed before the label
    // was disabled still rises when released over it, and still follows the drag.
    if (!isEnabled() && (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseMove)
            mouseMoveEvent(mouse);
        else
            mouseReleaseEvent(mouse);
        return true;
    }
    return QWidget::event(event);
}

void TLabelEffect::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!MouseDown(event->button(), event->modifiers(), at.x(), at.y()))
        QWidget::mousePressEvent(event);
}

void TLabelEffect::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!MouseMove(event->buttons(), event->modifiers(), at.x(), at.y()))
        QWidget::mouseMoveEvent(event);
}

void TLabelEffect::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!MouseUp(event->button(), event->modifiers(), at.x(), at.y()))
        QWidget::mouseReleaseEvent(event);
}

QImage TLabelEffect::CaptureBackground() const
{
    QImage image(size(), QImage::Format_RGB32);
    QWidget* parent = parentWidget();
    if (!parent) {
        image.fill(ToQColor(color_));
        return image;
    }
    // The parent's own paint, without its children, over the label's rectangle.
    image.fill(parent->palette().color(parent->backgroundRole()));
    parent->render(&image, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    return image;
}

void TLabelEffect::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    QImage surface = CaptureBackground();
    TCanvas canvas(&surface);
    Paint(canvas);
    QPainter(this).drawImage(0, 0, surface);
}

void TLabelEffect::Paint(TCanvas& canvas) const
{
    if (width() <= 0 || height() <= 0)
        return;
    LabelPainter(*this, width(), height()).Run(canvas);
}
