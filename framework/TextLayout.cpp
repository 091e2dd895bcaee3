#include "framework/TextLayout.h"

#include <QStringList>
#include <algorithm>

namespace {

struct PrefixedText {
    QString Text;
    std::vector<int> Underlined;
};

PrefixedText StripPrefixes(const QString& text, unsigned format)
{
    if (format & DT_NOPREFIX)
        return {text, {}};
    PrefixedText out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 >= text.size())
                break;  // a lone '&' at the end marks nothing
            ++i;
            if (text[i] != QLatin1Char('&'))
                out.Underlined.push_back(int(out.Text.size()));
        }
        out.Text.append(text[i]);
    }
    return out;
}

int TabStop(const TextMetrics& metrics)
{
    return std::max(1, 8 * metrics.AverageCharWidth);
}

// Splits at explicit line ends, unless the text is one line by format.
std::vector<PrefixedText> SplitParagraphs(const PrefixedText& text, unsigned format)
{
    std::vector<PrefixedText> paragraphs(1);
    for (int i = 0; i < text.Text.size(); ++i) {
        const QChar c = text.Text[i];
        const bool underlined = std::find(text.Underlined.begin(), text.Underlined.end(), i) != text.Underlined.end();
        if (!(format & DT_SINGLELINE) && (c == QLatin1Char('\r') || c == QLatin1Char('\n'))) {
            if (c == QLatin1Char('\r') && i + 1 < text.Text.size() && text.Text[i + 1] == QLatin1Char('\n'))
                ++i;
            paragraphs.emplace_back();
            continue;
        }
        if (underlined)
            paragraphs.back().Underlined.push_back(int(paragraphs.back().Text.size()));
        paragraphs.back().Text.append(c);
    }
    return paragraphs;
}

PrefixedText Slice(const PrefixedText& text, int from, int to)
{
    PrefixedText out{text.Text.mid(from, to - from), {}};
    for (int u : text.Underlined)
        if (u >= from && u < to)
            out.Underlined.push_back(u - from);
    return out;
}

// Breaks one paragraph into lines no wider than maxWidth, at blanks; a word wider than the
// line stands alone and overflows, as the classic word break does.
std::vector<PrefixedText> BreakParagraph(const PrefixedText& paragraph, int maxWidth, unsigned format,
                                         const TextMetrics& metrics)
{
    std::vector<PrefixedText> lines;
    const QString& s = paragraph.Text;
    int start = 0;
    while (true) {
        if (ExpandedWidth(s.mid(start), format, metrics) <= maxWidth) {
            lines.push_back(Slice(paragraph, start, int(s.size())));
            return lines;
        }
        int end = -1;  // end of the longest run of words that fits
        for (int i = start; i <= s.size(); ++i) {
            const bool boundary = i == s.size() || s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t');
            if (!boundary || i == start)
                continue;
            if (ExpandedWidth(s.mid(start, i - start), format, metrics) > maxWidth)
                break;
            end = i;
        }
        if (end < 0) {  // the first word alone is too wide
            end = start;
            while (end < s.size() && s[end] != QLatin1Char(' ') && s[end] != QLatin1Char('\t'))
                ++end;
            if (end == start)  // a tab that does not fit stands alone, so the break moves on
                ++end;
        }
        int trimmedEnd = end;
        while (trimmedEnd > start && s[trimmedEnd - 1] == QLatin1Char(' '))
            --trimmedEnd;
        lines.push_back(Slice(paragraph, start, trimmedEnd));
        int next = end;
        while (next < s.size() && s[next] == QLatin1Char(' '))
            ++next;
        if (next >= s.size())
            return lines;
        start = next;
    }
}

} // namespace

int ExpandedWidth(const QString& line, unsigned format, const TextMetrics& metrics)
{
    if (!(format & DT_EXPANDTABS) || !line.contains(QLatin1Char('\t')))
        return metrics.Width(line);
    int x = 0;
    const int stop = TabStop(metrics);
    const QStringList pieces = line.split(QLatin1Char('\t'));
    for (int i = 0; i < pieces.size(); ++i) {
        x += metrics.Width(pieces[i]);
        if (i + 1 < pieces.size())
            x = (x / stop + 1) * stop;
    }
    return x;
}

void ForEachTabPiece(const LaidLine& line, unsigned format, const TextMetrics& metrics,
                     const std::function<void(int, int, const QString&)>& draw)
{
    if (!(format & DT_EXPANDTABS)) {
        draw(line.X, 0, line.Text);
        return;
    }
    const int stop = TabStop(metrics);
    int x = 0;
    int first = 0;
    while (true) {
        const int tab = int(line.Text.indexOf(QLatin1Char('\t'), first));
        const QString piece = line.Text.mid(first, tab < 0 ? -1 : tab - first);
        if (!piece.isEmpty())
            draw(line.X + x, first, piece);
        if (tab < 0)
            return;
        x += metrics.Width(piece);
        x = (x / stop + 1) * stop;
        first = tab + 1;
    }
}

TextLayoutResult LayoutText(const QString& text, const TRect& rect, unsigned format, const TextMetrics& metrics)
{
    TextLayoutResult result;
    const PrefixedText plain = StripPrefixes(text, format);
    std::vector<PrefixedText> lines;
    for (const PrefixedText& paragraph : SplitParagraphs(plain, format)) {
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
            for (PrefixedText& line : BreakParagraph(paragraph, rect.Width(), format, metrics))
                lines.push_back(std::move(line));
        } else {
            lines.push_back(paragraph);
        }
    }

    result.Height = int(lines.size()) * metrics.LineHeight;
    int y = rect.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = (rect.Top + rect.Bottom - metrics.LineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.Bottom - metrics.LineHeight;
    }
    for (PrefixedText& line : lines) {
        LaidLine laid;
        const int width = ExpandedWidth(line.Text, format, metrics);
        result.Width = std::max(result.Width, width);
        if (format & DT_CENTER)
            laid.X = (rect.Left + rect.Right - width) / 2;
        else if (format & DT_RIGHT)
            laid.X = rect.Right - width;
        else
            laid.X = rect.Left;
        laid.Y = y;
        laid.Text = std::move(line.Text);
        laid.Underlined = std::move(line.Underlined);
        result.Lines.push_back(std::move(laid));
        y += metrics.LineHeight;
    }
    return result;
}
