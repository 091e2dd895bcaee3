#pragma once
// A name from outside (a file's path, a name read from a file, a letter typed) as the game's
// messages show it: through Shown() of files/ShownText.h, so that its control characters and the
// bytes of a file name that are no UTF-8 are shown escaped, never as they are.

#include <QByteArray>
#include <QString>

// A file name in the file system's bytes, as the system gave it.
QString ShownName(const QByteArray& localName);
// A name already made text: its control characters escaped.
QString ShownName(const QString& name);
