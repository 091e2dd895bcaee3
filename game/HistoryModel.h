#pragma once
// The history's rows as a table for the statistics window: one line per game, the columns the
// player reads (when it ended, in local time, its time, moves, the shortest way, take-backs,
// hints, how it ended, the picture and the name), each sortable by its value; and a filter that
// keeps the games of one board size, sorting them.

#include "game/History.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <vector>

class THistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { Ended, Time, Moves, Shortest, Undos, Hints, Outcome, Picture, Name, ColumnCount };
    // The value a column sorts by (a number where it is one), and the board size of a line.
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int SizeRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<THistoryRow> rows);
    const std::vector<THistoryRow>& Rows() const { return rows_; }
    // The headers and texts are told again in the language now in force.
    void Retranslate();
    // How a game ended, as the table says it.
    static QString OutcomeText(TGameOutcome outcome, int hints);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant Shown(const THistoryRow& row, int column) const;
    QVariant SortValue(int line, int column) const;

    std::vector<THistoryRow> rows_;
};

// The lines of one board size, sorted by the sort role.
class TSizeFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    TSizeFilter(int size, QObject* parent = nullptr);
    int Size() const { return size_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    int size_;
};
