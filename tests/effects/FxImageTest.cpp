#include "effects/FxImage.h"
#include "framework/Hints.h"
#include "tests/support/TestSupport.h"

#include <QPalette>
#include <gtest/gtest.h>
#include <set>

namespace {

// Every test here starts with the reveal drawn at once; the reveal tests set their own time.
class FxControls : public ::testing::Test {
protected:
    void SetUp() override { TFXGraphic::SetRevealTime(0); }
    void TearDown() override { TFXGraphic::SetRevealTime(500); }
};

TBitmap FilledPicture(int width, int height, TColor color)
{
    TBitmap picture(width, height);
    picture.Canvas().Brush.Color = color;
    picture.Canvas().FillRect(Rect(0, 0, width, height));
    return picture;
}

TFont PlainFont(const QString& name, int height, TColor color)
{
    TFont font = MakeFont(name, height, color);
    font.Smooth = false;  // exact colours only
    return font;
}

QImage Shot(QWidget& widget)
{
    return widget.grab().toImage();
}

// A parent with a colour of its own, to see where a control lets it show through.
struct GreenParent : QWidget {
    GreenParent()
    {
        QPalette green = palette();
        green.setColor(QPalette::Window, QColor(0, 0x80, 0));
        setPalette(green);
        setAutoFillBackground(true);
        resize(200, 200);
    }
};

TEST_F(FxControls, EffectAndBoxWidthAreClampedAndDoNotRepaint)
{
    TFxLabel label;
    EXPECT_EQ(label.Effect(), 0);
    EXPECT_EQ(label.BoxWidth(), 5);
    label.SetBoxWidth(1);
    EXPECT_EQ(label.BoxWidth(), 2);
    label.SetBoxWidth(0);
    EXPECT_EQ(label.BoxWidth(), 2);
    label.SetBoxWidth(300);
    EXPECT_EQ(label.BoxWidth(), 255);
    label.SetEffect(50);
    EXPECT_EQ(label.Effect(), 41);
    label.SetEffect(37);
    EXPECT_EQ(label.Effect(), 37);

    TFXGraphic::SetRevealTime(500);
    label.FinishReveal();
    label.SetEffect(1);
    label.SetBoxWidth(2);
    EXPECT_FALSE(label.Revealing());
}

TEST_F(FxControls, ImageTakesThePicturesSizeWithAutoSizeAndIsOpaqueWhenFilled)
{
    GreenParent parent;
    TFxImage image(&parent);
    EXPECT_EQ(image.size(), QSize(105, 105));
    EXPECT_EQ(image.SourceCanvas(), nullptr);
    EXPECT_FALSE(image.Opaque());

    image.SetAutoSize(true);
    image.SetPicture(FilledPicture(120, 136, clRed));
    EXPECT_EQ(image.size(), QSize(120, 136));
    EXPECT_TRUE(image.Opaque());
    ASSERT_NE(image.SourceCanvas(), nullptr);
    EXPECT_EQ(PixelAt(Shot(image), 119, 135), clRed);

    // Without AutoSize a smaller picture sits in the top-left corner over the parent.
    TFxImage small(&parent);
    small.move(0, 0);
    small.SetEffect(35);
    small.SetBoxWidth(2);
    small.SetPicture(FilledPicture(50, 50, clBlue));
    EXPECT_EQ(small.size(), QSize(105, 105));
    EXPECT_FALSE(small.Opaque());
    image.hide();
    const QImage shot = Shot(parent);
    EXPECT_EQ(PixelAt(shot, 0, 0), clBlue);
    EXPECT_EQ(PixelAt(shot, 49, 49), clBlue);
    EXPECT_EQ(PixelAt(shot, 50, 50), RGB(0, 0x80, 0));
    EXPECT_EQ(PixelAt(shot, 104, 0), RGB(0, 0x80, 0));

    // A new, smaller picture replaces the old one: the parent shows where the old one was.
    small.SetPicture(FilledPicture(20, 20, clYellow));
    const QImage replaced = Shot(parent);
    EXPECT_EQ(PixelAt(replaced, 19, 19), clYellow);
    EXPECT_EQ(PixelAt(replaced, 30, 30), RGB(0, 0x80, 0));
    // An empty picture shows nothing at all.
    small.SetPicture(TBitmap());
    EXPECT_EQ(small.SourceCanvas(), nullptr);
    EXPECT_EQ(PixelAt(Shot(parent), 5, 5), RGB(0, 0x80, 0));
}

TEST_F(FxControls, LabelStartsAsARaisedButtonFacePanelWithEmbossedCentredText)
{
    TFxLabel label;
    EXPECT_EQ(label.size(), QSize(100, 30));
    EXPECT_TRUE(label.Opaque());
    EXPECT_EQ(label.Color(), clBtnFace);
    EXPECT_EQ(label.Alignment(), taCenter);
    EXPECT_EQ(label.TextStyle(), tsRaised);
    EXPECT_EQ(label.BevelInner(), TPanelBevel::bvNone);
    EXPECT_EQ(label.BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(label.BevelWidth(), 1);
    EXPECT_EQ(label.BorderWidth(), 0);
    EXPECT_EQ(label.BorderStyle(), TBorderStyle::bsNone);
    ASSERT_NE(label.SourceCanvas(), nullptr);
    EXPECT_EQ(label.SourceCanvas()->ClipRect(), Rect(0, 0, 100, 30));

    const QImage shot = Shot(label);
    EXPECT_EQ(PixelAt(shot, 0, 0), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(shot, 99, 0), kTestBtnShadow);  // the top-right corner takes the bottom colour
    EXPECT_EQ(PixelAt(shot, 99, 29), kTestBtnShadow);
    EXPECT_EQ(PixelAt(shot, 50, 15), kTestBtnFace);
}

TEST_F(FxControls, LabelFrameLayersInsetTheFill)
{
    TFxLabel label;
    label.resize(40, 30);
    label.SetBorderStyle(TBorderStyle::bsSingle);
    label.SetBevelOuter(TPanelBevel::bvRaised);
    label.SetBevelWidth(2);
    label.SetBorderWidth(3);
    label.SetColor(clRed);
    QImage shot = Shot(label);
    // Black border, two rings of bevel, three of border in the label's colour, then the fill.
    const std::vector<TColor> fromTopLeft{clBlack, kTestBtnHighlight, kTestBtnHighlight, clRed, clRed, clRed, clRed};
    const std::vector<TColor> fromBottomRight{clBlack, kTestBtnShadow, kTestBtnShadow, clRed, clRed, clRed, clRed};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(PixelAt(shot, k, k), fromTopLeft[size_t(k)]) << k;
        EXPECT_EQ(PixelAt(shot, 39 - k, 29 - k), fromBottomRight[size_t(k)]) << k;
    }
    EXPECT_EQ(PixelAt(shot, 1, 28), kTestBtnShadow);  // bottom-left corner of the ring

    // An inner bevel starts where the border ends: 1 + 2 + 3 = 6 pixels in.
    label.SetBevelInner(TPanelBevel::bvLowered);
    shot = Shot(label);
    EXPECT_EQ(PixelAt(shot, 5, 5), clRed);
    EXPECT_EQ(PixelAt(shot, 6, 6), kTestBtnShadow);
    EXPECT_EQ(PixelAt(shot, 7, 7), kTestBtnShadow);
    EXPECT_EQ(PixelAt(shot, 8, 8), clRed);
    EXPECT_EQ(PixelAt(shot, 33, 23), kTestBtnHighlight);
    EXPECT_EQ(PixelAt(shot, 31, 21), clRed);
}

// The pixels of a label's text drawn flat in black.
std::set<std::pair<int, int>> TextMask(const QString& caption, const TFont& font, QSize size)
{
    TFxLabel flat;
    flat.resize(size);
    flat.SetBevelOuter(TPanelBevel::bvNone);
    flat.SetTextStyle(tsNone);
    TFont black = font;
    black.Color = clBlack;
    flat.SetFont(black);
    flat.SetCaption(caption);
    const QImage shot = Shot(flat);
    std::set<std::pair<int, int>> mask;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (PixelAt(shot, x, y) == clBlack)
                mask.insert({x, y});
    return mask;
}

TEST_F(FxControls, EmbossedTextInTheFaceColourShowsOnlyItsShadowAndHighlight)
{
    const QString caption = QStringLiteral("Mozik 1234");
    const TFont font = PlainFont(QStringLiteral("Arial"), 21, clBtnFace);
    const QSize size(140, 36);
    const auto mask = TextMask(caption, font, size);
    ASSERT_GT(mask.size(), 50u);

    for (TTextStyle style : {tsRaised, tsRecessed}) {
        TFxLabel label;
        label.resize(size);
        label.SetBevelOuter(TPanelBevel::bvNone);
        label.SetTextStyle(style);
        label.SetFont(font);
        label.SetCaption(caption);
        const QImage shot = Shot(label);
        // The face covers the glyphs; the layer drawn up-left lies over the one drawn down-right.
        const TColor upLeft = style == tsRaised ? kTestBtnHighlight : kTestBtnShadow;
        const TColor downRight = style == tsRaised ? kTestBtnShadow : kTestBtnHighlight;
        int mismatches = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                TColor expected = kTestBtnFace;
                if (mask.count({x, y}) == 0) {
                    if (mask.count({x + 1, y + 1}))
                        expected = upLeft;
                    else if (mask.count({x - 1, y - 1}))
                        expected = downRight;
                }
                mismatches += PixelAt(shot, x, y) != expected;
            }
        EXPECT_EQ(mismatches, 0) << "style " << style;
    }
}

// The leftmost and rightmost columns that hold a black pixel.
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

TEST_F(FxControls, LabelTextFollowsTheAlignmentAndABandCentredOnTheMiddle)
{
    TFxLabel label;
    label.resize(200, 30);
    label.SetBevelOuter(TPanelBevel::bvNone);
    label.SetTextStyle(tsNone);
    label.SetFont(PlainFont(QStringLiteral("Arial"), 16, clBlack));
    label.SetCaption(QStringLiteral("HHH"));
    label.SetAlignment(taLeftJustify);
    const auto left = InkExtent(Shot(label));
    label.SetAlignment(taRightJustify);
    const auto right = InkExtent(Shot(label));
    label.SetAlignment(taCenter);
    const auto centre = InkExtent(Shot(label));
    ASSERT_GE(left.second, 0);
    EXPECT_LT(left.first, 5);
    EXPECT_GT(right.second, 194);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 100, 3);

    // A text taller than the label is drawn across its middle, over the frame.
    TFxLabel low;
    low.resize(80, 8);
    low.SetTextStyle(tsNone);
    low.SetFont(PlainFont(QStringLiteral("Arial"), 40, clBlack));
    low.SetCaption(QStringLiteral("WW"));
    const QImage shot = Shot(low);
    int blackOnTop = 0, blackOnBottom = 0;
    for (int x = 0; x < 80; ++x) {
        blackOnTop += PixelAt(shot, x, 0) == clBlack;
        blackOnBottom += PixelAt(shot, x, 7) == clBlack;
    }
    EXPECT_GT(blackOnTop, 0);
    EXPECT_GT(blackOnBottom, 0);
}

TEST_F(FxControls, TimeDisplayKeepsItsLookWhenDisabled)
{
    TFxLabel time;
    time.resize(124, 38);
    time.SetCaption(QString::fromUtf8("Время : 0"));
    time.SetAlignment(taCenter);
    time.SetBevelOuter(TPanelBevel::bvLowered);
    time.SetColor(clBtnFace);
    TFont font = PlainFont(QStringLiteral("Arial"), 21, clBtnFace);
    font.Bold = true;
    time.SetFont(font);
    time.SetTextStyle(tsRaised);
    time.SetEffect(0);
    SetHint(&time, QString::fromUtf8("А время идет ..."));
    SetShowHint(&time, false);
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
    EXPECT_EQ(Hint(&time), QString::fromUtf8("А время идет ..."));

    // A new caption is drawn at once.
    time.SetCaption(QString::fromUtf8("Время : 1"));
    EXPECT_NE(Shot(time), enabled);
    EXPECT_FALSE(time.Revealing());
}

// A label whose picture differs from its surroundings everywhere: red text on white.
void MakeRevealLabel(TFxLabel& label)
{
    label.resize(265, 17);
    label.SetEffect(1);
    label.SetBoxWidth(2);
    label.SetColor(clWhite);
    label.SetBevelOuter(TPanelBevel::bvNone);
    label.SetTextStyle(tsNone);
    label.SetFont(PlainFont(QStringLiteral("Arial"), 13, clRed));
    label.SetCaption(QStringLiteral("Kasparov"));
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
    // 133 columns of 9 boxes; the first frame shows the leftmost columns only.
    EXPECT_EQ(label.RevealCopyCount(), 133 * 9);
    const int firstFrame = label.RevealedCopies();
    EXPECT_GT(firstFrame, 0);
    EXPECT_LT(firstFrame, 133 * 9 / 10);
    EXPECT_EQ(PixelAt(frame, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(frame, 264, 0), kTestBtnFace);  // not reached yet: the background beneath

    // A paint during the reveal shows it as far as it has come.
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
    label.FinishReveal();
    EXPECT_FALSE(label.Revealing());

    auto replays = [&label](const char* what, auto change) {
        label.FinishReveal();
        change();
        EXPECT_TRUE(label.Revealing()) << what;
        label.FinishReveal();
    };
    auto keeps = [&label](const char* what, auto change) {
        label.FinishReveal();
        change();
        EXPECT_FALSE(label.Revealing()) << what;
    };
    replays("caption", [&] { label.SetCaption(QStringLiteral("Karpov")); });
    keeps("same caption", [&] { label.SetCaption(QStringLiteral("Karpov")); });
    replays("font", [&] { label.SetFont(PlainFont(QStringLiteral("Arial"), 12, clRed)); });
    replays("alignment", [&] { label.SetAlignment(taLeftJustify); });
    keeps("same alignment", [&] { label.SetAlignment(taLeftJustify); });
    replays("text style", [&] { label.SetTextStyle(tsRecessed); });
    replays("border style", [&] { label.SetBorderStyle(TBorderStyle::bsSingle); });
    replays("same bevel", [&] { label.SetBevelInner(label.BevelInner()); });
    replays("bevel", [&] { label.SetBevelOuter(TPanelBevel::bvLowered); });
    replays("bevel width", [&] { label.SetBevelWidth(2); });
    replays("border width", [&] { label.SetBorderWidth(1); });
    keeps("effect", [&] { label.SetEffect(37); });
    keeps("box width", [&] { label.SetBoxWidth(8); });
    keeps("enabled", [&] { label.setEnabled(false); });
    keeps("a paint", [&] { Shot(label); });
    replays("hide and show", [&] {
        label.hide();
        label.show();
    });

    // A reveal plays over what the label showed before, from left to right here.
    label.SetBevelOuter(TPanelBevel::bvNone);
    label.SetBorderStyle(TBorderStyle::bsNone);
    label.SetBorderWidth(0);
    label.SetTextStyle(tsNone);
    label.SetAlignment(taCenter);
    label.SetEffect(1);
    label.FinishReveal();
    const QImage before = Shot(label);
    int inkX = -1;
    for (int x = 100; x < 265 && inkX < 0; ++x)
        if (PixelAt(before, x, 8) == clRed)
            inkX = x;
    ASSERT_GE(inkX, 0);
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
    EXPECT_EQ(PixelAt(Shot(image), 60, 60), clBlue);
    image.SetPicture(FilledPicture(120, 136, clLime));
    EXPECT_TRUE(image.Revealing());
    image.FinishReveal();
    EXPECT_EQ(PixelAt(Shot(image), 119, 135), clLime);
}

} // namespace
