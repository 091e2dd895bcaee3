// Writes the picture files of the end-to-end picture test into a folder: for each kind, a flat
// picture of 6000 x 6000 pixels ("flat.*") and a short file that declares that size ("short.*"),
// and a progressive JPEG of that size in 3000 scans ("scans.jpg").
// Usage: mozik-test-pictures FOLDER

#include "tests/support/TestPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);  // for Qt's image plugins
    if (argc != 2) {
        std::fprintf(stderr, "Usage: mozik-test-pictures FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QSize size(6000, 6000);
    auto write = [&folder](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    };
    const std::pair<QString, QString> kinds[] = {{"jpeg", "jpg"}, {"progressive", "progressive.jpg"}, {"png", "png"},
                                                 {"gif", "gif"},  {"rle", "rle.bmp"},                {"pbm", "pbm"},
                                                 {"xbm", "xbm"}};
    for (const auto& [kind, extension] : kinds) {
        write("flat." + extension, FlatPicture(kind, size));
        write("short." + extension, ShortPicture(kind, size));
    }
    write("scans.jpg", WithScans(FlatPicture("progressive", size), 3000));
    return 0;
}
