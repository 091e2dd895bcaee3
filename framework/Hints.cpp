#include "framework/Hints.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kHintText = "mozikHint";
constexpr const char* kShowHint = "mozikShowHint";

// The desktop's tool tip follows the two settings, so a plain Qt tool tip shows the same thing.
void Sync(QWidget* control)
{
    control->setToolTip(ActiveHint(control));
}

} // namespace

void SetHint(QWidget* control, const QString& text)
{
    control->setProperty(kHintText, text);
    Sync(control);
}

QString Hint(const QWidget* control)
{
    return control->property(kHintText).toString();
}

void SetShowHint(QWidget* control, bool show)
{
    control->setProperty(kShowHint, show);
    Sync(control);
}

bool ShowHint(const QWidget* control)
{
    return control->property(kShowHint).toBool();
}

QString ActiveHint(const QWidget* control)
{
    if (!control->property(kShowHint).isValid() && !control->property(kHintText).isValid())
        return control->toolTip();
    return ShowHint(control) ? Hint(control) : QString();
}
