#pragma once
// The numbers the statistics window shows for a board size, from the rows of the history: the
// games the player finished, the best, mean and median times, the averages of the last 5 and 12
// by the speed-solving rule (the best and the worst of them left out, the mean of the rest), the
// moves per second, and on 4 x 4 how many times longer than the shortest the player's way was;
// the points of the chart of times; and the history as CSV.

#include "game/History.h"

#include <QByteArray>
#include <optional>
#include <span>
#include <vector>

// The speed-solving average of all the times given: the best and the worst left out, the mean
// of the rest. nullopt for fewer than three times.
std::optional<double> TrimmedAverage(std::span<const int> times);
// That average of the last `count` times; nullopt while there are fewer.
std::optional<double> AverageOfLast(std::span<const int> times, int count);
// The middle value, or the mean of the two middle ones; nullopt for none.
std::optional<double> Median(std::vector<int> values);

struct TSizeStatistics {
    int Games = 0;  // finished by the player, with hints or without
    std::optional<int> BestTime;
    std::optional<int> BestMoves;
    std::optional<double> MeanTime;
    std::optional<double> MedianTime;
    std::optional<double> AverageOf5;
    std::optional<double> AverageOf12;
    std::optional<double> MovesPerSecond;     // all their moves over all their seconds
    std::optional<double> MovesOverShortest;  // the mean of moves / shortest, where it is known
};

// The rows of the history are in the order the games ended.
TSizeStatistics SizeStatistics(const std::vector<THistoryRow>& rows, int size);

struct TChartPoint {
    int Seconds = 0;
    std::optional<double> Average;  // of 5, this game and the four before it
    friend bool operator==(const TChartPoint&, const TChartPoint&) = default;
};

// The last `count` games the player finished on the size, oldest first: each one's time and the
// running average of 5 (games before the first shown count in it).
std::vector<TChartPoint> TimeChart(const std::vector<THistoryRow>& rows, int size, int count = 100);

// The rows as CSV by RFC 4180, in UTF-8: a header line of the database's column names, then a
// line per row, CRLF line ends, a field quoted where it holds a comma, a quote or a line break. A
// picture's name or a player's name that begins as a spreadsheet formula would ('=', '+', '-',
// '@', a tab) is written behind a single quote, so that opening the file runs nothing.
QByteArray HistoryCsv(const std::vector<THistoryRow>& rows);
