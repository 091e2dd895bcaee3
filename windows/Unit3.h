#pragma once
// The result dialog: the time of a finished game and, when it earns a place, the player's name.

#include "game/ScoreTable.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class TLabelEffect;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Components, in the order the layout declares them.
    QLineEdit* Edit1 = nullptr;
    TLabelEffect* LabelEffect1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label4 = nullptr;

    // The game to show: its board size and time, and the table it may enter.
    void Present(const TScoreTable& scores, int boardSize, int seconds);

    void FormShow();
    // Hands the name typed for the finished game on, when there is one and the time earns a
    // place, then closes.
    void Button1Click();

signals:
    void NameEntered(const QString& name);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TScoreTable scores_;
    int boardSize_ = 0;
    int seconds_ = 0;
    QPointer<QWidget> lastFocus_;
};

extern TForm2* Form2;
