#include "windows/StateReport.h"

#include "effects/FxImage.h"
#include "framework/HintWindow.h"
#include "framework/PictureFile.h"
#include "label/LblEffct.h"
#include "windows/BoardPanel.h"
#include "windows/GameSounds.h"
#include "windows/StatisticsWindow.h"
#include "windows/Unit1.h"

#include "files/UserFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QEvent>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray Geometry(QSize size, QPoint at)
{
    return QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height()) + '+' + QByteArray::number(at.x())
         + '+' + QByteArray::number(at.y());
}

// Writes the report again whenever the window moves, which moves every tile on the screen, and
// when it becomes active or inactive.
class TMoveWatch : public QObject {
public:
    TMoveWatch(QObject* form, std::function<void()> write) : QObject(form), write_(std::move(write)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::WindowActivate || type == QEvent::WindowDeactivate)
            write_();
        return false;
    }

private:
    std::function<void()> write_;
};

// Writes the report again when a window of the program shows or hides (a dialog, an error box)
// and after a key is typed into a dialog (the name box); once for all that comes at a time.
class TWindowWatch : public QObject {
public:
    TWindowWatch(QWidget* form, std::function<void()> write) : QObject(form), form_(form), write_(std::move(write)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (pending_ || !watched->isWidgetType())
            return false;
        const auto* widget = static_cast<const QWidget*>(watched);
        const QEvent::Type type = event->type();
        if (((type == QEvent::Show || type == QEvent::Hide) && widget->isWindow())
            || (type == QEvent::KeyRelease && widget->window() != form_)) {
            pending_ = true;
            QTimer::singleShot(0, this, [this] {  // once the window is laid out, the key taken
                pending_ = false;
                write_();
            });
        }
        return false;
    }

private:
    const QWidget* form_;
    std::function<void()> write_;
    bool pending_ = false;
};

// The texts the player reads in the program's open windows, a line each: a window's title
// ("text.About=About"), and the text of each of its labels, boxes, buttons and captions by the window's
// and the component's name ("text.About.Label4=Автор :"; an error box is "QMessageBox").
QByteArray WindowTexts()
{
    QByteArray texts;
    const auto line = [&texts](const QByteArray& key, const QString& text) {
        if (!text.isEmpty())
            texts += "text." + key + '=' + text.toUtf8().replace('\n', "\\n") + '\n';
    };
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::ToolTip)
            continue;
        const QByteArray name = window->objectName().isEmpty() ? QByteArray(window->metaObject()->className())
                                                               : window->objectName().toUtf8();
        line(name, window->windowTitle());
        for (const QWidget* part : window->findChildren<const QWidget*>()) {
            QString text;
            if (const auto* label = qobject_cast<const QLabel*>(part))
                text = label->text();
            else if (const auto* box = qobject_cast<const QLineEdit*>(part))
                text = box->text();
            else if (const auto* button = qobject_cast<const QAbstractButton*>(part))
                text = button->text();
            else if (const auto* fx = qobject_cast<const TFxLabel*>(part))
                text = fx->Caption();
            else if (const auto* effect = qobject_cast<const TLabelEffect*>(part))
                text = effect->Caption();
            if (part->isVisible() && !part->objectName().isEmpty())
                line(name + '.' + part->objectName().toUtf8(), text);
        }
    }
    if (const THintWindow* hint = HintWindow(); hint && hint->isVisible())
        line("hint", hint->Caption());
    return texts;
}

} // namespace

QByteArray GameReport(const TForm1& form)
{
    const TSession& session = form.Session();
    const TGame& game = session.Game();
    const int n = game.BoardSize();
    const QWidget* client = form.centralWidget();
    QByteArray report;
    report += "title=" + form.windowTitle().toUtf8() + '\n';
    report += "client=" + Geometry(client->size(), client->mapTo(&form, QPoint(0, 0))) + '\n';
    report += "size=" + QByteArray::number(n) + '\n';
    report += "running=" + QByteArray::number(game.Running()) + '\n';
    report += "paused=" + QByteArray::number(game.Paused()) + '\n';
    report += "seconds=" + QByteArray::number(game.Seconds()) + '\n';
    report += "gap=" + QByteArray::number(game.GapPos()) + '\n';
    report += "moves=" + QByteArray::number(game.Moves()) + '\n';
    report += "hinted=" + QByteArray::number(session.HintedTile()) + '\n';
    report += "peeking=" + QByteArray::number(session.Peeking()) + '\n';
    report += "solving=" + QByteArray::number(session.Solving()) + '\n';
    report += "shortest=" + QByteArray::number(session.HintShortest()) + '\n';
    report += "busy=" + QByteArray::number(session.Busy()) + '\n';
    report += "active=" + QByteArray::number(form.isActiveWindow()) + '\n';
    report += "fullscreen=" + QByteArray::number(form.isFullScreen()) + '\n';
    report += "maximised=" + QByteArray::number(form.isMaximized()) + '\n';
    for (const auto& [key, item] : {std::pair{"animation", "Animation1"}, {"statusline", "StatusLine1"}, {"proportions", "KeepProportions1"},
                                    {"numbers", "Numbers1"}, {"sound", "Sound1"}})
        if (const auto* action = form.findChild<const QAction*>(QLatin1String(item)))
            report += QByteArray(key) + '=' + QByteArray::number(action->isChecked()) + '\n';
    report += "status=" + session.StatusText().toUtf8() + '\n';
    report += "picture=" + QByteArray::number(session.Picture().width()) + 'x' + QByteArray::number(session.Picture().height()) + '\n';
    if (const auto* sounds = form.findChild<const TGameSounds*>()) {
        report += "soundplayer=" + sounds->PlayerState().toUtf8() + '\n';
        report += "sounds=" + QByteArray::number(sounds->Requests()) + '\n';
    }
    if (const auto* statistics = form.findChild<const TStatisticsWindow*>())
        report += statistics->Report();
    report += WindowTexts();
    report += "grid=";
    for (int p = 1; p <= n * n; ++p)
        report += QByteArray::number(game.Grid().AtPosition(p, n)) + (p < n * n ? " " : "\n");
    const auto* board = form.findChild<const TBoardPanel*>(QStringLiteral("Panel1"));
    if (!board || !board->FirstNode())
        return report;
    report += "sliding=" + QByteArray::number(board->Sliding()) + '\n';
    report += "marked=" + QByteArray::number(board->MarkedPosition()) + '\n';
    report += "tileside=" + QByteArray::number(board->Geometry().Tile) + '\n';
    report += "boardfocus=" + QByteArray::number(board->FocusShown()) + '\n';
    // Each tile's cell, where it comes to rest.
    for (int p = 1; p <= n * n; ++p) {
        const QRect cell = board->Geometry().TileRect(p).ToQRect();
        report += "tile." + QByteArray::number(p) + '=' + Geometry(cell.size(), board->mapToGlobal(cell.topLeft())) + '\n';
    }
    return report;
}

void ReportGameTo(TForm1& form, const QByteArray& localPath)
{
    // By the rules of the player's files, and never through a link: a report that may not be
    // written is not.
    auto write = [&form, path = localPath.toStdString()] {
        // Not while the board is built again for a new picture or size: the window, arranged for
        // it, would report the new caption, not busy, with no tile yet. The built board reports.
        const auto* board = form.findChild<const TBoardPanel*>(QStringLiteral("Panel1"));
        if (board && !board->FirstNode())
            return;
        ReplaceUserFile(path, GameReport(form).toStdString(), TLeafLink::Refuse);
    };
    QObject::connect(&form, &TForm1::GameShown, &form, write);
    form.installEventFilter(new TMoveWatch(&form, write));
    qApp->installEventFilter(new TWindowWatch(&form, write));
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
