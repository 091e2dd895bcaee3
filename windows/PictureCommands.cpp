#include "windows/PictureCommands.h"

#include "art/BuiltinPicture.h"
#include "framework/Dialogs.h"
#include "framework/HintWindow.h"
#include "framework/Hints.h"
#include "framework/MenuStyle.h"
#include "framework/Texts.h"
#include "game/Session.h"
#include "game/Settings.h"
#include "game/ShownName.h"
#include "windows/DialogLayout.h"
#include "windows/GameQuestions.h"
#include "windows/MainLayout.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

bool IsImageFormat(const QString& format)
{
    return format.startsWith(QLatin1String("image/"));
}

// Whether a drag brings a picture, told without fetching its data.
bool BringsPicture(const QMimeData* data)
{
    if (!data)
        return false;
    const QList<QUrl> urls = data->urls();
    const QStringList formats = data->formats();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })
        || std::any_of(formats.begin(), formats.end(), IsImageFormat) || data->hasImage();
}

// The context of this unit's texts, as the translation files name it.
constexpr const char* kContext = "TPictureCommands";

bool Gone(const QByteArray& localPath)
{
    struct stat info {};
    return ::stat(localPath.constData(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

} // namespace

TPictureSource PictureSourceOf(const QMimeData* data)
{
    if (!data)
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return {QFile::encodeName(url.toLocalFile()), {}};
    // The data as its source encoded it, to be read by the game's own rules.
    for (const QString& format : data->formats())
        if (IsImageFormat(format))
            if (QByteArray bytes = data->data(format); !bytes.isEmpty())
                return {{}, bytes};
    // Only a picture already decoded (from this very program): encoded again to be read the same way.
    if (!data->hasImage())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    qvariant_cast<QImage>(data->imageData()).save(&buffer, "PNG");
    return {{}, bytes};
}

TPictureCommands::TPictureCommands(QWidget* window, TSession& session, TGameQuestions& questions, TSettings& settings,
                                   QMenu* fileMenu, QAction* before)
    : QObject(window), window_(window), session_(session), questions_(questions), settings_(settings)
{
    recent_ = Named(new QMenu(fileMenu), "OpenRecent1");
    SetTranslatedText(recent_, kContext, QT_TR_NOOP("Open &Recent"));
    fileMenu->insertMenu(before, recent_);
    UseClassicMenuLook(recent_, window->font());
    connect(recent_, &QMenu::aboutToShow, this, &TPictureCommands::FillRecentMenu);
    // The folder of the item under the mouse is the menu's hint, shown after the pause.
    connect(recent_, &QMenu::hovered, this, [this](QAction* item) {
        SetHint(recent_, item->data().isValid() ? item->toolTip() : QString());
        SetShowHint(recent_, item->data().isValid());
        CancelHint();
    });
    QAction* builtin = MakeItem(fileMenu, "BuiltinPicture1", kContext, QT_TR_NOOP("&Built-in Picture"));
    QAction* paste = MakeItem(fileMenu, "PastePicture1", kContext, QT_TR_NOOP("&Paste Picture"), QKeySequence(Qt::CTRL | Qt::Key_V));
    fileMenu->insertActions(before, {builtin, paste});
    connect(builtin, &QAction::triggered, this, &TPictureCommands::UseBuiltinPicture);
    connect(paste, &QAction::triggered, this, &TPictureCommands::Paste);

    // Every picture of a file that comes to the board heads the list.
    connect(&session_, &TSession::BoardChanged, this, [this] {
        if (const QByteArray& path = session_.PicturePath(); !path.isEmpty() && path != lastPath_)
            settings_.AddRecentPicture(lastPath_ = path);
    });
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString TPictureCommands::StartFolder() const
{
    if (!settings_.RecentPictures().isEmpty())
        if (const QFileInfo last(QFile::decodeName(settings_.RecentPictures().front())); last.dir().exists())
            return last.path();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void TPictureCommands::Open(TOpenDialog& dialog)
{
    settings_.RereadRecentPictures();  // another window's picture is the last opened too
    dialog.InitialDir = StartFolder();
    dialog.FileName.clear();
    if (dialog.Execute(window_) && questions_.MayEndGame())
        session_.OpenPicture(dialog.FileName);
}

void TPictureCommands::FillRecentMenu()
{
    settings_.RereadRecentPictures();
    recent_->clear();
    for (const QByteArray& path : settings_.RecentPictures()) {
        const QFileInfo file(QFile::decodeName(path));
        QAction* item = recent_->addAction(file.fileName().replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setData(path);
        item->setToolTip(file.path());
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recent_->addSeparator();
    QAction* clear = MakeItem(recent_, "ClearList1", kContext, QT_TR_NOOP("&Clear List"));
    clear->setEnabled(!settings_.RecentPictures().isEmpty());
    connect(clear, &QAction::triggered, this, [this] { settings_.ClearRecentPictures(); });
}

void TPictureCommands::OpenRecent(const QByteArray& localPath)
{
    if (Gone(localPath)) {
        settings_.RemoveRecentPicture(localPath);  // told this once
        ShowErrorBox(window_, tr("Рисунка «%1» больше нет, и он убран из списка.").arg(ShownName(localPath)));
        return;
    }
    if (questions_.MayEndGame())
        session_.OpenLocalPicture(localPath);
}

void TPictureCommands::UseBuiltinPicture()
{
    if (questions_.MayEndGame())
        session_.UseBuiltinPicture(MakeBuiltinPicture(), TSession::BuiltinPictureName());
}

void TPictureCommands::Paste()
{
    // Taken before the question: the clipboard may change while it is asked.
    const TPictureSource source = PictureSourceOf(QGuiApplication::clipboard()->mimeData());
    if (source.Empty())
        ShowErrorBox(window_, tr("В буфере обмена нет рисунка."));
    else if (questions_.MayEndGame())
        OpenSource(source);
}

void TPictureCommands::OpenSource(const TPictureSource& source)
{
    if (!source.LocalPath.isEmpty())
        session_.OpenLocalPicture(source.LocalPath);
    else
        session_.OpenPictureData(source.Bytes);
}

bool TPictureCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop))
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (event->type() == QEvent::DragEnter) {
        if (!BringsPicture(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        return true;
    }
    const TPictureSource source = PictureSourceOf(drop->mimeData());
    if (source.Empty())
        return false;
    drop->acceptProposedAction();
    // A question is asked once the drop is over: the program it came from waits for its end.
    if (questions_.WouldAsk())
        QTimer::singleShot(0, this, [this, source] {
            if (questions_.MayEndGame())
                OpenSource(source);
        });
    else
        OpenSource(source);
    return true;
}
