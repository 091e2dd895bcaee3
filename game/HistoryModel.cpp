#include "game/HistoryModel.h"

#include <QDateTime>

namespace {

bool Numeric(int column)
{
    return column >= THistoryTableModel::Time && column <= THistoryTableModel::Hints;
}

} // namespace

void THistoryTableModel::SetRows(std::vector<THistoryRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void THistoryTableModel::Retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int THistoryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int THistoryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant THistoryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const THistoryRow& row = rows_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole: return Shown(row, index.column());
    case SortRole: return SortValue(index.row(), index.column());
    case SizeRole: return row.BoardSize;
    case Qt::TextAlignmentRole:
        return Numeric(index.column()) ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (row.Hints > 0 && row.Outcome == TGameOutcome::Finished)
            return tr("С подсказками игра не входит в десятку лучших.");
        return {};
    default: return {};
    }
}

QVariant THistoryTableModel::Shown(const THistoryRow& row, int column) const
{
    switch (column) {
    case Ended: return QDateTime::fromString(row.Ended, Qt::ISODate).toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case Time: return row.Seconds;
    case Moves: return row.Moves;
    case Shortest: return row.Shortest ? QVariant(*row.Shortest) : QVariant(QStringLiteral("—"));
    case Undos: return row.Undos;
    case Hints: return row.Hints;
    case Outcome: return OutcomeText(row.Outcome, row.Hints);
    case Picture: return row.Picture;
    case Name: return row.Name;
    default: return {};
    }
}

QString THistoryTableModel::OutcomeText(TGameOutcome outcome, int hints)
{
    switch (outcome) {
    case TGameOutcome::Finished: return hints > 0 ? tr("собрана с подсказками") : tr("собрана");
    case TGameOutcome::Computer: return tr("собрана компьютером");
    case TGameOutcome::Abandoned: return tr("брошена");
    }
    return {};
}

QVariant THistoryTableModel::SortValue(int line, int column) const
{
    const THistoryRow& row = rows_[std::size_t(line)];
    switch (column) {
    case Ended: return line;  // the rows are in the order the games ended
    case Shortest: return row.Shortest.value_or(-1);
    default: return Shown(row, column);
    }
}

QVariant THistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Ended: return tr("Окончена");
    case Time: return tr("Время, с");
    case Moves: return tr("Ходов");
    case Shortest: return tr("Кратчайшее");
    case Undos: return tr("Отмен");
    case Hints: return tr("Подсказок");
    case Outcome: return tr("Итог");
    case Picture: return tr("Рисунок");
    case Name: return tr("Имя");
    default: return {};
    }
}

TSizeFilter::TSizeFilter(int size, QObject* parent) : QSortFilterProxyModel(parent), size_(size)
{
    setSortRole(THistoryTableModel::SortRole);
    setDynamicSortFilter(true);
}

bool TSizeFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    return sourceModel()->index(sourceRow, 0, sourceParent).data(THistoryTableModel::SizeRole).toInt() == size_;
}
