#include "tests/windows/WindowTestSupport.h"
#include "windows/ClientArea.h"

#include <QAccessible>

namespace {

class AccessTest : public TShownWindowTest {
protected:
    QAccessibleInterface* Table() const { return QAccessible::queryAccessibleInterface(Board()); }
    QAccessibleInterface* Cell(int p) const { return Table()->child(p - 1); }
    QString Name(const char* part) const { return QAccessible::queryAccessibleInterface(Part(form, part))->text(QAccessible::Name); }
    // What a reader hears of each cell, and what it should: the piece shown there and its place.
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < Table()->childCount(); ++i)
            names << Table()->child(i)->text(QAccessible::Name);
        return names;
    }
    QStringList Expected() const
    {
        const int n = form.BoardSize();
        QStringList names;
        for (int p = 1; p <= n * n; ++p) {
            const int piece = form.Grid().AtPosition(p, n);
            const QString place = QString("ряд %1, столбец %2").arg(RowOf(p, n)).arg(ColumnOf(p, n));
            names << (piece == 0 && form.Running() ? "Пустая клетка, " + place : QString::number(piece ? piece : n * n) + ", " + place);
        }
        return names;
    }
};

TEST_F(AccessTest, TheBoardIsATableOfCellsNamedByTheirPieceAndPlaceThatFollowTheGameAndCanBePressed)
{
    form.N4x4Click();
    QAccessibleInterface* table = Table();
    ASSERT_TRUE(table && table->tableInterface());
    EXPECT_EQ(std::tuple(table->role(), table->text(QAccessible::Name), table->childCount(), table->tableInterface()->rowCount(),
                         table->tableInterface()->columnCount(), Names()),
              std::tuple(QAccessible::Table, QString("Игровое поле"), 16, 4, 4, Expected()));
    form.Start();
    EXPECT_EQ(std::pair(Names(), Cell(16)->text(QAccessible::Name)), std::pair(Expected(), QString("Пустая клетка, ряд 4, столбец 4")));
    // Each cell knows its place in the table and on the screen.
    QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 2);
    EXPECT_EQ(std::tuple(cell, cell->role(), cell->tableCellInterface()->rowIndex(), cell->tableCellInterface()->columnIndex(),
                         table->indexOfChild(cell), cell->parent(), cell->rect()),
              std::tuple(Cell(7), QAccessible::Cell, 1, 2, 6, table, QRect(TileAt(7)->mapToGlobal(QPoint(0, 0)), TileAt(7)->size())));
    EXPECT_EQ(table->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);

    // A press beside the gap slides the tile, and the names follow; elsewhere nothing moves.
    Cell(12)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Cell(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(std::pair(GapPos, Names()), std::pair(12, Expected()));

    // Another size: more cells; back again, those beyond the board are gone.
    const ScopedQuestions yes({{true, false}});  // the game with a move is given up
    form.N7x7Click();
    EXPECT_EQ(std::pair(Table()->childCount(), Cell(49)->text(QAccessible::Name)), std::pair(49, QString("49, ряд 7, столбец 7")));
    QAccessibleInterface* far = Cell(40);
    form.N4x4Click();
    EXPECT_EQ(std::pair(far->isValid(), Cell(16)->text(QAccessible::Name)), std::pair(false, QString("16, ряд 4, столбец 4")));
}

TEST_F(AccessTest, EveryMenuCommandHasAKeyTheBoardShowsItsFocusOnceTheKeyboardIsUsedAndTheRestReadsAsItsText)
{
    for (QAction* menu : Part<QMenuBar>(form, "MainMenu1")->actions())
        for (QAction* item : QList<QAction*>{menu} + menu->menu()->actions())  // the tool buttons' commands among them
            EXPECT_TRUE(item->isSeparator() || QKeySequence::mnemonic(item->text()) != QKeySequence() || !item->shortcut().isEmpty())
                << item->text().toStdString();
    const QImage plain = Board()->grab().toImage();  // focused, the keyboard not used yet
    form.Start();
    const int gap = GapPos;
    QTest::keyClick(Board(), gap % 5 == 0 ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_EQ(std::tuple(QApplication::focusWidget(), GapPos != gap, Board()->FocusShown()), std::tuple(Board(), true, true));
    // Two pixels of the highlight's colour between the panel's edge and the frames; a click hides
    // them, and so does the focus going.
    const QImage framed = Board()->grab().toImage();
    const QRgb highlight = QApplication::palette().color(QPalette::Highlight).rgb();
    EXPECT_EQ(std::vector({framed.pixel(1, 1), framed.pixel(2, 140), framed.pixel(274, 274), framed.pixel(0, 0)}),
              std::vector({highlight, highlight, highlight, plain.pixel(0, 0)}));
    const ScopedQuestions yes({{true, false}});
    form.N5x5Click();
    Click(1);
    EXPECT_EQ(std::pair(Board()->FocusShown(), Board()->grab().toImage()), std::pair(false, plain));
    QTest::keyClick(Board(), Qt::Key_Tab);
    Board()->clearFocus();
    EXPECT_EQ(std::pair(Board()->FocusShown(), Board()->grab().toImage()), std::pair(false, plain));

    // The clock, the status line and the tool buttons read as the text they show.
    EXPECT_EQ(std::pair(QAccessible::queryAccessibleInterface(Part(form, "Label1"))->role(), Name("Label1")),
              std::pair(QAccessible::StaticText, QString("Время : 0")));
    form.Start();
    clock.Advance(3000);
    EXPECT_EQ(Name("Label1"), "Время : 3");
    const QString line = QString("Ходов: 123  ·  ").repeated(4);  // whole, however the window cuts it
    static_cast<TClientArea*>(form.centralWidget())->ShowStatus(line);
    EXPECT_EQ(Name("Label2"), line);
    form.SpeedButton4Click();  // the four names at the start are told end to end (tests/e2e/access.sh)
    EXPECT_EQ(Name("SpeedButton4"), "Продолжить.");
}

} // namespace
