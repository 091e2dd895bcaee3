#include "effects/FxImage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Every test starts with effects drawn at once; the reveal tests set a reveal time of their own.
class FxControls : public ::testing::Test {
protected:
    void SetUp() override { TFXGraphic::SetRevealTime(0); }
    void TearDown() override { TFXGraphic::SetRevealTime(500); }
};

QImage Shot(QWidget& widget) { return widget.grab().toImage(); }

// A flat label: no bevel, no embossing, text in exact colours only.
void MakeFlat(TFxLabel& label, QSize size, int fontHeight, const QString& caption, TColor ink = clBlack)
{
    label.resize(size);
    label.SetBevelOuter(TPanelBevel::bvNone);
    label.SetTextStyle(tsNone);
    TFont font = MakeFont(QStringLiteral("Arial"), fontHeight, ink);
    font.Smooth = false;
    label.SetFont(font);
    label.SetCaption(caption);
}

// A picture smaller than an image without AutoSize, over a parent showing through, is no game's.
TEST_F(FxControls, ImageTakesThePicturesSizeWithAutoSizeAndReplaysItsEffectForANewPicture)
{
    TFxImage image;
    image.SetAutoSize(true);
    image.SetPicture(FilledBitmap(120, 136, clRed));
    EXPECT_EQ((std::tuple{image.size(), image.Opaque(), PixelAt(Shot(image), 119, 135), image.Revealing()}),  // in order
              std::tuple(QSize(120, 136), true, clRed, false));
    image.SetPicture(FilledBitmap(120, 136, clLime));  // a new picture replays the effect
    EXPECT_TRUE(image.Revealing());
}

TEST_F(FxControls, LabelFrameRingsInsetTheFill)
{
    TFxLabel label;  // with a raised outer bevel
    label.resize(40, 30);
    label.SetBorderStyle(TBorderStyle::bsSingle);
    label.SetBevelWidth(2);
    label.SetBorderWidth(3);
    label.SetColor(clRed);
    // Black line, two bevel rings, three border rings in the label's colour, then the fill.
    ExpectPixels(Shot(label), {{0, 0, clBlack}, {1, 1, kTestBtnHighlight}, {2, 2, kTestBtnHighlight}, {3, 3, clRed},
                               {39, 29, clBlack}, {38, 28, kTestBtnShadow}, {37, 27, kTestBtnShadow}, {36, 26, clRed}});
    // An inner bevel starts 1 + 2 + 3 = 6 pixels in, and the fill after it.
    label.SetBevelInner(TPanelBevel::bvLowered);
    ExpectPixels(Shot(label), {{5, 5, clRed}, {6, 6, kTestBtnShadow}, {8, 8, clRed}, {33, 23, kTestBtnHighlight}});
}

TEST_F(FxControls, RaisedTextInTheFaceColourShowsOnlyItsShadowAndHighlightDrawnAtOnce)
{
    const QSize size(140, 36);
    TFxLabel flat, label;
    MakeFlat(flat, size, 21, QStringLiteral("Mozik 1234"));
    const QImage ink = Shot(flat);
    auto inked = [&ink](int x, int y) { return ink.rect().contains(x, y) && PixelAt(ink, x, y) == clBlack; };

    TFXGraphic::SetRevealTime(500);  // effect 0 draws at once all the same
    MakeFlat(label, size, 21, QStringLiteral("Mozik 1234"), clBtnFace);
    label.SetTextStyle(tsRaised);
    label.show();
    const QImage shot = Shot(label);
    EXPECT_FALSE(label.Revealing());
    // The face covers the glyphs; the highlight drawn up-left lies over the shadow drawn down-right.
    int mismatches = 0, embossed = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const TColor expected = inked(x, y)              ? kTestBtnFace
                                    : inked(x + 1, y + 1) ? kTestBtnHighlight
                                    : inked(x - 1, y - 1) ? kTestBtnShadow
                                                          : kTestBtnFace;
            mismatches += PixelAt(shot, x, y) != expected;
            embossed += expected != kTestBtnFace;
        }
    EXPECT_EQ(std::pair(embossed > 50, mismatches), std::pair(true, 0));
    label.setEnabled(false);  // the label keeps its look
    EXPECT_EQ(Shot(label), shot);
}

// Red text on white, revealed left to right in 133 columns of 9 boxes.
void MakeRevealLabel(TFxLabel& label)
{
    MakeFlat(label, QSize(265, 17), 13, QStringLiteral("Kasparov"), clRed);
    label.SetColor(clWhite);
    label.SetEffect(1);
    label.SetBoxWidth(2);
}

TEST_F(FxControls, RevealPlaysInOrderOverFramesAndReplaysAfterEachChangeOfWhatTheLabelShows)
{
    TFxLabel finished;
    MakeRevealLabel(finished);
    const QImage whole = Shot(finished);  // drawn at once

    TFXGraphic::SetRevealTime(500);
    TFxLabel label;
    MakeRevealLabel(label);
    label.show();
    Shot(label);
    const int firstFrame = label.RevealedCopies();
    EXPECT_EQ(std::pair(label.RevealCopyCount(), firstFrame > 0), std::pair(133 * 9, true));
    // A paint during the reveal shows how far it has come, and goes on from there.
    label.StepReveal();
    EXPECT_NE(Shot(label), whole);  // which boxes show by now is the effect's order, the painter's test
    EXPECT_EQ(label.RevealedCopies(), 2 * firstFrame);
    int frames = 2;
    for (; label.Revealing() && frames < 1000; ++frames)
        label.StepReveal();
    EXPECT_NEAR(frames * TFXGraphic::kRevealFrameInterval, TFXGraphic::RevealTime(), TFXGraphic::kRevealFrameInterval);
    EXPECT_EQ(Shot(label), whole);

    // Changes that compare first replay only on a new value; bevels and borders replay always.
    auto replays = [&label](const char* what, bool expected, auto change) {
        label.FinishReveal();
        change();
        EXPECT_EQ(label.Revealing(), expected) << what;
    };
    replays("caption", true, [&] { label.SetCaption(QStringLiteral("Karpov")); });
    replays("same caption", false, [&] { label.SetCaption(QStringLiteral("Karpov")); });
    replays("same bevel", true, [&] { label.SetBevelInner(label.BevelInner()); });
    replays("size", true, [&] { label.resize(265, 18); });
    replays("enabled", false, [&] { label.setEnabled(false); });
    replays("a paint", false, [&] { Shot(label); });
    replays("hide and show", true, [&] { label.hide(); label.show(); });
    // Effect and BoxWidth are clamped and do not replay.
    replays("effect", false, [&] { label.SetEffect(50); });
    replays("box width", false, [&] { label.SetBoxWidth(1); });
    EXPECT_EQ(QPoint(label.Effect(), label.BoxWidth()), QPoint(41, 2));
    label.SetBoxWidth(300);
    EXPECT_EQ(label.BoxWidth(), 255);
}

} // namespace
