#include "windows/Unit4.h"

#include "effects/FxImage.h"
#include "framework/Bevel.h"
#include "framework/Hints.h"
#include "framework/TabSet.h"
#include "framework/Texts.h"
#include "windows/DialogLayout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>

TForm3* Form3 = nullptr;

namespace {

const TFont kRowFont = MakeFont(QStringLiteral("Arial"), 13, clBlack, true, true);

TFxLabel* MakeRowLabel(QWidget* parent, int i, const QRect& bounds)
{
    auto* label = new TFxLabel(parent);
    label->setObjectName(QStringLiteral("FxLabel%1").arg(i));
    label->setGeometry(bounds);
    label->SetAlignment(taCenter);
    label->SetBevelOuter(TPanelBevel::bvLowered);
    label->SetColor(clBtnFace);
    label->SetFont(kRowFont);
    label->SetTextStyle(tsRaised);
    return label;
}

} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(this, "Form3", QT_TR_NOOP("High Scores"), 390, 316);

    // Created in this order, so that rows i and i + 10 are the window's components i and i + 10.
    Bevel1 = new TBevel(this, TBevelStyle::bsRaised);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(0, 0, 390, 281);
    for (int i = 1; i <= 10; ++i) {
        fxLabels_[size_t(i)] = MakeRowLabel(this, i, QRect(8, 40 + 24 * (i - 1), 265, 17));
        fxLabels_[size_t(i)]->SetEffect(1);
        fxLabels_[size_t(i)]->SetBoxWidth(2);
    }
    for (int i = 11; i <= 20; ++i)
        fxLabels_[size_t(i)] = MakeRowLabel(this, i, QRect(280, 40 + 24 * (i - 11), 100, 17));

    FxLabel21 = new TFxLabel(this);
    fxLabels_[21] = FxLabel21;
    FxLabel21->setObjectName(QStringLiteral("FxLabel21"));
    FxLabel21->setGeometry(8, 8, 377, 25);
    FxLabel21->SetCaption(tr("Таблица результатов :"));
    FxLabel21->SetEffect(37);
    FxLabel21->SetBoxWidth(2);
    FxLabel21->SetAlignment(taCenter);
    FxLabel21->SetBevelOuter(TPanelBevel::bvNone);
    FxLabel21->SetFont(MakeFont(QStringLiteral("Arial Black"), 19, clBlack, true, true));

    TabSet1 = new TTabSet(this);
    TabSet1->setObjectName(QStringLiteral("TabSet1"));
    TabSet1->setGeometry(0, 281, 390, 35);
    TabSet1->setFont(MakeFont(QStringLiteral("Arial"), 12, clBlack, true).ToQFont());
    for (int size = kFirstScoreSize; size <= kLastScoreSize; ++size)
        TabSet1->addTab(QStringLiteral("%1  x  %1").arg(size));
    SetTranslatedHint(TabSet1, "TForm3", QT_TR_NOOP("Размер картинки."));
    SetShowHint(TabSet1, true);
    TabSet1->OnChange = [this](int newTab, bool& allowChange) { TabSet1Change(newTab, allowChange); };

    Button1 = MakeOkButton(this, QRect(254, 288, 75, 25));
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    setTabOrder(Button1, TabSet1);  // OK first: the dialog opens with the focus on it
}

void TForm3::Present(const TScoreTable& scores, int boardSize)
{
    scores_ = scores;
    boardSize_ = boardSize;
}

void TForm3::FillRows(int tab)
{
    const int size = tab + kFirstScoreSize;
    if (!TScoreTable::HasSize(size))
        return;
    for (int i = 1; i <= kScorePlaces; ++i) {
        const TScoreEntry& entry = scores_.Entry(size, i);
        // An empty place shows the default name in the language in force; the file keeps it as it
        // is. A name shows as it was typed (drawn, its characters steer nothing).
        const bool empty = entry == TScoreTable::EmptyEntry();
        FxLabel(i)->SetCaption(empty ? QCoreApplication::translate("TScoreTable", kUnknownNameSource) : DecodeName(entry.Name));
        // A time too long for the column inside its bevel is condensed to fit.
        const QString time = QString::number(entry.Time);
        FxLabel(i + 10)->SetFont(FittingFont(kRowFont, time, FxLabel(i + 10)->width() - 2));
        FxLabel(i + 10)->SetCaption(time);
    }
}

void TForm3::FormShow()
{
    FillRows(TabSet1->TabIndex());
    // Opens on the tab of the board in play; a board without a table (1 x 1) keeps the tab
    // shown last.
    TabSet1->SetTabIndex(boardSize_ - kFirstScoreSize);
}

void TForm3::TabSet1Change(int newTab, bool& /*allowChange*/)
{
    FillRows(newTab);
}

void TForm3::Button1Click()
{
    accept();
}

void TForm3::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    RetranslateTexts(this);
    FxLabel21->SetCaption(tr("Таблица результатов :"));
    FillRows(TabSet1->TabIndex());
}

void TForm3::showEvent(QShowEvent* event)
{
    FormShow();
    Button1->setFocus(Qt::OtherFocusReason);
    CentreOnMainWindow(this);  // wherever the main window is now
    QDialog::showEvent(event);
}
