#include "framework/Application.h"

#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget>& MainFormPointer()
{
    static QPointer<QWidget> form;
    return form;
}

} // namespace

void SetMainForm(QWidget* form)
{
    MainFormPointer() = form;
}

QWidget* MainForm()
{
    return MainFormPointer().data();
}
