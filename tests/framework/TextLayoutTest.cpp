#include "framework/TextLayout.h"

#include <gtest/gtest.h>

namespace {

// Every character 10 pixels wide, lines 20 high, tab stops every 80 pixels.
TextMetrics FixedMetrics()
{
    return {[](const QString& s) { return int(s.size()) * 10; }, 20, 10};
}

std::vector<QString> Texts(const TextLayoutResult& result)
{
    std::vector<QString> texts;
    for (const LaidLine& line : result.Lines)
        texts.push_back(line.Text);
    return texts;
}

TEST(TextLayout, AlignsEachLineInTheRectangle)
{
    const TRect r = Rect(10, 5, 110, 45);
    EXPECT_EQ(LayoutText("abc", r, DT_LEFT, FixedMetrics()).Lines[0].X, 10);
    EXPECT_EQ(LayoutText("abc", r, DT_RIGHT, FixedMetrics()).Lines[0].X, 80);
    EXPECT_EQ(LayoutText("abc", r, DT_CENTER, FixedMetrics()).Lines[0].X, 45);
    EXPECT_EQ(LayoutText("abc", r, DT_LEFT, FixedMetrics()).Lines[0].Y, 5);
}

TEST(TextLayout, CentresVerticallyOnlySingleLineText)
{
    const TRect r = Rect(0, 0, 100, 60);
    EXPECT_EQ(LayoutText("a", r, DT_VCENTER | DT_SINGLELINE, FixedMetrics()).Lines[0].Y, 20);
    EXPECT_EQ(LayoutText("a", r, DT_VCENTER, FixedMetrics()).Lines[0].Y, 0);
    EXPECT_EQ(LayoutText("a", r, DT_BOTTOM | DT_SINGLELINE, FixedMetrics()).Lines[0].Y, 40);
}

TEST(TextLayout, BreaksWordsAtBlanksAndLetsLongWordsOverflow)
{
    const TRect r = Rect(0, 0, 55, 100);  // five characters fit
    const TextLayoutResult result = LayoutText("ab cd efghijk l", r, DT_WORDBREAK, FixedMetrics());
    EXPECT_EQ(Texts(result), (std::vector<QString>{"ab cd", "efghijk", "l"}));
    EXPECT_EQ(result.Lines[1].Y, 20);
    EXPECT_EQ(result.Height, 60);
    EXPECT_EQ(result.Width, 70);
    // Without word breaking the text stays one line, however long.
    EXPECT_EQ(LayoutText("ab cd efghijk l", r, DT_LEFT, FixedMetrics()).Lines.size(), 1u);
}

TEST(TextLayout, SplitsAtLineEndsUnlessSingleLine)
{
    const TRect r = Rect(0, 0, 500, 100);
    EXPECT_EQ(Texts(LayoutText("a\r\nb\nc", r, DT_LEFT, FixedMetrics())), (std::vector<QString>{"a", "b", "c"}));
    EXPECT_EQ(LayoutText("a\r\nb", r, DT_SINGLELINE, FixedMetrics()).Lines.size(), 1u);
}

TEST(TextLayout, PrefixesUnderlineTheNextCharacterAndDoubleAmpersandDrawsOne)
{
    const TRect r = Rect(0, 0, 500, 100);
    const TextLayoutResult result = LayoutText("&File && E&xit&", r, DT_LEFT, FixedMetrics());
    ASSERT_EQ(result.Lines.size(), 1u);
    EXPECT_EQ(result.Lines[0].Text, QString("File & Exit"));
    EXPECT_EQ(result.Lines[0].Underlined, (std::vector<int>{0, 8}));
    const TextLayoutResult raw = LayoutText("a&b", r, DT_NOPREFIX, FixedMetrics());
    EXPECT_EQ(raw.Lines[0].Text, QString("a&b"));
    EXPECT_TRUE(raw.Lines[0].Underlined.empty());
}

TEST(TextLayout, ExpandsTabsToStopsOfEightAverageCharacters)
{
    EXPECT_EQ(ExpandedWidth("ab\tc", DT_EXPANDTABS, FixedMetrics()), 90);
    EXPECT_EQ(ExpandedWidth("\t\tx", DT_EXPANDTABS, FixedMetrics()), 170);
    LaidLine line{"ab\tc", 5, 0, {}};
    std::vector<std::pair<int, QString>> pieces;
    ForEachTabPiece(line, DT_EXPANDTABS, FixedMetrics(),
                    [&](int x, int, const QString& piece) { pieces.emplace_back(x, piece); });
    EXPECT_EQ(pieces, (std::vector<std::pair<int, QString>>{{5, "ab"}, {85, "c"}}));
}

TEST(TextLayout, ATabThatDoesNotFitAfterABreakStillLetsTheBreakMoveOn)
{
    const TextLayoutResult result =
        LayoutText("Odd\tvalues", Rect(0, 0, 65, 100), DT_WORDBREAK | DT_EXPANDTABS, FixedMetrics());
    EXPECT_EQ(Texts(result), (std::vector<QString>{"Odd", "\t", "values"}));
}

TEST(TextLayout, EmptyTextIsOneEmptyLine)
{
    const TextLayoutResult result = LayoutText("", Rect(0, 0, 10, 10), DT_WORDBREAK, FixedMetrics());
    ASSERT_EQ(result.Lines.size(), 1u);
    EXPECT_EQ(result.Width, 0);
}

} // namespace
