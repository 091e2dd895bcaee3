#include "framework/TabSet.h"

#include "framework/Colors.h"

#include <QPainter>

TTabSet::TTabSet(QWidget* parent) : QTabBar(parent)
{
    setShape(QTabBar::RoundedSouth);
    setUsesScrollButtons(false);
    setExpanding(false);
    setDrawBase(true);
    setElideMode(Qt::ElideNone);
    connect(this, &QTabBar::currentChanged, this, &TTabSet::Changed);
}

bool TTabSet::SetTabIndex(int index)
{
    if (index < 0 || index >= count())
        return false;
    setCurrentIndex(index);
    return currentIndex() == index;
}

void TTabSet::Changed(int index)
{
    if (reverting_)
        return;
    bool allow = true;
    if (OnChange && index >= 0 && accepted_ >= 0)
        OnChange(index, allow);
    if (!allow) {
        reverting_ = true;
        setCurrentIndex(accepted_);
        reverting_ = false;
        return;
    }
    accepted_ = index;
}

void TTabSet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor face = ToQColor(clBtnFace), light = ToQColor(clBtnHighlight), shadow = ToQColor(clBtnShadow);
    painter.fillRect(rect(), face);
    // The page's lower edge runs along the top, open where the selected tab joins the page.
    const QRect selected = currentIndex() >= 0 ? tabRect(currentIndex()) : QRect();
    painter.fillRect(QRect(0, 0, width(), 1), shadow);
    if (selected.isValid())
        painter.fillRect(QRect(selected.left() + 1, 0, selected.width() - 2, 1), face);
    painter.setFont(font());
    for (int i = 0; i < count(); ++i) {
        QRect tab = tabRect(i);
        if (i != currentIndex())
            tab.adjust(0, 1, 0, -3);  // the others hang from under the page's edge, and less far
        painter.fillRect(QRect(tab.left(), tab.top(), 1, tab.height() - 1), light);
        painter.fillRect(QRect(tab.right(), tab.top(), 1, tab.height() - 1), shadow);
        painter.fillRect(QRect(tab.left() + 1, tab.bottom(), tab.width() - 2, 1), shadow);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(tab, Qt::AlignCenter, tabText(i));
    }
}
