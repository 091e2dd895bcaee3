#include "windows/DialogLayout.h"

#include "framework/Dialogs.h"
#include "framework/Hints.h"
#include "framework/Texts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

void SetUpDialog(QDialog* dialog, const char* name, const char* caption, int clientWidth, int clientHeight)
{
    dialog->setObjectName(QLatin1String(name));
    SetTranslatedText(dialog, dialog->metaObject()->className(), caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(clientWidth, clientHeight);
    dialog->setFont(MakeFont(QStringLiteral("MS Sans Serif"), 11, clWindowText).ToQFont());
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& bounds, const QString& caption, const TFont& font,
                  Qt::Alignment alignment)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font.ToQFont());
    label->setAlignment(alignment);
    // The text colour of an enabled label; a disabled one greys out as the palette says.
    QPalette palette = label->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, ToQColor(font.Color));
    label->setPalette(palette);
    label->setGeometry(bounds.left(), bounds.top(), std::max(bounds.width(), label->sizeHint().width()),
                       bounds.height());
    return label;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& bounds, const char* caption, const TFont& font,
                  Qt::Alignment alignment)
{
    const char* context = parent->metaObject()->className();
    QLabel* label = MakeLabel(parent, name, bounds, QCoreApplication::translate(context, caption), font, alignment);
    SetTranslatedText(label, context, caption);
    return label;
}

QPushButton* MakeOkButton(QDialog* dialog, const QRect& bounds)
{
    auto* button = new QPushButton(dialog);
    button->setObjectName(QStringLiteral("Button1"));
    SetTranslatedText(button, "TDialog", QT_TRANSLATE_NOOP("TDialog", "Ok"));
    button->setGeometry(bounds);
    button->setDefault(true);
    SetTranslatedHint(button, "TDialog", QT_TRANSLATE_NOOP("TDialog", "Закрыть."));
    SetShowHint(button, true);
    return button;
}

void CentreOnScreen(QWidget* window)
{
    CentreOver(window, nullptr);
}

void CentreOnMainWindow(QDialog* dialog)
{
    const QWidget* parent = dialog->parentWidget();
    CentreOver(dialog, parent ? parent->window() : nullptr);
}

TWindowRoom RoomOf(const QWidget* window)
{
    const QRect frame = window->frameGeometry(), inside = window->geometry();
    const QScreen* screen = window->screen();
    // The frame as the window system has it now: the widget learns of a frame only with its next
    // move or resize, and a desktop may frame a window without either.
    const QMargins margins = window->windowHandle() ? window->windowHandle()->frameMargins()
                                                    : QMargins(inside.left() - frame.left(), inside.top() - frame.top(),
                                                               frame.right() - inside.right(), frame.bottom() - inside.bottom());
    return {screen ? screen->availableGeometry() : QRect(QPoint(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)), margins,
            window->minimumSize().expandedTo(window->minimumSizeHint())};
}
