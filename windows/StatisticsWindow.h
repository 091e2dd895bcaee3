#pragma once
// The statistics window (File, Statistics, Ctrl+I): a window of its own beside the game, not
// modal, with a tab for each board size from 4 x 4 to 7 x 7. Each tab shows the figures of that
// size (game/Statistics.h), the chart of the last 100 games' times with their running average of
// 5, and a table of its games that sorts by any column; "Export CSV ..." writes every row of the
// history to a file chosen by the player. It is handed the history it shows, reads it when it is
// shown, and reads it again whenever a game ends, in this window or another one (it looks for a
// change once a second while it is shown).

#include "framework/Clock.h"
#include "game/History.h"
#include "game/HistoryModel.h"

#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class TTimeChart;

class TStatisticsWindow : public QWidget {
    Q_OBJECT
public:
    // The figures of a tab, in the order they are shown; the last only on 4 x 4.
    enum TFigure { Games, BestTime, BestMoves, MeanTime, MedianTime, AverageOf5, AverageOf12, MovesPerSecond,
                   MovesOverShortest, FigureCount };
    static constexpr int kFirstSize = 4;
    static constexpr int kLastSize = 7;

    // The clock runs the look for changes; the parent is the window it belongs to.
    TStatisticsWindow(THistory& history, TClock& clock, QWidget* parent = nullptr);
    ~TStatisticsWindow() override;

    // Shows the window, read afresh, raised and active, on the tab of the board size (of the one
    // shown before for a size without a tab).
    void ShowSize(int size);
    // Reads the history again and shows it.
    void Refresh();
    // "Export CSV ...": every row of the history, into the file the save dialog chose.
    void ExportCsv();

    int CurrentSize() const;
    const THistoryTableModel& Model() const { return model_; }
    // The table, the chart and a figure's text of a size's tab.
    TSizeFilter* Table(int size) const { return Page(size).Filter; }
    TTimeChart* Chart(int size) const { return Page(size).Chart; }
    QString Figure(int size, TFigure figure) const;
    // "stats." lines for the end-to-end tests' report: the size shown, its figures, and the
    // lines of its table in the order shown.
    QByteArray Report() const;

    QTabWidget* Tabs = nullptr;
    QLabel* ProblemLabel = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* CloseButton = nullptr;

signals:
    // What the window shows changed: read again, or another tab.
    void Changed();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct TPage {
        std::array<QLabel*, FigureCount> Captions{};
        std::array<QLabel*, FigureCount> Values{};
        TTimeChart* Chart = nullptr;
        QTableView* View = nullptr;
        TSizeFilter* Filter = nullptr;
    };
    const TPage& Page(int size) const { return pages_[std::size_t(size - kFirstSize)]; }
    QWidget* MakePage(int size);
    void ShowFigures(int size);
    void SizeColumns(QTableView* view) const;
    void Retranslate();
    void LookForChange();

    THistory& history_;
    THistoryTableModel model_;
    std::array<TPage, kLastSize - kFirstSize + 1> pages_;
    std::unique_ptr<TTimer> look_;
    std::optional<qint64> version_;
    bool placed_ = false;  // centred over the main window once
};
