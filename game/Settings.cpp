#include "game/Settings.h"

#include "files/UserFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

namespace {

// A few hundred bytes in use; anything past this is not the game's settings and is not read, and
// the game never writes more.
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

// A switch as QSettings writes it; anything else leaves the fallback.
bool Flag(const QSettings& ini, const char* key, bool fallback)
{
    const QString text = ini.value(key).toString();
    return text == QLatin1String("true") ? true : text == QLatin1String("false") ? false : fallback;
}

int BoardSizeOf(const QSettings& ini, int fallback)
{
    bool ok = false;
    const int n = ini.value(kBoardSize).toString().toInt(&ok);
    return ok && (n == 1 || (n >= 4 && n <= 7)) ? n : fallback;
}

bool SanePath(const QByteArray& path)
{
    return path.startsWith('/') && !path.contains('\0') && path.size() <= TSettings::kLongestPictureName;
}

// An absolute name of a sane length, as bytes (the file system's own) or as text; empty for
// anything else.
QByteArray LocalPathOf(const QVariant& value)
{
    const QByteArray path = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                          : value.typeId() == QMetaType::QString ? QFile::encodeName(value.toString())
                                                                 : QByteArray();
    return SanePath(path) ? path : QByteArray();
}

// The picture: a name, or empty for the built-in one; the fallback for anything else.
QByteArray PictureOf(const QSettings& ini, const QByteArray& fallback)
{
    const QVariant value = ini.value(kPicture);
    const bool empty = (value.typeId() == QMetaType::QByteArray || value.typeId() == QMetaType::QString)
                    && value.toByteArray().isEmpty();
    const QByteArray path = LocalPathOf(value);
    return empty || !path.isEmpty() ? path : fallback;
}

// The list's entries that make sense, each once, as many as the list keeps; of a damaged list no
// more entries are looked at than a few times that. Without a list, the fallback.
QList<QByteArray> RecentOf(QSettings& ini, const QList<QByteArray>& fallback)
{
    if (!ini.contains(QLatin1String(kRecentPictures) + QLatin1String("/size")))
        return fallback;
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
    ini.beginWriteArray(kRecentPictures, int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        ini.setArrayIndex(i);
        ini.setValue(kRecentPath, list[i]);
    }
    ini.endArray();
}

std::optional<QRect> GeometryOf(const QSettings& ini, const std::optional<QRect>& fallback)
{
    constexpr int kFar = 1 << 16;  // beyond any screen
    const QVariant value = ini.value(kGeometry);
    const QRect rect = value.typeId() == QMetaType::QRect ? value.toRect() : QRect();
    if (!rect.isValid() || rect.width() > kFar || rect.height() > kFar || std::abs(rect.x()) > kFar || std::abs(rect.y()) > kFar)
        return fallback;
    return rect;
}

QString LanguageOf(const QSettings& ini, const QString& fallback)
{
    const QString language = ini.value(kLanguage).toString();
    return language == "ru" || language == "en" || language == "auto" ? language : fallback;
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
    switch (read.Status.Problem) {
    case TFileProblem::None:
        writable_ = !read.WriteProtected;
        values_ = Parse(read.Bytes, values_);
        break;
    case TFileProblem::Missing:
        writable_ = true;
        break;
    case TFileProblem::TooBig:  // not the game's: the defaults, until the next change replaces it
        writable_ = !CheckUserFile(Local(path_)).WriteProtected;
        break;
    default:
        break;
    }
}

// Whatever QSettings makes of a damaged file, each value is taken only when it makes sense.
TSettings::TValues TSettings::Parse(const std::string& bytes, const TValues& fallback)
{
    TValues values = fallback;
    WithIni(bytes, [&values, &fallback](QSettings& ini) {
        values.BoardSize = BoardSizeOf(ini, fallback.BoardSize);
        values.Picture = PictureOf(ini, fallback.Picture);
        values.WindowGeometry = GeometryOf(ini, fallback.WindowGeometry);
        values.Maximised = Flag(ini, kMaximised, fallback.Maximised);
        values.FullScreen = Flag(ini, kFullScreen, fallback.FullScreen);
        values.Animation = Flag(ini, kAnimation, fallback.Animation);
        values.StatusLine = Flag(ini, kStatusLine, fallback.StatusLine);
        values.KeepProportions = Flag(ini, kKeepProportions, fallback.KeepProportions);
        values.PauseWhenAway = Flag(ini, kPauseWhenAway, fallback.PauseWhenAway);
        values.AskBeforeAbandoning = Flag(ini, kAskBeforeAbandoning, fallback.AskBeforeAbandoning);
        values.Numbers = Flag(ini, kNumbers, fallback.Numbers);
        values.Sound = Flag(ini, kSound, fallback.Sound);
        values.Language = LanguageOf(ini, fallback.Language);
        values.RecentPictures = RecentOf(ini, fallback.RecentPictures);
    });
    return values;
}

void TSettings::Write(QSettings& ini, const TValues& values)
{
    ini.setValue(kBoardSize, values.BoardSize);
    ini.setValue(kPicture, SanePath(values.Picture) ? values.Picture : QByteArray());
    if (values.WindowGeometry)
        ini.setValue(kGeometry, *values.WindowGeometry);
    for (const auto& [key, on] : {std::pair(kMaximised, values.Maximised), std::pair(kFullScreen, values.FullScreen),
                                  std::pair(kAnimation, values.Animation), std::pair(kStatusLine, values.StatusLine),
                                  std::pair(kKeepProportions, values.KeepProportions),
                                  std::pair(kPauseWhenAway, values.PauseWhenAway),
                                  std::pair(kAskBeforeAbandoning, values.AskBeforeAbandoning),
                                  std::pair(kNumbers, values.Numbers), std::pair(kSound, values.Sound)})
        ini.setValue(key, on);
    ini.setValue(kLanguage, values.Language);
    WriteRecent(ini, values.RecentPictures);
}

// Every value in QSettings' own form, in a fresh file; the oldest recent pictures, and then the
// picture, give way while the names, written with their escapes, would not fit the limit.
std::optional<std::string> TSettings::Serialise(TValues values)
{
    for (;;) {
        const TPrivateCopy copy({});
        if (!copy.Ok())
            return std::nullopt;
        {
            QSettings ini(copy.Path(), QSettings::IniFormat);
            Write(ini, values);
            ini.sync();
            if (ini.status() != QSettings::NoError)
                return std::nullopt;
        }
        const std::optional<std::string> bytes = copy.Bytes();
        if (!bytes || bytes->size() <= kMaxFileSize || (values.RecentPictures.isEmpty() && values.Picture.isEmpty()))
            return bytes;
        if (!values.RecentPictures.isEmpty())
            values.RecentPictures.removeLast();
        else
            values.Picture.clear();
    }
}

template <typename T>
void TSettings::Change(T TValues::*field, const T& value)
{
    if (values_.*field == value)
        return;
    values_.*field = value;
    Update([field, &value](TValues& file) { file.*field = value; });
}

void TSettings::SetBoardSize(int n) { Change(&TValues::BoardSize, n); }
void TSettings::SetPicture(const QByteArray& localPath) { Change(&TValues::Picture, localPath); }
void TSettings::SetWindowGeometry(const QRect& geometry) { Change(&TValues::WindowGeometry, std::optional(geometry)); }
void TSettings::SetMaximised(bool on) { Change(&TValues::Maximised, on); }
void TSettings::SetFullScreen(bool on) { Change(&TValues::FullScreen, on); }
void TSettings::SetAnimation(bool on) { Change(&TValues::Animation, on); }
void TSettings::SetStatusLine(bool on) { Change(&TValues::StatusLine, on); }
void TSettings::SetKeepProportions(bool on) { Change(&TValues::KeepProportions, on); }
void TSettings::SetPauseWhenAway(bool on) { Change(&TValues::PauseWhenAway, on); }
void TSettings::SetAskBeforeAbandoning(bool on) { Change(&TValues::AskBeforeAbandoning, on); }
void TSettings::SetNumbers(bool on) { Change(&TValues::Numbers, on); }
void TSettings::SetSound(bool on) { Change(&TValues::Sound, on); }
void TSettings::SetLanguage(const QString& language) { Change(&TValues::Language, language); }

void TSettings::AddRecentPicture(const QByteArray& localPath)
{
    if (!SanePath(localPath))
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
    Read([this](const TValues& file) { values_.RecentPictures = file.RecentPictures; });
}

// Into the list as the file holds it now; where the file cannot be written, into this run's list.
void TSettings::ChangeRecentPictures(const std::function<void(QList<QByteArray>&)>& change)
{
    bool changed = false;
    Update([&](TValues& file) {
        change(file.RecentPictures);
        values_.RecentPictures = file.RecentPictures;
        changed = true;
    });
    if (!changed)
        change(values_.RecentPictures);
}

bool TSettings::Read(const std::function<void(const TValues&)>& read) const
{
    if (path_.isEmpty())
        return false;
    const TFileRead file = ReadUserFile(Local(path_), kMaxFileSize);
    if (!file.Status.Ok())
        return false;
    read(Parse(file.Bytes, values_));
    return true;
}

std::optional<TSettings::TValues> TSettings::ValuesToWrite() const
{
    const TFileRead read = ReadUserFile(Local(path_), kMaxFileSize);
    switch (read.Status.Problem) {
    case TFileProblem::None:
        return read.WriteProtected ? std::nullopt : std::optional(Parse(read.Bytes, values_));
    case TFileProblem::Missing:
        return values_;
    case TFileProblem::TooBig:
        return CheckUserFile(Local(path_)).WriteProtected ? std::nullopt : std::optional(values_);
    default:
        return std::nullopt;
    }
}

bool TSettings::Update(const std::function<void(TValues&)>& change)
{
    if (!writable_)
        return false;
    // Under the same lock as the score file's: another window's change is not written over. A
    // lock not to be had within a moment does not hold the change back.
    TUserFileLock lock;
    lock.Acquire(Local(path_), kLockWaitMs);
    std::optional<TValues> values = ValuesToWrite();
    if (!values) {
        writable_ = false;  // something else is there now: left alone
        return false;
    }
    change(*values);
    const std::optional<std::string> bytes = Serialise(*values);
    return bytes && ReplaceUserFile(Local(path_), *bytes).Ok();
}
