#include "game/StateReport.h"

#include "framework/PictureFile.h"
#include "game/Unit1.h"

#include "files/UserFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

QByteArray GameReport(const TForm1& form)
{
    const TGame& game = form.Game;
    const int n = game.BoardSize();
    const QWidget* client = form.centralWidget();
    const QPoint origin = client->mapTo(&form, QPoint(0, 0));
    QByteArray report;
    report += "title=" + form.windowTitle().toUtf8() + '\n';
    report += QByteArrayLiteral("client=%1x%2+%3+%4\n")
                  .replace("%1", QByteArray::number(client->width()))
                  .replace("%2", QByteArray::number(client->height()))
                  .replace("%3", QByteArray::number(origin.x()))
                  .replace("%4", QByteArray::number(origin.y()));
    report += "size=" + QByteArray::number(n) + '\n';
    report += "running=" + QByteArray::number(game.Running()) + '\n';
    report += "paused=" + QByteArray::number(game.Paused()) + '\n';
    report += "seconds=" + QByteArray::number(game.Seconds()) + '\n';
    report += "gap=" + QByteArray::number(game.GapPos()) + '\n';
    report += "hinted=" + QByteArray::number(form.HintedTile()) + '\n';
    report += "peeking=" + QByteArray::number(form.Peeking()) + '\n';
    report += "solving=" + QByteArray::number(form.Solving()) + '\n';
    report += "grid=";
    for (int p = 1; p <= n * n; ++p)
        report += QByteArray::number(game.Grid().AtPosition(p, n)) + (p < n * n ? " " : "\n");
    return report;
}

void ReportGameTo(TForm1& form, const QByteArray& localPath)
{
    // By the rules of the player's files, and never through a link: a report that may not be
    // written is not.
    auto write = [&form, path = localPath.toStdString()] {
        ReplaceUserFile(path, GameReport(form).toStdString(), TLeafLink::Refuse);
    };
    QObject::connect(&form, &TForm1::GameShown, &form, write);
}

void GatePictureReadsAt(const QString& path)
{
    SetPictureReadHook([pipe = QFile::encodeName(path)](const QString&) {
        const int fd = ::open(pipe.constData(), O_RDONLY | O_CLOEXEC);  // waits for the writer
        if (fd < 0)
            return;
        char bytes[64];
        for (ssize_t got = 1; got > 0 || (got < 0 && errno == EINTR);)  // until the writer closes
            got = ::read(fd, bytes, sizeof bytes);
        ::close(fd);
    });
}
