#include "windows/Unit2.h"

#include "effects/FxImage.h"
#include "framework/Bevel.h"
#include "framework/Hints.h"
#include "framework/Texts.h"
#include "windows/DialogLayout.h"
#include "art/Portrait.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

TAbout* About = nullptr;

namespace {

const QString kAuthor = QStringLiteral("Mozik");

} // namespace

TAbout::TAbout(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(this, "About", QT_TR_NOOP("About"), 339, 169);
    const TFont dialogFont = MakeFont(QStringLiteral("MS Sans Serif"), 11, clWindowText);

    Bevel1 = new TBevel(this, TBevelStyle::bsLowered);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(0, 0, 339, 169);
    Bevel2 = new TBevel(this, TBevelStyle::bsRaised);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setGeometry(16, 8, 136, 153);

    FxImage1 = new TFxImage(this);
    FxImage1->setObjectName(QStringLiteral("FxImage1"));
    FxImage1->setGeometry(24, 16, 120, 136);
    FxImage1->SetEffect(35);
    FxImage1->SetBoxWidth(2);
    FxImage1->SetAutoSize(true);
    FxImage1->SetPicture(MakePortrait());
    SetHint(FxImage1, kAuthor);
    SetShowHint(FxImage1, true);

    const TFont text = MakeFont(QStringLiteral("MS Sans Serif"), 13, clBlack);
    TFont italic = text;
    italic.Italic = true;
    Label1 = MakeLabel(this, "Label1", QRect(160, 16, 175, 19), QT_TR_NOOP("Составь кого-нибудь."),
                       MakeFont(QStringLiteral("Arial"), 16, clBlack, true));
    Label2 = MakeLabel(this, "Label2", QRect(224, 40, 94, 13), QT_TR_NOOP("( Например Мозика )"), dialogFont);
    Label3 = MakeLabel(this, "Label3", QRect(192, 64, 80, 16), QT_TR_NOOP("Версия : 2.13"), text);
    Label4 = MakeLabel(this, "Label4", QRect(160, 88, 46, 16), QT_TR_NOOP("Автор :"), text);
    Label5 = MakeLabel(this, "Label5", QRect(232, 88, 65, 16), kAuthor, italic);
    Label6 = MakeLabel(this, "Label6", QRect(168, 112, 139, 16), QString(), italic);

    Button1 = MakeOkButton(this, QRect(240, 136, 75, 25));
    connect(Button1, &QPushButton::clicked, this, &TAbout::Button1Click);
}

void TAbout::Button1Click()
{
    accept();
}

void TAbout::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        RetranslateTexts(this);
}

void TAbout::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}
