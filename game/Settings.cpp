#include "game/Settings.h"

#include "files/UserFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

namespace {

// A few hundred bytes in use; anything past this is not the game's settings and is not read.
constexpr std::size_t kMaxFileSize = 64 * 1024;
constexpr int kLockWaitMs = 500;

const char* const kBoardSize = "Board/Size";
const char* const kPicture = "Board/Picture";
const char* const kGeometry = "Window/Geometry";
const char* const kMaximised = "Window/Maximised";
const char* const kFullScreen = "Window/FullScreen";
const char* const kAnimation = "Game/Animation";
const char* const kStatusLine = "Game/StatusLine";
const char* const kKeepProportions = "Game/KeepProportions";
const char* const kPauseWhenAway = "Game/PauseWhenAway";
const char* const kAskBeforeAbandoning = "Game/AskBeforeAbandoning";
const char* const kRecentPictures = "RecentPictures";  // an array of entries, each a "Path"
const char* const kRecentPath = "Path";
const char* const kNumbers = "Game/Numbers";
const char* const kSound = "Game/Sound";
const char* const kLanguage = "Game/Language";

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The settings' bytes as a file that QSettings may open: alone in a fresh temporary folder,
// private to the user, gone with this object.
class TPrivateCopy {
public:
    explicit TPrivateCopy(const std::string& bytes)
    {
        QFile file(Path());
        ok_ = folder_.isValid() && file.open(QIODevice::WriteOnly)
           && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    }
    bool Ok() const { return ok_; }
    QString Path() const { return folder_.filePath(QStringLiteral("Mozik.conf")); }
    std::optional<std::string> Bytes() const
    {
        QFile file(Path());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll().toStdString();
    }

private:
    QTemporaryDir folder_;
    bool ok_ = false;
};

// Hands QSettings a private copy of the bytes to read.
bool WithIni(const std::string& bytes, const std::function<void(QSettings&)>& use)
{
    const TPrivateCopy copy(bytes);
    if (!copy.Ok())
        return false;
    QSettings ini(copy.Path(), QSettings::IniFormat);
    use(ini);
    return true;
}

// A switch as QSettings writes it; anything else leaves the default.
bool Flag(const QSettings& ini, const char* key, bool fallback)
{
    const QString text = ini.value(key).toString();
    return text == QLatin1String("true") ? true : text == QLatin1String("false") ? false : fallback;
}

int BoardSizeOf(const QSettings& ini)
{
    bool ok = false;
    const int n = ini.value(kBoardSize).toString().toInt(&ok);
    return ok && (n == 1 || (n >= 4 && n <= 7)) ? n : 5;
}

// An absolute name, as bytes (the file system's own) or as text; empty for anything else.
QByteArray LocalPathOf(const QVariant& value)
{
    const QByteArray path = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                          : value.typeId() == QMetaType::QString ? QFile::encodeName(value.toString())
                                                                 : QByteArray();
    return path.startsWith('/') && !path.contains('\0') ? path : QByteArray();
}

// The list's entries that make sense, each once, as many as the list keeps; of a damaged list no
// more entries are looked at than a few times that.
QList<QByteArray> RecentOf(QSettings& ini)
{
    QList<QByteArray> list;
    const int size = std::min(ini.beginReadArray(kRecentPictures), 4 * TSettings::kRecentPictures);
    for (int i = 0; i < size && list.size() < TSettings::kRecentPictures; ++i) {
        ini.setArrayIndex(i);
        const QByteArray path = LocalPathOf(ini.value(kRecentPath));
        if (!path.isEmpty() && !list.contains(path))
            list << path;
    }
    ini.endArray();
    return list;
}

void WriteRecent(QSettings& ini, const QList<QByteArray>& list)
{
    ini.remove(kRecentPictures);
    ini.beginWriteArray(kRecentPictures, int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        ini.setArrayIndex(i);
        ini.setValue(kRecentPath, list[i]);
    }
    ini.endArray();
}

std::optional<QRect> GeometryOf(const QSettings& ini)
{
    constexpr int kFar = 1 << 16;  // beyond any screen
    const QVariant value = ini.value(kGeometry);
    const QRect rect = value.typeId() == QMetaType::QRect ? value.toRect() : QRect();
    if (!rect.isValid() || rect.width() > kFar || rect.height() > kFar || std::abs(rect.x()) > kFar || std::abs(rect.y()) > kFar)
        return std::nullopt;
    return rect;
}

} // namespace

QString TSettings::DefaultPath()
{
    const std::optional<std::string> config = XdgFolder(TXdgFolder::Config);
    return config ? QFile::decodeName(QByteArray::fromStdString(*config)) + QStringLiteral("/Mozik/Mozik.conf") : QString();
}

TSettings::TSettings(const QString& path) : path_(path)
{
    if (path_.isEmpty())
        return;
    const TFileRead read = ReadUserFile(Local(path_), kMaxFileSize);
    writable_ = read.Status.Problem == TFileProblem::Missing || (read.Status.Ok() && !read.WriteProtected);
    if (!read.Status.Ok())
        return;
    // Whatever QSettings makes of a damaged file, each value is taken only when it makes sense.
    WithIni(read.Bytes, [this](QSettings& ini) {
        boardSize_ = BoardSizeOf(ini);
        picture_ = LocalPathOf(ini.value(kPicture));
        windowGeometry_ = GeometryOf(ini);
        maximised_ = Flag(ini, kMaximised, false);
        fullScreen_ = Flag(ini, kFullScreen, false);
        animation_ = Flag(ini, kAnimation, true);
        statusLine_ = Flag(ini, kStatusLine, false);
        keepProportions_ = Flag(ini, kKeepProportions, false);
        pauseWhenAway_ = Flag(ini, kPauseWhenAway, false);
        askBeforeAbandoning_ = Flag(ini, kAskBeforeAbandoning, true);
        numbers_ = Flag(ini, kNumbers, false);
        sound_ = Flag(ini, kSound, true);
        if (const QString language = ini.value(kLanguage).toString(); language == "ru" || language == "en")
            language_ = language;
        recentPictures_ = RecentOf(ini);
    });
}

template <typename T>
void TSettings::Change(T& field, const T& value, const char* key)
{
    if (field == value)
        return;
    field = value;
    Write(key, QVariant::fromValue(value));
}

void TSettings::SetBoardSize(int n) { Change(boardSize_, n, kBoardSize); }
void TSettings::SetPicture(const QByteArray& localPath) { Change(picture_, localPath, kPicture); }
void TSettings::SetMaximised(bool on) { Change(maximised_, on, kMaximised); }
void TSettings::SetFullScreen(bool on) { Change(fullScreen_, on, kFullScreen); }
void TSettings::SetAnimation(bool on) { Change(animation_, on, kAnimation); }
void TSettings::SetStatusLine(bool on) { Change(statusLine_, on, kStatusLine); }
void TSettings::SetKeepProportions(bool on) { Change(keepProportions_, on, kKeepProportions); }
void TSettings::SetPauseWhenAway(bool on) { Change(pauseWhenAway_, on, kPauseWhenAway); }
void TSettings::SetAskBeforeAbandoning(bool on) { Change(askBeforeAbandoning_, on, kAskBeforeAbandoning); }
void TSettings::SetNumbers(bool on) { Change(numbers_, on, kNumbers); }
void TSettings::SetSound(bool on) { Change(sound_, on, kSound); }
void TSettings::SetLanguage(const QString& language) { Change(language_, language, kLanguage); }

void TSettings::AddRecentPicture(const QByteArray& localPath)
{
    if (!localPath.startsWith('/') || localPath.contains('\0'))
        return;
    ChangeRecentPictures([&localPath](QList<QByteArray>& list) {
        list.removeAll(localPath);
        list.prepend(localPath);
        while (list.size() > kRecentPictures)
            list.removeLast();
    });
}

void TSettings::RemoveRecentPicture(const QByteArray& localPath)
{
    ChangeRecentPictures([&localPath](QList<QByteArray>& list) { list.removeAll(localPath); });
}

void TSettings::ClearRecentPictures()
{
    ChangeRecentPictures([](QList<QByteArray>& list) { list.clear(); });
}

void TSettings::RereadRecentPictures()
{
    Read([this](QSettings& ini) { recentPictures_ = RecentOf(ini); });
}

// Into the list as the file holds it now; where the file cannot be written, into this run's list.
void TSettings::ChangeRecentPictures(const std::function<void(QList<QByteArray>&)>& change)
{
    bool changed = false;
    Update([&](QSettings& ini) {
        recentPictures_ = RecentOf(ini);
        change(recentPictures_);
        changed = true;
        WriteRecent(ini, recentPictures_);
    });
    if (!changed)
        change(recentPictures_);
}

void TSettings::SetWindowGeometry(const QRect& geometry)
{
    if (windowGeometry_ == geometry)
        return;
    windowGeometry_ = geometry;
    Write(kGeometry, geometry);
}

// The value goes into the file as it is now, which other windows of the game may have changed.
void TSettings::Write(const char* key, const QVariant& value)
{
    Update([key, &value](QSettings& ini) { ini.setValue(key, value); });
}

bool TSettings::Read(const std::function<void(QSettings&)>& read) const
{
    if (path_.isEmpty())
        return false;
    const TFileRead file = ReadUserFile(Local(path_), kMaxFileSize);
    return file.Status.Ok() && WithIni(file.Bytes, read);
}

bool TSettings::Update(const std::function<void(QSettings&)>& change)
{
    if (!writable_)
        return false;
    // Under the same lock as the score file's: another window's change is not written over. A
    // lock not to be had within a moment does not hold the change back.
    TUserFileLock lock;
    lock.Acquire(Local(path_), kLockWaitMs);
    const TFileRead read = ReadUserFile(Local(path_), kMaxFileSize);
    if (read.WriteProtected || (!read.Status.Ok() && read.Status.Problem != TFileProblem::Missing)) {
        writable_ = false;  // something else is there now: left alone
        return false;
    }
    const TPrivateCopy copy(read.Bytes);
    if (!copy.Ok())
        return false;
    {
        // What QSettings could make of the file is written back with the change, in its own form.
        QSettings ini(copy.Path(), QSettings::IniFormat);
        change(ini);
        ini.sync();
        if (ini.status() == QSettings::AccessError)
            return false;
    }
    const std::optional<std::string> bytes = copy.Bytes();
    return bytes && ReplaceUserFile(Local(path_), *bytes).Ok();
}
