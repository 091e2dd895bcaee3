#include "game/ScoreTable.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

QByteArray Cp1251(const char* utf8)
{
    return EncodeName(QString::fromUtf8(utf8));
}

TScoreTable WithTimes(int size, std::initializer_list<int> times)
{
    TScoreTable table;
    for (int place = 1; int time : times) {
        table.Entry(size, place) = {"p" + QByteArray::number(place), time};
        ++place;
    }
    return table;
}

std::vector<int> Times(const TScoreTable& table, int size)
{
    std::vector<int> times;
    for (int place = 1; place <= kScorePlaces; ++place)
        times.push_back(table.Entry(size, place).Time);
    return times;
}

TEST(ScoreTable, ARecordLandsOnItsSizesLinesOfTheEightyLineFile)
{
    // The 6 x 6 table starts on line 41.
    TScoreTable table;
    table.Place(6, Cp1251("Иван"), 95);
    const QList<QByteArray> lines = table.ToFileText().split('\n');
    ASSERT_EQ(lines.size(), 81);
    EXPECT_EQ(lines.mid(39, 4), QList<QByteArray>({"0\r", Cp1251("Иван") + "\r", "95\r", lines[0]}));
}

TEST(ScoreTable, ANewTimeGoesBelowBetterAndAboveEqualTimes)
{
    TScoreTable table = WithTimes(5, {30, 40, 40, 50});
    EXPECT_TRUE(table.Qualifies(5, 40));
    table.Place(5, "new", 40);
    EXPECT_EQ(Times(table, 5), (std::vector<int>{30, 40, 40, 40, 50, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::tuple(table.Entry(5, 2).Name, table.Entry(5, 3).Name, table.Entry(4, 1)),
              std::tuple(QByteArray("new"), QByteArray("p2"), TScoreTable::EmptyEntry()));  // other sizes untouched

    // A full table takes an equal last time and refuses a worse one.
    table = WithTimes(7, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
    EXPECT_TRUE(table.Qualifies(7, 100) && !table.Qualifies(7, 101));
    const TScoreTable before = table;
    table.Place(7, "late", 101);
    EXPECT_EQ(table, before);
    table.Place(7, "last", 100);
    EXPECT_EQ(table.Entry(7, 10), (TScoreEntry{"last", 100}));
    table.Place(7, "best", 5);
    EXPECT_EQ(Times(table, 7), (std::vector<int>{5, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(ScoreTable, ReadingKeepsNamesByteForByteAndReadsMalformedFilesAsFarAsTheyGo)
{
    TScoreTable table;
    table.Entry(4, 1) = {Cp1251("Пётр Ёжиков"), 42};
    table.Entry(5, 3) = {QByteArray("\x98\xFF odd bytes"), 7};  // not every byte is a letter
    table.Entry(7, 10) = {QByteArray(), -3};
    EXPECT_EQ(TScoreTable::FromFileText(table.ToFileText()), table);

    // {text, the first three 4 x 4 places and the last 7 x 7 place read from it}
    const std::pair<QByteArray, std::vector<TScoreEntry>> files[] = {
        // A time line "12x" reads as 12; a short file leaves the missing places with an empty name and no time.
        {"Anna\r\n12x\r\nBoris\r\n30\r\n", {{"Anna", 12}, {"Boris", 30}, {"", 0}, {"", 0}}},
        // An empty time line takes its number from the next line, and the pairing shifts.
        {"Anna\r\n\r\n17\r\nBoris\r\n30\r\n", {{"Anna", 17}, {"Boris", 30}, {"", 0}, {"", 0}}},
        {"Anna\r\n\r\nBoris\r\n30\r\n", {{"Anna", 0}, {"30", 0}, {"", 0}, {"", 0}}},  // "Boris" is no number
        // Plain line feeds, blanks before a number, a sign, and numbers too large to be a time.
        {"Anna\n  -5\nBoris\n99999999999\nVera\nx9\n", {{"Anna", -5}, {"Boris", 0}, {"Vera", 0}, {"", 0}}},
    };
    for (const auto& [text, places] : files) {
        table = TScoreTable::FromFileText(text);
        EXPECT_EQ(std::vector({table.Entry(4, 1), table.Entry(4, 2), table.Entry(4, 3), table.Entry(7, 10)}), places) << text.toStdString();
    }
}

TEST(ScoreTable, NamesKeepOnlyWhatTheFileCanHoldTakeTheNearestLettersAndNameTheLettersLeftOut)
{
    EXPECT_EQ(StorableName("Иван\r\nПетров"), QString("Иван  Петров"));
    EXPECT_EQ(StorableName(QString("a") + QChar(0x07) + "b\tc"), QString("ab c"));
    EXPECT_EQ(StorableName(QString::fromUtf8("№5 € Ёлкин")), QString::fromUtf8("№5 € Ёлкин"));
    EXPECT_EQ(DecodeName(EncodeName("Неизвестный")), QString("Неизвестный"));
    // Each way to a neighbour: a decomposition, a letter of no decomposition, accents typed apart, a ligature.
    const std::pair<const char*, const char*> nearest[] = {
        {"Zoë", "Zoe"}, {"Straße", "Strasse"}, {"Łukasz Wałęsa", "Lukasz Walesa"}, {"e\u0301te\u0301", "ete"}, {"ﬁne", "fine"}};
    for (const auto& [typed, kept] : nearest) {
        const TStorableName storable = MakeStorable(QString::fromUtf8(typed));
        EXPECT_EQ(std::pair(storable.Name, storable.Refused), std::pair(QString::fromUtf8(kept), QString())) << typed;
    }
    const TStorableName refused = MakeStorable(QString::fromUtf8("Ли 中文 🙂!"));
    EXPECT_EQ(std::pair(refused.Name, refused.Refused), std::pair(QString::fromUtf8("Ли  !"), QString::fromUtf8("中文🙂")));
    EXPECT_EQ(EncodeName(StorableName(QString::fromUtf8("Zoë"))), QByteArray("Zoe"));
}

} // namespace
