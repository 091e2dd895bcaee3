#include "framework/TabSet.h"

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
