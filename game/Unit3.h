#pragma once
// The result dialog: the time of a finished game and, when it earns a place, the player's name.

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

    void FormShow();
    // Records the name typed for the finished game, when there is one, then closes.
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> lastFocus_;
};

extern TForm2* Form2;
