#include "game/Statistics.h"

#include <QStringList>
#include <algorithm>
#include <numeric>

namespace {

bool FinishedByPlayer(const THistoryRow& row, int size)
{
    return row.BoardSize == size && row.Outcome == TGameOutcome::Finished;
}

std::optional<double> Mean(std::span<const double> values)
{
    if (values.empty())
        return std::nullopt;
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

QByteArray CsvField(const QString& text)
{
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\r') && !field.contains('\n'))
        return field;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

// A text the player or a file's name gave, made inert for a spreadsheet: one that begins as a
// formula would begin ("=HYPERLINK(...)" as a picture's name) is read as text behind a quote.
QString InertText(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && formulaStarts.contains(text.front()) ? QLatin1Char('\'') + text : text;
}

QByteArray CsvLine(const QStringList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i)
        line += (i > 0 ? "," : "") + CsvField(fields[i]);
    return line + "\r\n";
}

} // namespace

std::optional<double> TrimmedAverage(std::span<const int> times)
{
    if (times.size() < 3)
        return std::nullopt;
    const auto [best, worst] = std::minmax_element(times.begin(), times.end());
    const double sum = std::accumulate(times.begin(), times.end(), 0.0) - *best - *worst;
    return sum / double(times.size() - 2);
}

std::optional<double> AverageOfLast(std::span<const int> times, int count)
{
    if (count < 3 || times.size() < std::size_t(count))
        return std::nullopt;
    return TrimmedAverage(times.last(std::size_t(count)));
}

std::optional<double> Median(std::vector<int> values)
{
    if (values.empty())
        return std::nullopt;
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1)
        return upper;
    return (*std::max_element(values.begin(), values.begin() + std::ptrdiff_t(middle)) + upper) / 2.0;
}

TSizeStatistics SizeStatistics(const std::vector<THistoryRow>& rows, int size)
{
    TSizeStatistics statistics;
    std::vector<int> times;
    std::vector<double> overShortest;
    long long moves = 0, seconds = 0;
    for (const THistoryRow& row : rows) {
        if (!FinishedByPlayer(row, size))
            continue;
        times.push_back(row.Seconds);
        moves += row.Moves;
        seconds += row.Seconds;
        statistics.BestTime = std::min(statistics.BestTime.value_or(row.Seconds), row.Seconds);
        statistics.BestMoves = std::min(statistics.BestMoves.value_or(row.Moves), row.Moves);
        if (row.Shortest && *row.Shortest > 0)
            overShortest.push_back(double(row.Moves) / *row.Shortest);
    }
    statistics.Games = int(times.size());
    if (!times.empty())
        statistics.MeanTime = double(seconds) / double(times.size());
    statistics.MedianTime = Median(times);
    statistics.AverageOf5 = AverageOfLast(times, 5);
    statistics.AverageOf12 = AverageOfLast(times, 12);
    if (seconds > 0)
        statistics.MovesPerSecond = double(moves) / double(seconds);
    statistics.MovesOverShortest = Mean(overShortest);
    return statistics;
}

std::vector<TChartPoint> TimeChart(const std::vector<THistoryRow>& rows, int size, int count)
{
    std::vector<int> times;
    for (const THistoryRow& row : rows)
        if (FinishedByPlayer(row, size))
            times.push_back(row.Seconds);
    std::vector<TChartPoint> points;
    const std::size_t first = times.size() > std::size_t(count) ? times.size() - std::size_t(count) : 0;
    for (std::size_t i = first; i < times.size(); ++i)
        points.push_back({times[i], AverageOfLast(std::span(times).first(i + 1), 5)});
    return points;
}

QByteArray HistoryCsv(const std::vector<THistoryRow>& rows)
{
    QByteArray csv = CsvLine({QStringLiteral("id"), QStringLiteral("started"), QStringLiteral("ended"), QStringLiteral("size"),
                              QStringLiteral("seconds"), QStringLiteral("moves"), QStringLiteral("undos"), QStringLiteral("hints"),
                              QStringLiteral("computer"), QStringLiteral("abandoned"), QStringLiteral("shortest"),
                              QStringLiteral("picture"), QStringLiteral("name")});
    for (const THistoryRow& row : rows) {
        const auto number = [](qint64 value) { return QString::number(value); };
        csv += CsvLine({number(row.Id), row.Started, row.Ended, number(row.BoardSize), number(row.Seconds), number(row.Moves),
                        number(row.Undos), number(row.Hints), number(row.Outcome == TGameOutcome::Computer),
                        number(row.Outcome == TGameOutcome::Abandoned), row.Shortest ? number(*row.Shortest) : QString(),
                        InertText(row.Picture), InertText(row.Name)});
    }
    return csv;
}
