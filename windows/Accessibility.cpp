#include "windows/Accessibility.h"

#include "effects/FxImage.h"
#include "game/Board.h"
#include "windows/BoardPanel.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>

namespace {

// One cell of the board, by its position: it reads the board as it is whenever asked, so it stays
// true through moves and new boards (a cell beyond a smaller board is no longer valid).
class TCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
public:
    TCellAccessible(TBoardPanel* board, int position) : board_(board), position_(position) {}

    bool isValid() const override { return board_ && position_ <= board_->Side() * board_->Side(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_ ? board_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(board_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Name || !isValid())
            return {};
        const int n = board_->Side(), piece = board_->PieceShownAt(position_);
        const QString row = QString::number(RowOf(position_, n)), column = QString::number(ColumnOf(position_, n));
        return piece == 0 ? QCoreApplication::translate("TBoardPanel", "Пустая клетка, ряд %1, столбец %2").arg(row, column)
                          : QCoreApplication::translate("TBoardPanel", "%1, ряд %2, столбец %3").arg(QString::number(piece), row, column);
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect cell = board_->Geometry().TileRect(position_).ToQRect();
        return QRect(board_->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invalid = !isValid();
        state.invisible = !isValid() || !board_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // The table's cell interface.
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return isValid() ? ColumnOf(position_, board_->Side()) - 1 : -1; }
    int rowIndex() const override { return isValid() ? RowOf(position_, board_->Side()) - 1 : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // Pressing a cell is a click on its tile: it slides when it can.
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && isValid())
            board_->ClickCell(position_);
    }

private:
    QPointer<TBoardPanel> board_;
    const int position_;
};

// The board: a table of N x N cells, their tiles and frames hidden from readers.
class TBoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TBoardAccessible(TBoardPanel* board)
        : QAccessibleWidget(board, QAccessible::Table, QCoreApplication::translate("TBoardPanel", "Игровое поле"))
    {
    }
    ~TBoardAccessible() override
    {
        for (QAccessible::Id id : cells_)
            QAccessible::deleteAccessibleInterface(id);
    }

    TBoardPanel* Board() const { return static_cast<TBoardPanel*>(widget()); }
    int Cells() const { return Board()->Side() * Board()->Side(); }

    int childCount() const override { return Cells(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= Cells())
            return nullptr;
        while (int(cells_.size()) <= index)
            cells_.push_back(QAccessible::registerAccessibleInterface(new TCellAccessible(Board(), int(cells_.size()) + 1)));
        return QAccessible::accessibleInterface(cells_[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int index = 0; index < Cells() && index < int(cells_.size()); ++index)
            if (QAccessible::accessibleInterface(cells_[size_t(index)]) == child)
                return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int index = 0; index < Cells(); ++index)
            if (QAccessibleInterface* cell = child(index); cell->rect().contains(x, y))
                return cell;
        return nullptr;
    }
    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Description)
            return QStringLiteral("%1 x %1").arg(Board()->Side());
        return QAccessibleWidget::text(type);
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The table: no caption, no headers, nothing to select.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        const int n = Board()->Side();
        return row >= 0 && row < n && column >= 0 && column < n ? child(row * n + column) : nullptr;
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Board()->Side(); }
    int rowCount() const override { return Board()->Side(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable std::vector<QAccessible::Id> cells_;  // by position - 1, made when first asked for
};

// An effect label reads as its caption.
class TLabelAccessible : public QAccessibleWidget {
public:
    explicit TLabelAccessible(TFxLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text type) const override
    {
        const QString own = QAccessibleWidget::text(type);
        return type == QAccessible::Name && own.isEmpty() ? static_cast<TFxLabel*>(widget())->Caption() : own;
    }
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("TBoardPanel"))
        return new TBoardAccessible(static_cast<TBoardPanel*>(object));
    if (className == QLatin1String("TFxLabel"))
        return new TLabelAccessible(static_cast<TFxLabel*>(object));
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(MakeInterface), true);
    (void)installed;
}

void TellBoardRebuilt(TBoardPanel* board)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(board, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void TellCellsChanged(TBoardPanel* board, const std::vector<int>& positions)
{
    if (!QAccessible::isActive() || positions.empty())
        return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(board);
    for (int p : positions)
        if (QAccessibleInterface* cell = table ? table->child(p - 1) : nullptr) {
            QAccessibleEvent event(cell, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
}

void TellNameChanged(QWidget* control)
{
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
