#pragma once
// The ten best times of each board size from 4 x 4 to 7 x 7, and the text of the score file
// that keeps them: 80 lines, a name line and a time line per place, code page 1251, CRLF.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// A place of the table. The name is kept as the file's bytes (code page 1251), so a name comes
// back from the file exactly as it went in; a time of 0 marks an empty place.
struct TScoreEntry {
    QByteArray Name;
    std::int32_t Time = 0;
    friend bool operator==(const TScoreEntry&, const TScoreEntry&) = default;
};

constexpr int kFirstScoreSize = 4;
constexpr int kLastScoreSize = 7;
constexpr int kScorePlaces = 10;
// The name of an empty place, as the file keeps it; shown in the language in force.
constexpr const char* kUnknownNameSource = QT_TRANSLATE_NOOP("TScoreTable", "Неизвестный");
const QString kUnknownName = QString::fromUtf8(kUnknownNameSource);

class TScoreTable {
public:
    TScoreTable();  // every place empty

    static TScoreEntry EmptyEntry();  // "Неизвестный", 0
    static bool HasSize(int size) { return size >= kFirstScoreSize && size <= kLastScoreSize; }

    // Place 1 is the best; size 4..7, place 1..10.
    TScoreEntry& Entry(int size, int place);
    const TScoreEntry& Entry(int size, int place) const;

    void Clear();
    // Whether a game of `seconds` earns a place: the tenth place is empty or no better.
    bool Qualifies(int size, int seconds) const;
    // Puts the entry below every better time; equal times stay below it, empty places count
    // as worst, and the tenth place falls out. A time that does not qualify changes nothing.
    void Place(int size, const QByteArray& name, int seconds);

    // The file's text, and a table read from one as far as it goes: missing lines leave an
    // empty name and a time of 0; a time line is read as the digits before the first other
    // character, and an empty time line takes its number from the next line.
    QByteArray ToFileText() const;
    static TScoreTable FromFileText(const QByteArray& text);

    friend bool operator==(const TScoreTable&, const TScoreTable&) = default;

private:
    std::array<std::array<TScoreEntry, kScorePlaces>, kLastScoreSize - kFirstScoreSize + 1> entries_;
};

// Names between the screen and the file's code page.
QString DecodeName(const QByteArray& name);
QByteArray EncodeName(const QString& name);
// A name as the file can hold it: line breaks and tabs become blanks, other control characters go;
// a letter outside code page 1251 becomes the nearest letter(s) inside it, its accents dropped
// ("ë" "e", "ß" "ss", "ł" "l"), and one without a neighbour there (a Chinese letter, an emoji) is
// refused: left out and named in `Refused`, so that the player can be told.
struct TStorableName {
    QString Name;
    QString Refused;
};
TStorableName MakeStorable(const QString& name);
QString StorableName(const QString& name);
