#include "framework/Language.h"
#include "game/Statistics.h"
#include "tests/windows/WindowTestSupport.h"
#include "windows/StatisticsWindow.h"
#include "windows/TimeChart.h"

#include <QHeaderView>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>

namespace {

THistoryRow Game(int size, int seconds, int moves, int hints = 0)
{
    return {.Started = "2024-05-01T12:00:00Z", .Ended = "2024-05-01T12:00:00Z", .BoardSize = size, .Seconds = seconds,
            .Moves = moves, .Hints = hints, .Shortest = {}, .Picture = "Mozik.bmp", .Name = {}};
}

class StatisticsWindowTest : public TShownWindowTest {
protected:
    TStatisticsWindow* Window() const { return form.findChild<TStatisticsWindow*>(); }
    // Another window of the game, writing to the same history.
    void OtherWindowWrites(std::initializer_list<THistoryRow> rows)
    {
        THistory other(form.History().Path());
        for (const THistoryRow& row : rows)
            other.Add(row);
    }
    QStringList Column(int size, int column) const
    {
        QStringList texts;
        for (int r = 0; r < Window()->Table(size)->rowCount(); ++r)
            texts << Window()->Table(size)->index(r, column).data().toString();
        return texts;
    }
};

// The figures, points and texts themselves are the statistics' tests: here the window shows them.
TEST_F(StatisticsWindowTest, CtrlIShowsTheBoardsSizeAndTheWindowFollowsGamesEndedInAnotherWindow)
{
    OtherWindowWrites({Game(4, 30, 60), Game(4, 20, 50, 2), Game(5, 99, 300)});
    form.Session().NewBoard(4);
    const QRect frame = form.frameGeometry(), area = form.screen()->availableGeometry();
    form.move(area.center() - QPoint(frame.width() / 2 - 9, frame.height() / 2 + 7));  // off the screen's middle
    QTest::keyClick(&form, Qt::Key_I, Qt::ControlModifier);
    TStatisticsWindow* window = Window();
    ASSERT_TRUE(window && window->isVisible() && !window->isModal());
    const auto middle = [](const QRect& frame) { return frame.topLeft() + QPoint(frame.width() / 2, frame.height() / 2); };
    EXPECT_EQ(middle(window->frameGeometry()), middle(form.frameGeometry()));  // over the main window, as the dialogs
    EXPECT_EQ(std::pair(window->CurrentSize(), window->Tabs->tabText(0)), std::pair(4, QString("4  x  4")));
    EXPECT_EQ(Column(4, THistoryTableModel::Time), QStringList({"20", "30"}));  // the last game first
    EXPECT_EQ(std::pair(window->Figure(4, TStatisticsWindow::BestTime), window->Figure(4, TStatisticsWindow::AverageOf5)),
              std::pair(QString("20 с"), QString("—")));
    // A click on a header sorts by that column.
    auto* view = Part<QTableView>(*window, "Table4");
    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(THistoryTableModel::Moves) + 5, 5));
    ASSERT_EQ(header->sortIndicatorSection(), THistoryTableModel::Moves);
    EXPECT_EQ(Column(4, THistoryTableModel::Moves),
              header->sortIndicatorOrder() == Qt::AscendingOrder ? QStringList({"50", "60"}) : QStringList({"60", "50"}));

    OtherWindowWrites({Game(4, 10, 10), Game(4, 12, 12), Game(4, 15, 15), Game(4, 40, 40)});
    clock.Advance(1000);  // the window's next look
    EXPECT_EQ(Column(4, THistoryTableModel::Time).size(), 6);
    EXPECT_EQ(window->Figure(4, TStatisticsWindow::AverageOf5), QLocale().toString((20 + 15 + 12) / 3.0, 'f', 2) + " с");
    EXPECT_EQ(window->Chart(4)->Points().back().Average, (20 + 15 + 12) / 3.0);
}

TEST_F(StatisticsWindowTest, ExportWritesEveryRowOfTheHistoryAsCsvAndTellsWhatCannotBeWritten)
{
    OtherWindowWrites({Game(4, 30, 60), Game(6, 7, 8)});
    form.Statistics1Click();
    const QString file = dir.filePath("games.csv");
    std::optional<QString> chosen = file;
    const SaveFileFunction desktop = SetSaveFileFunction([&](QWidget*, const TSaveDialog&) { return chosen; });
    ScopedErrorBoxes errors;
    Window()->ExportButton->click();
    EXPECT_EQ(ReadFile(file), HistoryCsv(form.History().Load().Rows));
    for (const std::optional<QString>& another : {std::optional(dir.path()), std::optional<QString>()}) {  // a folder; cancelled
        chosen = another;
        Window()->ExportCsv();
    }
    SetSaveFileFunction(desktop);
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(dir.path()));
}

TEST_F(StatisticsWindowTest, TheWindowFollowsTheLanguageAndTheChartReadsAtAnySize)
{
    OtherWindowWrites({Game(5, 30, 60), Game(5, 20, 50), Game(5, 25, 50), Game(5, 40, 50), Game(5, 22, 50)});
    form.Statistics1Click();
    TStatisticsWindow* window = Window();
    UseLanguage(TLanguage::English);
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(RussianTexts(*window), window->Model().headerData(THistoryTableModel::Name, Qt::Horizontal).toString()),
              std::pair(QStringList(), QString("Name")));
    UseLanguage(TLanguage::Automatic);  // the tests' Russian
    QCoreApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), "Статистика");

    TTimeChart* chart = window->Chart(5);
    for (const QSize size : {chart->minimumSizeHint(), QSize(1200, 500)}) {
        chart->resize(size);
        const std::set<TColor> colours = ColoursOf(chart->grab().toImage());
        EXPECT_TRUE(colours.contains(FromQColor(TTimeChart::kTimeColour)) && colours.contains(FromQColor(TTimeChart::kAverageColour)))
            << size.width();
    }
}

} // namespace
