#include "game/ShownName.h"

#include "files/ShownText.h"

QString ShownName(const QByteArray& localName)
{
    return QString::fromStdString(Shown(std::string_view(localName.constData(), std::size_t(localName.size()))));
}

QString ShownName(const QString& name)
{
    return ShownName(name.toUtf8());
}
