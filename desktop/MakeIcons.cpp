// Writes the program's icon for installation: PNG files of the usual sizes and the scalable
// SVG, in the folder layout of the hicolor icon theme.
// Usage: mozik-icons OUTDIR APP-ID

#include "art/Icon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mozik-icons OUTDIR APP-ID\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString id = QString::fromLocal8Bit(argv[2]);
    for (int side : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(side);
        if (!out.mkpath(folder) || !RenderIcon(side).save(out.filePath(folder + "/" + id + ".png"))) {
            std::fprintf(stderr, "mozik-icons: cannot write the %dx%d icon\n", side, side);
            return 1;
        }
    }
    QFile svg(out.filePath("hicolor/scalable/apps/" + id + ".svg"));
    if (!out.mkpath("hicolor/scalable/apps") || !svg.open(QIODevice::WriteOnly) || svg.write(IconSvg()) < 0) {
        std::fprintf(stderr, "mozik-icons: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}
