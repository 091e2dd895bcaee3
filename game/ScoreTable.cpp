#include "game/ScoreTable.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <limits>
#include <map>
#include <optional>

namespace {

// Reads the file's text the way a line-oriented reader of names and numbers does.
class LineReader {
public:
    explicit LineReader(const QByteArray& text) : text_(text) {}

    // The rest of the current line, then on to the next.
    QByteArray ReadLine()
    {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && !IsLineEnd(text_[pos_]))
            ++pos_;
        const QByteArray line = text_.mid(start, pos_ - start);
        SkipLineEnd();
        return line;
    }

    // A number after any blanks and line ends: the digits before the first other character,
    // 0 when there are none or the number does not fit; then on to the next line.
    std::int32_t ReadNumberLine()
    {
        while (pos_ < text_.size() && (IsBlank(text_[pos_]) || IsLineEnd(text_[pos_])))
            ++pos_;
        bool negative = false;
        if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) {
            negative = text_[pos_] == '-';
            ++pos_;
        }
        std::int64_t value = 0;
        bool overflow = false;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            value = value * 10 + (text_[pos_] - '0');
            overflow = overflow || value > std::numeric_limits<std::int32_t>::max();
            if (overflow)
                value = 0;
            ++pos_;
        }
        ReadLine();
        return overflow ? 0 : std::int32_t(negative ? -value : value);
    }

private:
    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    void SkipLineEnd()
    {
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    }

    const QByteArray& text_;
    qsizetype pos_ = 0;
};

} // namespace

TScoreTable::TScoreTable()
{
    Clear();
}

TScoreEntry TScoreTable::EmptyEntry()
{
    return {EncodeName(kUnknownName), 0};
}

TScoreEntry& TScoreTable::Entry(int size, int place)
{
    return entries_[size_t(size - kFirstScoreSize)][size_t(place - 1)];
}

const TScoreEntry& TScoreTable::Entry(int size, int place) const
{
    return entries_[size_t(size - kFirstScoreSize)][size_t(place - 1)];
}

void TScoreTable::Clear()
{
    for (auto& table : entries_)
        table.fill(EmptyEntry());
}

bool TScoreTable::Qualifies(int size, int seconds) const
{
    const std::int32_t last = Entry(size, kScorePlaces).Time;
    return last == 0 || seconds <= last;
}

void TScoreTable::Place(int size, const QByteArray& name, int seconds)
{
    // From the bottom up, every place no better than the new time (or empty) moves down one
    // and takes the new entry, until a better time stops it.
    for (int place = kScorePlaces; place >= 1; --place) {
        const std::int32_t time = Entry(size, place).Time;
        if (!(time >= seconds || time == 0))
            break;
        if (place < kScorePlaces)
            Entry(size, place + 1) = Entry(size, place);
        Entry(size, place) = {name, seconds};
    }
}

QByteArray TScoreTable::ToFileText() const
{
    QByteArray text;
    for (const auto& table : entries_)
        for (const TScoreEntry& entry : table) {
            text += entry.Name;
            text += "\r\n";
            text += QByteArray::number(entry.Time);
            text += "\r\n";
        }
    return text;
}

TScoreTable TScoreTable::FromFileText(const QByteArray& text)
{
    TScoreTable table;
    LineReader reader(text);
    for (auto& sizeTable : table.entries_)
        for (TScoreEntry& entry : sizeTable) {
            entry.Name = reader.ReadLine();
            entry.Time = reader.ReadNumberLine();
        }
    return table;
}

QString DecodeName(const QByteArray& name)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(name);
}

QByteArray EncodeName(const QString& name)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(name);
}

namespace {

bool Storable(const QString& text)
{
    QStringEncoder encoder("windows-1251");
    const QByteArray encoded = encoder.encode(text);  // the encoder works when its result is taken
    return !encoder.hasError() && !encoded.isEmpty();
}

// Letters whose nearest neighbours in the file's code page are not their decomposition's.
const std::map<char16_t, const char*>& NearestLetters()
{
    static const std::map<char16_t, const char*> letters{
        {u'ß', "ss"}, {u'ẞ', "SS"}, {u'ł', "l"}, {u'Ł', "L"}, {u'ø', "o"}, {u'Ø', "O"}, {u'đ', "d"}, {u'Đ', "D"},
        {u'ð', "d"}, {u'Ð', "D"}, {u'þ', "th"}, {u'Þ', "Th"}, {u'æ', "ae"}, {u'Æ', "AE"}, {u'œ', "oe"}, {u'Œ', "OE"},
        {u'ı', "i"}, {u'ħ', "h"}, {u'Ħ', "H"}, {u'ŧ', "t"}, {u'Ŧ', "T"}, {u'ŋ', "n"}, {u'Ŋ', "N"}, {u'ĸ', "k"},
        {u'ſ', "s"}, {u'ƒ', "f"}};
    return letters;
}

// The nearest text the file can hold for one character (a surrogate pair is one), or none.
std::optional<QString> Nearest(const QString& character)
{
    if (Storable(character))
        return character;
    const QChar first = character.front();
    if (first.category() == QChar::Mark_NonSpacing || first.category() == QChar::Mark_Enclosing)
        return QString();  // an accent typed apart: its letter stands without it
    if (const auto known = NearestLetters().find(first.unicode()); character.size() == 1 && known != NearestLetters().end())
        return QString::fromLatin1(known->second);
    // The decomposition's letters without their accents ("ë" is "e" and a diaeresis).
    QString base;
    for (const QChar part : character.normalized(QString::NormalizationForm_KD))
        if (part.category() != QChar::Mark_NonSpacing && part.category() != QChar::Mark_Enclosing)
            base += part;
    if (!base.isEmpty() && base != character && Storable(base))
        return base;
    return std::nullopt;
}

} // namespace

TStorableName MakeStorable(const QString& name)
{
    TStorableName storable;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) {
            storable.Name.append(QLatin1Char(' '));
            continue;
        }
        if (c.category() == QChar::Other_Control)
            continue;
        const qsizetype length = c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate() ? 2 : 1;
        const QString character = name.mid(i, length);
        i += length - 1;
        if (const std::optional<QString> nearest = Nearest(character))
            storable.Name += *nearest;
        else
            storable.Refused += character;
    }
    return storable;
}

QString StorableName(const QString& name)
{
    return MakeStorable(name).Name;
}
