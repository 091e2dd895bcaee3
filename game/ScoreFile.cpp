#include "game/ScoreFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TScoreLoad LoadScoreFile(const QString& path)
{
    TScoreLoad load;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        load.Created = true;
        QString ignored;
        SaveScoreFile(path, load.Table, &ignored);
        return load;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        load.Error = info.isDir() ? QStringLiteral("это папка, а не файл") : file.errorString();
        return load;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        load.Error = file.errorString();
        return load;
    }
    load.Table = TScoreTable::FromFileText(text);
    return load;
}

bool SaveScoreFile(const QString& path, const TScoreTable& table, QString* error)
{
    // Unbuffered, so that a short write (a full disk, a size limit) shows here instead of being
    // lost in a buffer flush; the file is replaced only when every byte went out.
    QSaveFile file(path);
    const QByteArray text = table.ToFileText();
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < text.size();) {
        const qint64 count = file.write(text.constData() + done, text.size() - done);
        written = count > 0;
        done += count;
    }
    if (!written || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
