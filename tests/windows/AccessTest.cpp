// The main window for screen readers and the keyboard: the board as a table of named cells that a
// reader can press, the clock, the status line and the tool buttons as text, every menu command
// within reach of the keys, and the board's focus frame.

#include "tests/windows/WindowTestSupport.h"
#include "windows/ClientArea.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class AccessTest : public TShownWindowTest {
protected:
    QAccessibleInterface* Table() const { return QAccessible::queryAccessibleInterface(Board()); }
    QAccessibleInterface* Cell(int p) const { return Table()->child(p - 1); }
    // What a reader should hear for each cell: the piece shown there and its place.
    QStringList ExpectedNames() const
    {
        const int n = form.BoardSize();
        QStringList names;
        for (int p = 1; p <= n * n; ++p) {
            const int piece = form.Grid().AtPosition(p, n), row = RowOf(p, n), column = ColumnOf(p, n);
            names << (piece == 0 && form.Running() ? QString("Пустая клетка, ряд %1, столбец %2").arg(row).arg(column)
                                                   : QString("%1, ряд %2, столбец %3").arg(piece ? piece : n * n).arg(row).arg(column));
        }
        return names;
    }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < Table()->childCount(); ++i)
            names << Table()->child(i)->text(QAccessible::Name);
        return names;
    }
};

TEST_F(AccessTest, TheBoardIsATableOfCellsNamedByTheirPieceAndPlaceThatFollowTheGameAndCanBePressed)
{
    form.N4x4Click();
    QAccessibleInterface* table = Table();
    ASSERT_TRUE(table && table->tableInterface());
    EXPECT_EQ(std::tuple(table->role(), table->text(QAccessible::Name), table->childCount(), table->tableInterface()->rowCount(),
                         table->tableInterface()->columnCount()),
              std::tuple(QAccessible::Table, QString("Игровое поле"), 16, 4, 4));
    EXPECT_EQ(Names(), ExpectedNames());
    form.Start();
    EXPECT_EQ(Names(), ExpectedNames());
    EXPECT_EQ(Cell(16)->text(QAccessible::Name), "Пустая клетка, ряд 4, столбец 4");
    // Each cell knows its place in the table and on the screen, and comes back as itself.
    QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 2);  // position 7
    EXPECT_EQ(std::tuple(cell, cell->role(), cell->tableCellInterface()->rowIndex(), cell->tableCellInterface()->columnIndex(),
                         table->indexOfChild(cell), cell->parent(), cell->rect()),
              std::tuple(Cell(7), QAccessible::Cell, 1, 2, 6, table, QRect(TileAt(7)->mapToGlobal(QPoint(0, 0)), TileAt(7)->size())));
    EXPECT_EQ(table->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);

    // Pressing a cell beside the gap slides its tile, and the names follow.
    Cell(12)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(GapPos, 12);
    EXPECT_EQ(Names(), ExpectedNames());
    Cell(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());  // not beside the gap
    EXPECT_EQ(GapPos, 12);

    // Another size: more cells; back again, the cells beyond the board are gone.
    form.N7x7Click();
    EXPECT_EQ(std::tuple(Table()->childCount(), Cell(49)->text(QAccessible::Name)), std::tuple(49, QString("49, ряд 7, столбец 7")));
    QAccessibleInterface* far = Cell(40);
    form.N4x4Click();
    EXPECT_EQ(std::pair(far->isValid(), Cell(16)->text(QAccessible::Name)), std::pair(false, QString("16, ряд 4, столбец 4")));
}

TEST_F(AccessTest, TheClockTheStatusLineAndTheToolButtonsReadAsTheTextTheyShow)
{
    QAccessibleInterface* clockText = QAccessible::queryAccessibleInterface(Part(form, "Label1"));
    EXPECT_EQ(std::pair(clockText->role(), clockText->text(QAccessible::Name)), std::pair(QAccessible::StaticText, QString("Время : 0")));
    form.Start();
    clock.Advance(3000);
    EXPECT_EQ(clockText->text(QAccessible::Name), "Время : 3");

    // The status line whole, however narrow the window cuts it.
    Item("StatusLine1")->trigger();
    static_cast<TClientArea*>(form.centralWidget())->ShowStatus(QString("Ходов: 123  ·  ").repeated(4));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Part(form, "Label2"))->text(QAccessible::Name), QString("Ходов: 123  ·  ").repeated(4));

    const auto name = [&](const char* button) { return QAccessible::queryAccessibleInterface(Part(form, button))->text(QAccessible::Name); };
    EXPECT_EQ(QStringList({name("SpeedButton1"), name("SpeedButton4"), name("SpeedButton2"), name("SpeedButton3")}),
              QStringList({"Перемешать.", "Пауза.", "Другой рисунок.", "Выход из программы."}));
    form.SpeedButton4Click();
    EXPECT_EQ(name("SpeedButton4"), "Продолжить.");
}

TEST_F(AccessTest, EveryMenuCommandHasAnAccessKeyOrAShortcutAndTheBoardTakesTheKeyboard)
{
    for (QAction* menu : Part<QMenuBar>(form, "MainMenu1")->actions()) {
        EXPECT_TRUE(QKeySequence::mnemonic(menu->text()) != QKeySequence()) << menu->text().toStdString();
        for (QAction* item : menu->menu()->actions())
            EXPECT_TRUE(item->isSeparator() || QKeySequence::mnemonic(item->text()) != QKeySequence() || !item->shortcut().isEmpty())
                << item->text().toStdString();
    }
    // The tool buttons' commands are in the menu with their keys; the board takes the arrow keys.
    for (const char* item : {"Start1", "Pause1", "Open1", "Exit1"})
        EXPECT_FALSE(Item(item)->shortcut().isEmpty()) << item;
    EXPECT_EQ(std::pair(Board()->focusPolicy(), QApplication::focusWidget()), std::pair(Qt::StrongFocus, static_cast<QWidget*>(Board())));
    form.Start();
    const int gap = GapPos;
    QTest::keyClick(Board(), gap % 5 == 0 ? Qt::Key_Right : Qt::Key_Left);  // pressed on the board, it reaches the game
    EXPECT_NE(GapPos, gap);
}

TEST_F(AccessTest, TheFocusFrameShowsOnlyWhileTheBoardHasTheFocusAndThePlayerUsesTheKeyboard)
{
    const QImage plain = Board()->grab().toImage();  // focused, untouched by the keyboard
    EXPECT_FALSE(Board()->FocusShown());
    QTest::keyClick(Board(), Qt::Key_Tab);
    ASSERT_TRUE(Board()->FocusShown());
    // Two pixels in the highlight's colour between the panel's edge and the frames, all round;
    // nothing else changes.
    const QImage framed = Board()->grab().toImage();
    const QRgb highlight = QApplication::palette().color(QPalette::Highlight).rgb();
    const int last = 3 + 5 * 54;  // the first pixel past the frames
    int ring = 0, other = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (framed.pixel(x, y) != plain.pixel(x, y)) {
                const bool inRing = (x >= 1 && x <= last + 1 && y >= 1 && y <= last + 1) && (x <= 2 || y <= 2 || x >= last || y >= last);
                (inRing && framed.pixel(x, y) == highlight ? ring : other)++;
            }
    EXPECT_EQ(std::pair(ring, other), std::pair((last + 1) * (last + 1) - (last - 3) * (last - 3), 0));
    // A click hides it; losing the focus too, and the board's pixels are as before.
    Click(1);
    EXPECT_EQ(std::pair(Board()->FocusShown(), Board()->grab().toImage()), std::pair(false, plain));
    QTest::keyClick(Board(), Qt::Key_Tab);
    Board()->clearFocus();
    EXPECT_EQ(std::pair(Board()->FocusShown(), Board()->grab().toImage()), std::pair(false, plain));
}

} // namespace
