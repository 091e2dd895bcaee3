#pragma once
// The About box: the motto, the version and the author, beside a portrait revealed box by box.

#include <QDialog>

class QLabel;
class QPushButton;
class TBevel;
class TFxImage;

class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);

    // Components, in the order the layout declares them.
    TBevel* Bevel1 = nullptr;
    TBevel* Bevel2 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    TFxImage* FxImage1 = nullptr;

    void Button1Click();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool centred_ = false;
};

extern TAbout* About;
