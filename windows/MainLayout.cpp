#include "windows/MainLayout.h"

#include "balloon/Zelhint.h"
#include "effects/FxImage.h"
#include "framework/Dialogs.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/SpeedButton.h"
#include "framework/Texts.h"
#include "windows/Accessibility.h"
#include "windows/BoardGeometry.h"
#include "windows/DialogLayout.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <utility>

namespace {

const char* const kTimePrefix = QT_TRANSLATE_NOOP("TForm1", "Время : ");
// Embossed digits in the face colour.
const TFont kClockFont = MakeFont(QStringLiteral("Arial"), 21, clBtnFace, true);

} // namespace

TSpeedButton* MakeToolButton(QWidget* toolBar, const char* name, int left, const QImage& glyph, int glyphs,
                             const char* hint, const std::function<void()>& click)
{
    auto* button = Named(new TSpeedButton(toolBar), name);
    button->setGeometry(left, 8, 25, 25);
    button->SetGlyph(glyph, glyphs);
    SetTranslatedHint(button, kMainContext, hint);
    SetTranslatedName(button, kMainContext, hint);  // a screen reader names it by its hint
    SetShowHint(button, true);
    QObject::connect(button, &QToolButton::clicked, button, click);
    return button;
}

void SetToolHint(TSpeedButton* button, const QString& hint)
{
    SetHint(button, hint);
    button->setAccessibleName(hint);
}

TImage* MakeHiddenImage(QWidget* parent, const char* name, const QRect& bounds)
{
    auto* image = Named(new TImage(parent), name);
    image->setGeometry(bounds);
    image->hide();
    return image;
}

TFxLabel* MakeClockLabel(QWidget* toolBar)
{
    auto* label = Named(new TFxLabel(toolBar), "Label1");
    label->resize(kTimeLabelWidth, kToolBarHeight - 2);
    label->SetAlignment(taCenter);
    label->SetBevelOuter(TPanelBevel::bvLowered);
    label->SetColor(clBtnFace);
    label->SetFont(kClockFont);
    label->SetTextStyle(tsRaised);
    label->SetEffect(0);
    SetTranslatedHint(label, kMainContext, QT_TRANSLATE_NOOP("TForm1", "А время идет ..."));
    SetShowHint(label, false);
    return label;
}

void ShowTime(TFxLabel* clock, int seconds)
{
    const QString time = QCoreApplication::translate(kMainContext, kTimePrefix) + QString::number(seconds);
    if (time == clock->Caption())
        return;
    clock->SetFont(FittingFont(kClockFont, time, kTimeLabelWidth - 2));
    clock->SetCaption(time);
    TellNameChanged(clock);
}

TZelHint* MakeHintManager(QObject* owner)
{
    auto* manager = Named(new TZelHint(owner), "ZelHint1");
    manager->SetHintColor(clBtnFace);
    manager->SetHintShadowColor(clGray);
    manager->SetHintFont(MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true));
    return manager;
}

QMenu* MakeMenu(QMenuBar* bar, const char* name, const char* context, const char* caption)
{
    QMenu* menu = Named(bar->addMenu(QString()), name);
    SetTranslatedText(menu->menuAction(), context, caption);
    return menu;
}

QAction* MakeItem(QMenu* menu, const char* name, const char* context, const char* caption, const QKeySequence& shortcut)
{
    QAction* item = Named(menu->addAction(QString()), name);
    SetTranslatedText(item, context, caption);
    item->setShortcut(shortcut);
    return item;
}

void MakeSizeItems(QMenu* menu, std::initializer_list<QAction**> items, const std::function<void(int)>& choose)
{
    int n = 1;
    for (QAction** item : items) {
        const QByteArray name = QByteArrayLiteral("N%1x%1").replace("%1", QByteArray::number(n));
        *item = Named(menu->addAction(QStringLiteral("&%1  x  %1").arg(n)), name.constData());
        (*item)->setCheckable(true);
        (*item)->setData(n);
        QObject::connect(*item, &QAction::triggered, menu, [choose, n] { choose(n); });
        n = n == 1 ? 4 : n + 1;
    }
}

void TBusyCursor::Show(bool busy)
{
    if (busy == shown_)
        return;
    shown_ = busy;
    busy ? QApplication::setOverrideCursor(Qt::BusyCursor) : QApplication::restoreOverrideCursor();
}

void TProblemTeller::Tell(const QString& problem)
{
    if (shown_)
        ShowErrorBox(window_, problem);
    else
        kept_ << problem;
}

void TProblemTeller::WindowShown()
{
    shown_ = true;
    if (kept_.isEmpty())
        return;
    // Told over the game's window, once it is there to be seen, one box after the other.
    WhenNoDialogIsOpen(window_, [window = window_, problems = std::exchange(kept_, QStringList())] {
        for (const QString& problem : problems)
            ShowErrorBox(window, problem);
    });
}
