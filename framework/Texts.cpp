#include "framework/Texts.h"

#include "framework/Hints.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace {

// Where the source and its context are kept on the object: "context\x1Fsource".
constexpr const char* kTextSource = "mozikTextSource";
constexpr const char* kHintSource = "mozikHintSource";
constexpr const char* kNameSource = "mozikNameSource";

QByteArray Kept(const char* context, const char* source)
{
    return QByteArray(context) + '\x1F' + QByteArray(source);
}

QString Translate(const QByteArray& kept)
{
    const qsizetype split = kept.indexOf('\x1F');
    const QByteArray context = kept.left(split), source = kept.mid(split + 1);
    return QCoreApplication::translate(context.constData(), source.constData());
}

void ApplyText(QObject* target, const QString& text)
{
    if (auto* action = qobject_cast<QAction*>(target))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(target))
        menu->setTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(target))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
    else if (auto* widget = qobject_cast<QWidget*>(target); widget && widget->isWindow())
        widget->setWindowTitle(text);
}

void Retranslate(QObject* object)
{
    if (const QVariant text = object->property(kTextSource); text.isValid())
        ApplyText(object, Translate(text.toByteArray()));
    if (const QVariant hint = object->property(kHintSource); hint.isValid())
        SetHint(static_cast<QWidget*>(object), Translate(hint.toByteArray()));
    if (const QVariant name = object->property(kNameSource); name.isValid())
        static_cast<QWidget*>(object)->setAccessibleName(Translate(name.toByteArray()));
}

} // namespace

void SetTranslatedText(QObject* target, const char* context, const char* source)
{
    target->setProperty(kTextSource, Kept(context, source));
    Retranslate(target);
}

void SetTranslatedHint(QWidget* control, const char* context, const char* source)
{
    control->setProperty(kHintSource, Kept(context, source));
    Retranslate(control);
}

void SetTranslatedName(QWidget* control, const char* context, const char* source)
{
    control->setProperty(kNameSource, Kept(context, source));
    Retranslate(control);
}

void RetranslateTexts(QObject* root)
{
    Retranslate(root);
    for (QObject* child : root->findChildren<QObject*>())
        Retranslate(child);
}
