#include "game/HistoryModel.h"
#include "game/Statistics.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

THistoryRow Game(int size, int seconds, int moves, TGameOutcome outcome = TGameOutcome::Finished)
{
    THistoryRow row;
    row.BoardSize = size;
    row.Seconds = seconds;
    row.Moves = moves;
    row.Outcome = outcome;
    return row;
}

TEST(Statistics, AveragesLeaveTheBestAndTheWorstOutAndNeedTheirCountOfGamesAndTheChartShowsTheLastHundred)
{
    const std::vector<int> times{31, 10, 12, 15, 20, 30, 40, 11, 13, 17, 25, 60, 14};
    // The last 5 (13 17 25 60 14): without 13 and 60.
    EXPECT_DOUBLE_EQ(*AverageOfLast(times, 5), (14 + 17 + 25) / 3.0);
    // The last 12 (10 ... 14): without 10 and 60.
    EXPECT_DOUBLE_EQ(*AverageOfLast(times, 12), (12 + 15 + 20 + 30 + 40 + 11 + 13 + 17 + 25 + 14) / 10.0);
    EXPECT_EQ(AverageOfLast(std::vector{5, 6, 7, 8}, 5), std::nullopt);
    EXPECT_DOUBLE_EQ(*TrimmedAverage(std::vector{9, 9, 9}), 9.0);  // equal best and worst: one of each goes
    EXPECT_EQ(std::tuple(Median({3, 1, 2}), Median({4, 1, 3, 2}), Median({})), std::tuple(2.0, 2.5, std::nullopt));

    std::vector<THistoryRow> rows{Game(4, 20, 60), Game(4, 40, 100), Game(5, 5, 5), Game(4, 1, 1, TGameOutcome::Abandoned),
                                  Game(4, 2, 2, TGameOutcome::Computer), Game(4, 30, 50)};
    rows[0].Shortest = 40;
    rows[1].Shortest = 50;
    const TSizeStatistics four = SizeStatistics(rows, 4);
    EXPECT_EQ(std::tuple(four.Games, four.BestTime, four.BestMoves, four.MeanTime, four.MedianTime, four.AverageOf5),
              std::tuple(3, 20, 50, 30.0, 30.0, std::nullopt));
    EXPECT_DOUBLE_EQ(*four.MovesPerSecond, 210.0 / 90);
    EXPECT_DOUBLE_EQ(*four.MovesOverShortest, (1.5 + 2.0) / 2);  // where the shortest is known
    const TSizeStatistics none = SizeStatistics(rows, 7);
    EXPECT_EQ(std::tuple(none.Games, none.BestTime, none.MeanTime, none.MovesPerSecond), std::tuple(0, std::nullopt, std::nullopt, std::nullopt));

    // The chart: the last hundred games, and the running average of five.
    rows.clear();
    for (int i = 1; i <= 104; ++i)
        rows.push_back(Game(5, i, i));
    rows.insert(rows.begin() + 50, Game(5, 1000, 1, TGameOutcome::Abandoned));  // not a time of the player's
    const std::vector<TChartPoint> points = TimeChart(rows, 5);
    ASSERT_EQ(points.size(), 100u);
    EXPECT_EQ(std::pair(points.front().Seconds, points.back().Seconds), std::pair(5, 104));
    EXPECT_EQ(points.front().Average, 3.0);  // of 1 ... 5: the games before the chart count
    EXPECT_EQ(points.back().Average, 102.0);
    EXPECT_EQ(TimeChart({Game(6, 9, 9), Game(6, 1, 1), Game(6, 5, 5), Game(6, 7, 7), Game(6, 3, 3)}, 6),
              (std::vector<TChartPoint>{{9, {}}, {1, {}}, {5, {}}, {7, {}}, {3, 5.0}}));
}

TEST(Statistics, TheCsvQuotesWhatNeedsItAndEndsLinesWithCrLf)
{
    THistoryRow row = Game(4, 42, 52);
    row.Id = 7;
    row.Started = "2024-05-01T12:00:00Z";
    row.Ended = "2024-05-01T12:00:42Z";
    row.Shortest = 46;
    row.Picture = "a,b.png";
    row.Name = "Иван \"Грозный\"\nII";
    THistoryRow plain = Game(5, 1, 2, TGameOutcome::Computer);
    plain.Id = 8;
    THistoryRow formulas = plain;
    formulas.Picture = "=HYPERLINK(\"http://x\")";
    formulas.Name = "@SUM(A1)";
    EXPECT_TRUE(HistoryCsv({formulas}).endsWith(",\"'=HYPERLINK(\"\"http://x\"\")\",'@SUM(A1)\r\n")) << HistoryCsv({formulas}).toStdString();
    EXPECT_EQ(HistoryCsv({row, plain}),
              QByteArray("id,started,ended,size,seconds,moves,undos,hints,computer,abandoned,shortest,picture,name\r\n"
                         "7,2024-05-01T12:00:00Z,2024-05-01T12:00:42Z,4,42,52,0,0,0,0,46,\"a,b.png\",")
                  + QString("\"Иван \"\"Грозный\"\"\nII\"").toUtf8() + "\r\n8,,,5,1,2,0,0,1,0,,,\r\n");
}

TEST(HistoryModel, ShowsEachGameFiltersASizeAndSortsByAnyColumnByItsValue)
{
    THistoryTableModel model;
    std::vector<THistoryRow> rows{Game(4, 100, 9), Game(5, 1, 1), Game(4, 9, 80, TGameOutcome::Abandoned), Game(4, 20, 10)};
    rows[0].Hints = 3;
    rows[0].Shortest = 7;
    rows[3].Ended = "2024-05-01T12:00:00Z";
    model.SetRows(rows);
    TSizeFilter four(4);
    four.setSourceModel(&model);
    const auto column = [&](int c) {
        QStringList texts;
        for (int r = 0; r < four.rowCount(); ++r)
            texts << four.index(r, c).data().toString();
        return texts;
    };
    EXPECT_EQ(column(THistoryTableModel::Time), QStringList({"100", "9", "20"}));  // as they ended
    four.sort(THistoryTableModel::Time);
    EXPECT_EQ(column(THistoryTableModel::Time), QStringList({"9", "20", "100"}));  // numbers, not text
    four.sort(THistoryTableModel::Ended, Qt::DescendingOrder);
    EXPECT_EQ(column(THistoryTableModel::Moves), QStringList({"10", "80", "9"}));
    EXPECT_EQ(column(THistoryTableModel::Shortest), QStringList({"—", "—", "7"}));
    EXPECT_EQ(column(THistoryTableModel::Outcome), QStringList({"собрана", "брошена", "собрана с подсказками"}));
    EXPECT_FALSE(four.index(2, THistoryTableModel::Hints).data(Qt::ToolTipRole).toString().isEmpty());  // marked
    EXPECT_EQ(column(THistoryTableModel::Ended)[0], QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC).toLocalTime().toString("dd.MM.yyyy HH:mm"));
}

} // namespace
