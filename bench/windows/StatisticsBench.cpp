// The statistics window over a history of 10,000 games (it must take them in within 0.3 s): the
// window opened afresh on a history opened afresh (the database checked, every row read, the
// figures, charts and tables of every size made, the window shown), and read again once open.

#include "framework/Clock.h"
#include "game/History.h"
#include "windows/StatisticsWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 10000;

// A history of kRows games of every size, made once for the program.
const QString& TenThousandGames()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath("history.sqlite");
        {
            THistory history(file);
            history.Add({});  // the tables, made as the game makes them
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
            db.setDatabaseName(file);
            db.open();
            QSqlQuery(db).exec(QStringLiteral("DELETE FROM games"));
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral("INSERT INTO games (started, ended, size, seconds, moves, undos, hints, computer, "
                                          "abandoned, shortest, picture, name) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            for (int i = 0; i < kRows; ++i) {
                const QString ended = QDateTime::fromSecsSinceEpoch(1'700'000'000 + 600 * i, Qt::UTC).toString(Qt::ISODate);
                const int size = 4 + i % 4, seconds = 30 + (i * 7919) % 300;
                const QVariant values[] = {ended, ended, size, seconds, 3 * seconds, i % 5, i % 7 == 0, i % 11 == 0, i % 13 == 0,
                                           size == 4 ? QVariant(50) : QVariant(QMetaType::fromType<int>()),
                                           QStringLiteral("picture-%1.png").arg(i % 50), QStringLiteral("Игрок %1").arg(i % 9)};
                for (int v = 0; v < int(std::size(values)); ++v)
                    insert.bindValue(v, values[v]);
                insert.exec();
            }
            db.commit();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench"));
        return file;
    }();
    return path;
}

void BM_StatisticsWindowOpens(benchmark::State& state)
{
    const QString& path = TenThousandGames();
    TManualClock clock;
    for (auto _ : state) {
        THistory history(path);
        TStatisticsWindow window(history, clock);
        window.ShowSize(4);
        QApplication::processEvents();
        if (window.Model().rowCount() != kRows)
            state.SkipWithError("not every row was read");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_StatisticsWindowOpens)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_StatisticsWindowReadsAgain(benchmark::State& state)
{
    TManualClock clock;
    THistory history(TenThousandGames());
    TStatisticsWindow window(history, clock);
    window.ShowSize(4);
    for (auto _ : state)
        window.Refresh();
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_StatisticsWindowReadsAgain)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
