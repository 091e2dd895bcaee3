#include "tests/game/GameTestSupport.h"

#include "solver/FastSolver.h"

#include <QFile>
#include <gtest/gtest.h>

std::vector<int> SolutionClicks(const TGame& game)
{
    TFastSolverOptions options;
    options.FinishOptimally = false;
    TPosition board = game.Position();
    const std::optional<TSolution> solution = TFastSolver(options).Solve(board);
    std::vector<int> clicks;
    for (int tile : solution->Tiles) {
        int cell = 0;
        while (board.Cells[size_t(cell)] != tile)
            ++cell;
        clicks.push_back(cell + 1);
        ApplyMove(board, tile);
    }
    return clicks;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
}
