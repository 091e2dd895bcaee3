#include "effects/FxImage.h"
#include "framework/Hints.h"
#include "tests/support/TestSupport.h"

#include <QPalette>
#include <gtest/gtest.h>
#include <set>

namespace {

// Every test starts with effects drawn at once; the reveal tests set a reveal time of their own.
class FxControls : public ::testing::Test {
protected:
    void SetUp() override { TFXGraphic::SetRevealTime(0); }
    void TearDown() override { TFXGraphic::SetRevealTime(500); }
};

constexpr TColor kGreen = RGB(0, 0x80, 0);

TBitmap FilledPicture(int width, int height, TColor color)
{
    TBitmap picture(width, height);
    picture.Canvas().Brush.Color = color;
    picture.Canvas().FillRect(Rect(0, 0, width, height));
    return picture;
}

TFont PlainFont(int height, TColor color)
{
    TFont font = MakeFont(QStringLiteral("Arial"), height, color);
    font.Smooth = false;  // exact colours only
    return font;
}

QImage Shot(QWidget& widget)
{
    return widget.grab().toImage();
}

// A flat label: no bevel, no embossing, black text.
void MakeFlat(TFxLabel& label, QSize size, int fontHeight, const QString& caption)
{
    label.resize(size);
    label.SetBevelOuter(TPanelBevel::bvNone);
    label.SetTextStyle(tsNone);
    label.SetFont(PlainFont(fontHeight, clBlack));
    label.SetCaption(caption);
}

TEST_F(FxControls, EffectAndBoxWidthAreClampedAndDoNotRepaint)
{
    TFxLabel label;
    EXPECT_EQ(label.Effect(), 0);
    EXPECT_EQ(label.BoxWidth(), 5);
    label.SetBoxWidth(1);
    EXPECT_EQ(label.BoxWidth(), 2);
    label.SetBoxWidth(300);
    EXPECT_EQ(label.BoxWidth(), 255);
    label.SetEffect(50);
    EXPECT_EQ(label.Effect(), 41);

    TFXGraphic::SetRevealTime(500);
    label.FinishReveal();
    label.SetEffect(1);
    label.SetBoxWidth(2);
    EXPECT_FALSE(label.Revealing());
}

TEST_F(FxControls, ImageTakesThePicturesSizeWithAutoSizeAndIsOpaqueOnlyWhenFilled)
{
    QWidget parent;  // green, to see where a control lets it show through
    QPalette green = parent.palette();
    green.setColor(QPalette::Window, ToQColor(kGreen));
    parent.setPalette(green);
    parent.setAutoFillBackground(true);
    parent.resize(200, 200);

    TFxImage image(&parent);
    EXPECT_EQ(image.size(), QSize(105, 105));
    EXPECT_EQ(image.SourceCanvas(), nullptr);
    image.SetAutoSize(true);
    image.SetPicture(FilledPicture(120, 136, clRed));
    EXPECT_EQ(image.size(), QSize(120, 136));
    EXPECT_TRUE(image.Opaque());
    EXPECT_EQ(PixelAt(Shot(image), 119, 135), clRed);
    image.hide();

    // Without AutoSize a smaller picture sits in the top-left corner over the parent.
    TFxImage small(&parent);
    small.SetEffect(35);
    small.SetBoxWidth(2);
    small.SetPicture(FilledPicture(50, 50, clBlue));
    EXPECT_EQ(small.size(), QSize(105, 105));
    EXPECT_FALSE(small.Opaque());
    QImage shot = Shot(parent);
    EXPECT_EQ(PixelAt(shot, 49, 49), clBlue);
    EXPECT_EQ(PixelAt(shot, 50, 50), kGreen);
    EXPECT_EQ(PixelAt(shot, 104, 0), kGreen);

    // A new, smaller picture: the parent shows again where the old one was.
    small.SetPicture(FilledPicture(20, 20, clYellow));
    shot = Shot(parent);
    EXPECT_EQ(PixelAt(shot, 19, 19), clYellow);
    EXPECT_EQ(PixelAt(shot, 30, 30), kGreen);
    small.SetPicture(TBitmap());
    EXPECT_EQ(small.SourceCanvas(), nullptr);
    EXPECT_EQ(PixelAt(Shot(parent), 5, 5), kGreen);
}

TEST_F(FxControls, LabelFrameRingsInsetTheFill)
{
    TFxLabel label;
    EXPECT_EQ(label.size(), QSize(100, 30));
    EXPECT_TRUE(label.Opaque());
    EXPECT_EQ(label.Color(), clBtnFace);
    EXPECT_EQ(label.Alignment(), taCenter);
    EXPECT_EQ(label.TextStyle(), tsRaised);
    EXPECT_EQ(label.BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(label.SourceCanvas()->ClipRect(), Rect(0, 0, 100, 30));
    QImage shot = Shot(label);
    EXPECT_EQ(PixelAt(shot, 0, 0), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(shot, 99, 0), kTestBtnShadow);  // the top-right corner takes the bottom colour
    EXPECT_EQ(PixelAt(shot, 50, 15), kTestBtnFace);

    label.resize(40, 30);
    label.SetBorderStyle(TBorderStyle::bsSingle);
    label.SetBevelWidth(2);
    label.SetBorderWidth(3);
    label.SetColor(clRed);
    shot = Shot(label);
    // Black line, two bevel rings, three border rings in the label's colour, then the fill.
    const std::vector<TColor> topLeft{clBlack, kTestBtnHighlight, kTestBtnHighlight, clRed, clRed, clRed, clRed};
    const std::vector<TColor> bottomRight{clBlack, kTestBtnShadow, kTestBtnShadow, clRed, clRed, clRed, clRed};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(PixelAt(shot, k, k), topLeft[size_t(k)]) << k;
        EXPECT_EQ(PixelAt(shot, 39 - k, 29 - k), bottomRight[size_t(k)]) << k;
    }
    EXPECT_EQ(PixelAt(shot, 1, 28), kTestBtnShadow);  // the bottom-left corner of a ring

    // An inner bevel starts 1 + 2 + 3 = 6 pixels in, and the fill after it.
    label.SetBevelInner(TPanelBevel::bvLowered);
    shot = Shot(label);
    EXPECT_EQ(PixelAt(shot, 5, 5), clRed);
    EXPECT_EQ(PixelAt(shot, 6, 6), kTestBtnShadow);
    EXPECT_EQ(PixelAt(shot, 7, 7), kTestBtnShadow);
    EXPECT_EQ(PixelAt(shot, 8, 8), clRed);
    EXPECT_EQ(PixelAt(shot, 33, 23), kTestBtnHighlight);
}

TEST_F(FxControls, EmbossedTextInTheFaceColourShowsOnlyItsShadowAndHighlight)
{
    const QString caption = QStringLiteral("Mozik 1234");
    const QSize size(140, 36);
    TFxLabel flat;
    MakeFlat(flat, size, 21, caption);
    const QImage ink = Shot(flat);
    auto inked = [&ink](int x, int y) { return ink.rect().contains(x, y) && PixelAt(ink, x, y) == clBlack; };

    for (TTextStyle style : {tsRaised, tsRecessed}) {
        TFxLabel label;
        MakeFlat(label, size, 21, caption);
        label.SetFont(PlainFont(21, clBtnFace));
        label.SetTextStyle(style);
        const QImage shot = Shot(label);
        // The face covers the glyphs; the copy drawn up-left lies over the one drawn down-right.
        const TColor upLeft = style == tsRaised ? kTestBtnHighlight : kTestBtnShadow;
        const TColor downRight = style == tsRaised ? kTestBtnShadow : kTestBtnHighlight;
        int mismatches = 0, embossed = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                TColor expected = kTestBtnFace;
                if (!inked(x, y) && inked(x + 1, y + 1))
                    expected = upLeft;
                else if (!inked(x, y) && inked(x - 1, y - 1))
                    expected = downRight;
                mismatches += PixelAt(shot, x, y) != expected;
                embossed += expected != kTestBtnFace;
            }
        EXPECT_GT(embossed, 50);
        EXPECT_EQ(mismatches, 0) << "style " << style;
    }
}

// The leftmost and rightmost columns holding a black pixel.
std::pair<int, int> InkExtent(const QImage& shot)
{
    int left = shot.width(), right = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (PixelAt(shot, x, y) == clBlack) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST_F(FxControls, LabelTextFollowsTheAlignmentOnABandCentredOnTheMiddle)
{
    TFxLabel label;
    MakeFlat(label, QSize(200, 30), 16, QStringLiteral("HHH"));
    label.SetAlignment(taLeftJustify);
    EXPECT_LT(InkExtent(Shot(label)).first, 5);
    label.SetAlignment(taRightJustify);
    EXPECT_GT(InkExtent(Shot(label)).second, 194);
    label.SetAlignment(taCenter);
    const auto centre = InkExtent(Shot(label));
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 100, 3);

    // A text taller than the label is drawn across its middle, over the frame.
    TFxLabel low;
    MakeFlat(low, QSize(80, 8), 40, QStringLiteral("WW"));
    low.SetBevelOuter(TPanelBevel::bvRaised);
    const QImage shot = Shot(low);
    EXPECT_GE(InkExtent(shot.copy(0, 0, 80, 1)).second, 0);
    EXPECT_GE(InkExtent(shot.copy(0, 7, 80, 1)).second, 0);

    // The band's top is halved rounding down, also below zero: with an odd
    // (top + bottom - text height) the text sits a pixel higher than in a label a pixel taller.
    TCanvas measure;
    measure.Font = PlainFont(40, clBlack);
    const int lineHeight = measure.TextHeight(QStringLiteral("W"));
    int oddHeight = lineHeight / 2;
    if ((oddHeight - lineHeight) % 2 == 0)
        ++oddHeight;
    TFxLabel shorter, taller;
    MakeFlat(shorter, QSize(60, oddHeight), 40, QStringLiteral("H"));
    MakeFlat(taller, QSize(60, oddHeight + 1), 40, QStringLiteral("H"));
    EXPECT_EQ(Shot(shorter), Shot(taller).copy(0, 1, 60, oddHeight));
}

TEST_F(FxControls, TimeDisplayKeepsItsLookWhenDisabled)
{
    TFxLabel time;
    time.resize(124, 38);
    time.SetCaption(QString::fromUtf8("Время : 0"));
    time.SetBevelOuter(TPanelBevel::bvLowered);
    TFont font = PlainFont(21, clBtnFace);
    font.Bold = true;
    time.SetFont(font);
    SetHint(&time, QString::fromUtf8("А время идет ..."));
    TFXGraphic::SetRevealTime(500);  // effect 0 draws at once all the same

    const QImage enabled = Shot(time);
    EXPECT_FALSE(time.Revealing());
    EXPECT_EQ(PixelAt(enabled, 0, 0), kTestBtnShadow);
    EXPECT_EQ(PixelAt(enabled, 123, 37), kTestBtnHighlight);
    std::set<TColor> colours;
    for (int y = 1; y < 37; ++y)
        for (int x = 1; x < 123; ++x)
            colours.insert(PixelAt(enabled, x, y));
    EXPECT_EQ(colours, (std::set<TColor>{kTestBtnFace, kTestBtnShadow, kTestBtnHighlight}));

    time.setEnabled(false);
    EXPECT_FALSE(time.Revealing());
    EXPECT_EQ(Shot(time), enabled);
    time.SetCaption(QString::fromUtf8("Время : 1"));
    EXPECT_NE(Shot(time), enabled);
    EXPECT_FALSE(time.Revealing());
}

// Red text on white, revealed left to right in 133 columns of 9 boxes.
void MakeRevealLabel(TFxLabel& label)
{
    MakeFlat(label, QSize(265, 17), 13, QStringLiteral("Kasparov"));
    label.SetFont(PlainFont(13, clRed));
    label.SetColor(clWhite);
    label.SetEffect(1);
    label.SetBoxWidth(2);
}

TEST_F(FxControls, RevealPlaysThePaintersCopiesInOrderOverAboutHalfASecond)
{
    TFxLabel finished;
    MakeRevealLabel(finished);
    const QImage whole = Shot(finished);  // drawn at once

    TFXGraphic::SetRevealTime(500);
    TFxLabel label;
    MakeRevealLabel(label);
    label.show();
    EXPECT_TRUE(label.Revealing());
    QImage frame = Shot(label);
    EXPECT_EQ(label.RevealCopyCount(), 133 * 9);
    const int firstFrame = label.RevealedCopies();
    EXPECT_GT(firstFrame, 0);
    EXPECT_LT(firstFrame, 133 * 9 / 10);
    EXPECT_EQ(PixelAt(frame, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(frame, 264, 0), kTestBtnFace);  // not reached yet: the background beneath

    // A paint during the reveal shows how far it has come.
    label.StepReveal();
    const int secondFrame = label.RevealedCopies();
    EXPECT_EQ(secondFrame, 2 * firstFrame);
    frame = Shot(label);
    EXPECT_EQ(label.RevealedCopies(), secondFrame);
    const int revealedWidth = secondFrame / 9 * 2;  // whole columns of boxes
    for (int x = 0; x < 265; ++x) {
        if (x < revealedWidth) {
            EXPECT_EQ(frame.pixel(x, 8), whole.pixel(x, 8)) << x;
        } else if (x >= revealedWidth + 2) {
            EXPECT_EQ(PixelAt(frame, x, 8), kTestBtnFace) << x;
        }
    }

    int frames = 2;
    while (label.Revealing() && frames < 1000) {
        label.StepReveal();
        ++frames;
    }
    EXPECT_NEAR(frames * TFXGraphic::kRevealFrameInterval, TFXGraphic::RevealTime(), TFXGraphic::kRevealFrameInterval);
    EXPECT_EQ(Shot(label), whole);
}

TEST_F(FxControls, RevealReplaysOnShowAndAfterEachChangeOfWhatTheLabelShows)
{
    TFXGraphic::SetRevealTime(500);
    TFxLabel label;
    MakeRevealLabel(label);
    label.show();
    auto replays = [&label](const char* what, bool expected, auto change) {
        label.FinishReveal();
        change();
        EXPECT_EQ(label.Revealing(), expected) << what;
    };
    replays("caption", true, [&] { label.SetCaption(QStringLiteral("Karpov")); });
    replays("same caption", false, [&] { label.SetCaption(QStringLiteral("Karpov")); });
    replays("font", true, [&] { label.SetFont(PlainFont(12, clRed)); });
    replays("alignment", true, [&] { label.SetAlignment(taLeftJustify); });
    replays("same alignment", false, [&] { label.SetAlignment(taLeftJustify); });
    replays("text style", true, [&] { label.SetTextStyle(tsRecessed); });
    replays("border style", true, [&] { label.SetBorderStyle(TBorderStyle::bsSingle); });
    replays("same bevel", true, [&] { label.SetBevelInner(label.BevelInner()); });
    replays("bevel width", true, [&] { label.SetBevelWidth(2); });
    replays("border width", true, [&] { label.SetBorderWidth(1); });
    replays("colour", true, [&] { label.SetColor(clYellow); });
    replays("same colour", false, [&] { label.SetColor(clYellow); });
    replays("size", true, [&] { label.resize(265, 18); });
    replays("effect", false, [&] { label.SetEffect(37); });
    replays("box width", false, [&] { label.SetBoxWidth(8); });
    replays("enabled", false, [&] { label.setEnabled(false); });
    replays("a paint", false, [&] { Shot(label); });
    replays("hide and show", true, [&] {
        label.hide();
        label.show();
    });

    // The reveal of an opaque label plays over what it showed before.
    MakeRevealLabel(label);
    label.FinishReveal();
    const QImage before = Shot(label);
    int inkX = 20;  // beyond the first frame
    while (inkX < 265 && PixelAt(before, inkX, 8) != clRed)
        ++inkX;
    ASSERT_LT(inkX, 265);
    label.SetCaption(QString());
    EXPECT_EQ(PixelAt(Shot(label), inkX, 8), clRed);  // the first frame is further left
    label.FinishReveal();
    EXPECT_EQ(PixelAt(Shot(label), inkX, 8), clWhite);
}

TEST_F(FxControls, ImageRevealsEveryNewPicture)
{
    TFXGraphic::SetRevealTime(500);
    TFxImage image;
    image.SetEffect(35);
    image.SetBoxWidth(2);
    image.SetAutoSize(true);
    image.SetPicture(FilledPicture(120, 136, clBlue));
    image.FinishReveal();
    EXPECT_EQ(image.RevealCopyCount(), 61 * 69);
    image.SetPicture(FilledPicture(120, 136, clLime));
    EXPECT_TRUE(image.Revealing());
    image.FinishReveal();
    EXPECT_EQ(PixelAt(Shot(image), 119, 135), clLime);
}

} // namespace
