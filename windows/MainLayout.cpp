#include "windows/MainLayout.h"

#include "balloon/Zelhint.h"
#include "effects/FxImage.h"
#include "framework/Hints.h"
#include "framework/SpeedButton.h"
#include "windows/BoardGeometry.h"
#include "windows/DialogLayout.h"

#include <QAction>
#include <QMenu>

namespace {

const QString kTimePrefix = QStringLiteral("Время : ");
// Embossed digits in the face colour.
const TFont kClockFont = MakeFont(QStringLiteral("Arial"), 21, clBtnFace, true);

} // namespace

TSpeedButton* MakeToolButton(QWidget* toolBar, const char* name, int left, const QImage& glyph, int glyphs,
                             const QString& hint)
{
    auto* button = Named(new TSpeedButton(toolBar), name);
    button->setGeometry(left, 8, 25, 25);
    button->SetGlyph(glyph, glyphs);
    SetHint(button, hint);
    SetShowHint(button, true);
    return button;
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
    SetHint(label, QStringLiteral("А время идет ..."));
    SetShowHint(label, false);
    return label;
}

void ShowTime(TFxLabel* clock, int seconds)
{
    const QString time = kTimePrefix + QString::number(seconds);
    clock->SetFont(FittingFont(kClockFont, time, kTimeLabelWidth - 2));
    clock->SetCaption(time);
}

TZelHint* MakeHintManager(QObject* owner)
{
    auto* manager = Named(new TZelHint(owner), "ZelHint1");
    manager->SetHintColor(clBtnFace);
    manager->SetHintShadowColor(clGray);
    manager->SetHintFont(MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true));
    return manager;
}

QAction* MakeItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* item = Named(menu->addAction(caption), name);
    item->setShortcut(shortcut);
    return item;
}
