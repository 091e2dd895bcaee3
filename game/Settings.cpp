#include "game/Settings.h"

#include "files/UserFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
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

// An absolute name, as bytes (the file system's own) or as text.
QByteArray PictureOf(const QSettings& ini)
{
    const QVariant value = ini.value(kPicture);
    const QByteArray path = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                          : value.typeId() == QMetaType::QString ? QFile::encodeName(value.toString())
                                                                 : QByteArray();
    return path.startsWith('/') && !path.contains('\0') ? path : QByteArray();
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
    const TPrivateCopy copy(read.Bytes);
    if (!copy.Ok())
        return;
    // Whatever QSettings makes of a damaged file, each value is taken only when it makes sense.
    const QSettings ini(copy.Path(), QSettings::IniFormat);
    boardSize_ = BoardSizeOf(ini);
    picture_ = PictureOf(ini);
    windowGeometry_ = GeometryOf(ini);
    maximised_ = Flag(ini, kMaximised, false);
    fullScreen_ = Flag(ini, kFullScreen, false);
    animation_ = Flag(ini, kAnimation, true);
    statusLine_ = Flag(ini, kStatusLine, false);
    keepProportions_ = Flag(ini, kKeepProportions, false);
    numbers_ = Flag(ini, kNumbers, false);
    sound_ = Flag(ini, kSound, true);
    if (const QString language = ini.value(kLanguage).toString(); language == "ru" || language == "en")
        language_ = language;
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
void TSettings::SetNumbers(bool on) { Change(numbers_, on, kNumbers); }
void TSettings::SetSound(bool on) { Change(sound_, on, kSound); }
void TSettings::SetLanguage(const QString& language) { Change(language_, language, kLanguage); }

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
    if (!writable_)
        return;
    // Under the same lock as the score file's: another window's change is not written over. A
    // lock not to be had within a moment does not hold the change back.
    TUserFileLock lock;
    lock.Acquire(Local(path_), kLockWaitMs);
    const TFileRead read = ReadUserFile(Local(path_), kMaxFileSize);
    if (read.WriteProtected || (!read.Status.Ok() && read.Status.Problem != TFileProblem::Missing)) {
        writable_ = false;  // something else is there now: left alone
        return;
    }
    const TPrivateCopy copy(read.Bytes);
    if (!copy.Ok())
        return;
    {
        // What QSettings could make of the file is written back with the value, in its own form.
        QSettings ini(copy.Path(), QSettings::IniFormat);
        ini.setValue(key, value);
        ini.sync();
        if (ini.status() == QSettings::AccessError)
            return;
    }
    if (const std::optional<std::string> bytes = copy.Bytes())
        ReplaceUserFile(Local(path_), *bytes);
}
