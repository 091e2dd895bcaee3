#include "framework/TextLayout.h"

#include <QPoint>
#include <gtest/gtest.h>

namespace {

// Every character 10 pixels wide, lines 20 high, tab stops every 80 pixels.
const TextMetrics kFixed{[](const QString& s) { return int(s.size()) * 10; }, 20, 10};

std::vector<QString> Texts(const QString& text, const TRect& r, unsigned format)
{
    std::vector<QString> texts;
    for (const LaidLine& line : LayoutText(text, r, format, kFixed).Lines)
        texts.push_back(line.Text);
    return texts;
}

TEST(TextLayout, PlacesALineByItsAlignmentCentresVerticallyOnlySingleLinesAndBreaksWordsAtBlanks)
{
    const std::pair<unsigned, QPoint> cases[] = {{DT_LEFT, {10, 5}},    {DT_RIGHT, {80, 5}},
                                                 {DT_CENTER, {45, 5}}, {DT_VCENTER | DT_SINGLELINE, {10, 25}},
                                                 {DT_VCENTER, {10, 5}}, {DT_BOTTOM | DT_SINGLELINE, {10, 45}}};
    for (const auto& [format, at] : cases) {
        const LaidLine line = LayoutText("abc", Rect(10, 5, 110, 65), format, kFixed).Lines[0];
        EXPECT_EQ(QPoint(line.X, line.Y), at) << "format " << format;
    }

    // Words break at blanks, and long words overflow.
    const TRect r = Rect(0, 0, 65, 100);  // six characters fit
    const TextLayoutResult result = LayoutText("ab cd  efghijk l", r, DT_WORDBREAK, kFixed);
    EXPECT_EQ(Texts("ab cd  efghijk l", r, DT_WORDBREAK), (std::vector<QString>{"ab cd", "efghijk", "l"}));
    EXPECT_EQ(std::tuple(result.Lines[1].Y, result.Width, result.Height), std::tuple(20, 70, 60));
    // Without word breaking the text stays one line, however long; an empty text is one empty line.
    EXPECT_EQ(Texts("ab cd  efghijk l", r, DT_LEFT).size(), 1u);
    EXPECT_EQ(Texts("", r, DT_WORDBREAK), std::vector<QString>{""});
    // Line ends split, unless single line.
    EXPECT_EQ(Texts("a\r\nb\nc", r, DT_LEFT), (std::vector<QString>{"a", "b", "c"}));
    EXPECT_EQ(Texts("a\r\nb", r, DT_SINGLELINE).size(), 1u);
}

TEST(TextLayout, PrefixesUnderlineTheNextCharacterDoubleAmpersandDrawsOneAndTabsExpandToStops)
{
    const TRect r = Rect(0, 0, 500, 100);
    const TextLayoutResult result = LayoutText("&File && E&xit&", r, DT_LEFT, kFixed);
    ASSERT_EQ(result.Lines.size(), 1u);
    EXPECT_EQ(std::pair(result.Lines[0].Text, result.Lines[0].Underlined), std::pair(QString("File & Exit"), std::vector<int>{0, 8}));
    const LaidLine raw = LayoutText("a&b", r, DT_NOPREFIX, kFixed).Lines[0];
    EXPECT_EQ(std::pair(raw.Text, raw.Underlined), std::pair(QString("a&b"), std::vector<int>{}));

    EXPECT_EQ(ExpandedWidth("ab\tc", DT_EXPANDTABS, kFixed), 90);
    EXPECT_EQ(ExpandedWidth("\t\tx", DT_EXPANDTABS, kFixed), 170);
    std::vector<std::pair<int, QString>> pieces;
    ForEachTabPiece({"ab\tc", 5, 0, {}}, DT_EXPANDTABS, kFixed,
                    [&](int x, int, const QString& piece) { pieces.emplace_back(x, piece); });
    EXPECT_EQ(pieces, (std::vector<std::pair<int, QString>>{{5, "ab"}, {85, "c"}}));
    // A tab breaks as a blank does; one that does not fit after a break stands alone, so the break moves on.
    EXPECT_EQ(Texts("a b\tc d", Rect(0, 0, 55, 100), DT_WORDBREAK | DT_EXPANDTABS),
              (std::vector<QString>{"a b", "\t", "c d"}));
}

} // namespace
