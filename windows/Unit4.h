#pragma once
// The score dialog: one table of ten best times at a time, a tab for each board size.

#include "game/ScoreTable.h"

#include <QDialog>
#include <array>

class QPushButton;
class TBevel;
class TFxLabel;
class TTabSet;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Row i (1..10): the name in FxLabel(i), the time in FxLabel(i + 10); FxLabel(21) is the title.
    TFxLabel* FxLabel(int i) const { return fxLabels_[size_t(i)]; }
    QPushButton* Button1 = nullptr;
    TFxLabel* FxLabel21 = nullptr;
    TTabSet* TabSet1 = nullptr;
    TBevel* Bevel1 = nullptr;

    // The tables to show, and the board in play, whose table the dialog opens on.
    void Present(const TScoreTable& scores, int boardSize);

    void FormShow();
    void TabSet1Change(int newTab, bool& allowChange);
    void Button1Click();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FillRows(int tab);
    std::array<TFxLabel*, 22> fxLabels_{};
    TScoreTable scores_;
    int boardSize_ = 0;
    bool centred_ = false;
};

extern TForm3* Form3;
