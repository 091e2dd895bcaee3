#include "game/KeptGame.h"

#include "framework/PictureFile.h"
#include "game/Session.h"
#include "game/ShownName.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMap>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFormat = 1;
const QByteArray kFormatKey = "mozik-game";
const QByteArray kCheckKey = "sha1";
// A game of the most moves kept takes some 700 KB.
constexpr std::size_t kMaxFileBytes = 2 * 1024 * 1024;
// The kept file's lock; where its lock file cannot be used, the state folder is locked in its
// place (files/UserFile.h), so that windows still take turns at the file.
constexpr int kLockWaitMs = 1000;

const char* const kPictureKinds[] = {"built-in", "file", "copy"};

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QByteArray Checksum(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

QByteArray MovesText(const std::vector<TMove>& moves)
{
    QByteArrayList texts;
    for (const TMove& move : moves)
        texts << QByteArray::number(move.From) + '-' + QByteArray::number(move.To);
    return texts.join(' ');
}

std::optional<int> Number(const QByteArray& text, int least, int most)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= least && value <= most ? std::optional(value) : std::nullopt;
}

std::optional<std::vector<TMove>> MovesOf(const QByteArray& text)
{
    std::vector<TMove> moves;
    for (const QByteArray& each : text.split(' ')) {
        if (each.isEmpty())
            continue;
        const QByteArrayList ends = each.split('-');
        const std::optional<int> from = ends.size() == 2 ? Number(ends[0], 1, 49) : std::nullopt;
        const std::optional<int> to = ends.size() == 2 ? Number(ends[1], 1, 49) : std::nullopt;
        if (!from || !to)
            return std::nullopt;
        moves.push_back({*from, *to});
    }
    return moves;
}

std::optional<TGrid> GridOf(const QByteArray& text, int n)
{
    const QByteArrayList cells = text.split(' ');
    if (cells.size() != n * n)
        return std::nullopt;
    TGrid grid;
    for (int p = 1; p <= n * n; ++p) {
        const std::optional<int> tile = Number(cells[p - 1], 0, n * n - 1);
        if (!tile)
            return std::nullopt;
        grid.AtPosition(p, n) = std::uint8_t(*tile);
    }
    return grid;
}

// The lines of the text before its checksum, "key=value" each; nullopt when the checksum does not
// match them.
std::optional<QMap<QByteArray, QByteArray>> CheckedLines(const QByteArray& text)
{
    const qsizetype check = text.lastIndexOf('\n' + kCheckKey + '=');
    if (check < 0 || !text.endsWith('\n') || text.mid(check + kCheckKey.size() + 2).chopped(1) != Checksum(text.left(check + 1)))
        return std::nullopt;
    QMap<QByteArray, QByteArray> lines;
    for (const QByteArray& line : text.left(check).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            lines.insert(line.left(equals), line.mid(equals + 1));
    }
    return lines;
}

// The record of the lines, when it is a game that could have been played.
std::optional<TGameRecord> RecordOf(const QMap<QByteArray, QByteArray>& lines)
{
    TGameRecord record;
    const std::optional<int> n = Number(lines.value("size"), 4, kMaxBoardSize);
    const std::optional<TGrid> start = n ? GridOf(lines.value("start"), *n) : std::nullopt;
    const std::optional<std::vector<TMove>> history = MovesOf(lines.value("history"));
    const std::optional<std::vector<TMove>> undone = MovesOf(lines.value("undone"));
    const std::optional<int> moves = Number(lines.value("moves"), 0, INT_MAX);
    const std::optional<int> seconds = Number(lines.value("seconds"), 0, INT_MAX);
    // The counts the history of games keeps, and when the game began.
    const std::optional<int> undos = lines.contains("undos") ? Number(lines.value("undos"), 0, INT_MAX) : 0;
    const std::optional<int> hints = lines.contains("hints") ? Number(lines.value("hints"), 0, INT_MAX) : 0;
    bool startedOk = !lines.contains("started");
    const std::int64_t started = startedOk ? 0 : lines.value("started").toLongLong(&startedOk);
    if (!start || !history || !undone || !moves || !seconds || !undos || !hints || !startedOk || started < 0)
        return std::nullopt;
    record = {*n, *start, *history, *undone, *moves, *seconds, *undos, *hints, started};
    TGame game;
    return game.Resume(record) ? std::optional(record) : std::nullopt;
}

QString Why(const TFileStatus& status)
{
    switch (status.Problem) {
    case TFileProblem::ForeignLink: return TGameKeeper::tr("это ссылка, созданная другим пользователем");
    case TFileProblem::ForeignFolderLink: return TGameKeeper::tr("путь к нему проходит через ссылку, созданную другим пользователем");
    case TFileProblem::DanglingLink:
    case TFileProblem::Link: return TGameKeeper::tr("это ссылка, а не файл");
    case TFileProblem::Folder: return TGameKeeper::tr("это папка, а не файл");
    case TFileProblem::Pipe: return TGameKeeper::tr("это канал, а не файл");
    case TFileProblem::Device: return TGameKeeper::tr("это устройство, а не файл");
    case TFileProblem::Special: return TGameKeeper::tr("это не обычный файл");
    case TFileProblem::Foreign: return TGameKeeper::tr("файл принадлежит другому пользователю");
    case TFileProblem::TooBig: return TGameKeeper::tr("файл слишком велик для отложенной игры");
    case TFileProblem::None: return TGameKeeper::tr("игра записана более новой версией Mozik");
    default: return qt_error_string(status.Problem == TFileProblem::System ? status.Error : EIO);
    }
}

// Reads a file of the game's own whole, by the rules of the player's files and through no link,
// when it is no longer than `most`: room is made for the length it has now, and one that grows
// meanwhile is refused as too large.
TFileRead ReadOwn(const std::string& path, std::size_t most)
{
    struct stat st {};
    const std::size_t room = lstat(path.c_str(), &st) == 0 ? std::min(std::size_t(st.st_size), most) : 0;
    return ReadUserFile(path, room, TLeafLink::Refuse);
}

// The PNG copy of a picture that came without a file.
QImage ReadCopy(const QByteArray& localPath, QString* error)
{
    const TFileRead read = ReadOwn(localPath.toStdString(), kMaxPictureFileBytes);
    if (!read.Status.Ok()) {
        *error = read.Status.Problem == TFileProblem::Missing ? qt_error_string(ENOENT) : Why(read.Status);
        return {};
    }
    QByteArray bytes = QByteArray::fromStdString(read.Bytes);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    QImage picture = qint64(size.width()) * size.height() <= kMaxPicturePixels ? reader.read() : QImage();
    if (picture.isNull())
        *error = TGameKeeper::tr("копия рисунка повреждена");
    return picture;
}

} // namespace

QByteArray TKeptGame::ToText() const
{
    const int n = Game.BoardSize;
    QByteArrayList start;
    for (int p = 1; p <= n * n; ++p)
        start << QByteArray::number(Game.Start.AtPosition(p, n));
    QByteArray text = kFormatKey + '=' + QByteArray::number(kFormat) + '\n';
    text += "id=" + Id + '\n';
    text += "size=" + QByteArray::number(n) + '\n';
    text += "start=" + start.join(' ') + '\n';
    text += "history=" + MovesText(Game.History) + '\n';
    text += "undone=" + MovesText(Game.Undone) + '\n';
    text += "moves=" + QByteArray::number(Game.Moves) + '\n';
    text += "seconds=" + QByteArray::number(Game.Seconds) + '\n';
    text += "undos=" + QByteArray::number(Game.Undos) + '\n';
    text += "hints=" + QByteArray::number(Game.Hints) + '\n';
    text += "started=" + QByteArray::number(qint64(Game.StartedUtc)) + '\n';
    text += QByteArray("picture=") + kPictureKinds[int(Picture)] + '\n';
    if (Picture == TPicture::File)
        text += "path=" + PicturePath.toPercentEncoding() + '\n';
    if (Picture == TPicture::Copy)
        text += "name=" + PictureName.toUtf8().toPercentEncoding() + '\n';
    text += "proportions=" + QByteArray::number(KeepProportions) + '\n';
    return text + kCheckKey + '=' + Checksum(text) + '\n';
}

TKeptText ReadKeptGame(const QByteArray& text, TKeptGame* game)
{
    const QByteArray first = text.left(text.indexOf('\n'));
    const std::optional<int> format = first.startsWith(kFormatKey + '=') ? Number(first.mid(kFormatKey.size() + 1), 1, INT_MAX)
                                                                          : std::nullopt;
    if (format > kFormat)
        return TKeptText::LaterFormat;
    const auto lines = format ? CheckedLines(text) : std::nullopt;
    const auto record = lines ? RecordOf(*lines) : std::nullopt;
    if (!record)
        return TKeptText::Damaged;
    TKeptGame kept;
    kept.Id = lines->value("id");
    kept.Game = *record;
    const QByteArray kind = lines->value("picture");
    const auto known = std::find(std::begin(kPictureKinds), std::end(kPictureKinds), kind);
    kept.Picture = TKeptGame::TPicture(known - std::begin(kPictureKinds));
    kept.PicturePath = QByteArray::fromPercentEncoding(lines->value("path"));
    kept.PictureName = QString::fromUtf8(QByteArray::fromPercentEncoding(lines->value("name")));
    const std::optional<int> proportions = Number(lines->value("proportions"), 0, 1);
    const bool idOk = kept.Id.size() == 16 && QByteArray::fromHex(kept.Id).toHex() == kept.Id;
    const bool pathOk = kept.Picture != TKeptGame::TPicture::File || (kept.PicturePath.startsWith('/') && !kept.PicturePath.contains('\0'));
    if (known == std::end(kPictureKinds) || !proportions || !idOk || !pathOk)
        return TKeptText::Damaged;
    kept.KeepProportions = *proportions;
    *game = std::move(kept);
    return TKeptText::Game;
}

TGameRecord WithinKeptMoves(TGameRecord record)
{
    if (record.Undone.size() > kMaxKeptMoves)  // the farthest of the moves to make again go
        record.Undone.erase(record.Undone.begin(), record.Undone.end() - kMaxKeptMoves);
    const std::size_t all = record.History.size() + record.Undone.size();
    if (all <= kMaxKeptMoves)
        return record;
    // The game begins where the oldest moves that stand leave the board.
    const auto dropped = record.History.begin() + std::ptrdiff_t(all - kMaxKeptMoves);
    TGame game;
    game.Resume({record.BoardSize, record.Start, std::vector<TMove>(record.History.begin(), dropped), {}, record.Moves, 0});
    record.Start = game.Grid();
    record.History.erase(record.History.begin(), dropped);
    return record;
}

QString TGameKeeper::DefaultPath()
{
    const std::optional<std::string> state = XdgFolder(TXdgFolder::State);
    return state ? QFile::decodeName(QByteArray::fromStdString(*state)) + QStringLiteral("/Mozik/game") : QString();
}

TGameKeeper::TGameKeeper(TSession& session, const QString& path, QObject* parent)
    : QObject(parent), session_(session), path_(path)
{
    connect(&session_, &TSession::GameLeft, this, &TGameKeeper::GameLeft);
}

TGameKeeper::~TGameKeeper() = default;

QString TGameKeeper::CopyPath(const QByteArray& id) const
{
    return path_ + '-' + QString::fromLatin1(id) + QStringLiteral(".png");
}

// What the file holds now: a kept game of this format; something of the player's own that is
// none, to be moved aside; something to leave alone (*status says why, and nothing is wrong with
// it as a file when it is a game of a later format); or nothing.
TGameKeeper::TFound TGameKeeper::Find(TKeptGame* game, TFileStatus* status)
{
    const TFileRead read = ReadOwn(Local(path_), kMaxFileBytes);
    *status = read.Status;
    if (read.Status.Problem == TFileProblem::Missing)
        return TFound::None;
    if (!read.Status.Ok())
        return TFound::Left;
    switch (ReadKeptGame(QByteArray::fromStdString(read.Bytes), game)) {
    case TKeptText::Game: return TFound::Game;
    case TKeptText::Damaged: return TFound::Damaged;
    case TKeptText::LaterFormat: break;
    }
    return TFound::Left;
}

std::optional<bool> TGameKeeper::Resume()
{
    struct stat st {};
    if (path_.isEmpty() || lstat(Local(path_).c_str(), &st) != 0)
        return std::nullopt;  // nothing kept, and nothing made
    if (playing_.Acquire(Local(path_ + QStringLiteral(".playing")), 0).Problem == TFileProblem::Busy)
        return std::nullopt;  // another window plays it
    TKeptGame kept;
    TFileStatus status;
    QString aside;
    TUserFileLock lock;
    lock.Acquire(Local(path_), kLockWaitMs, TLockFallback::Folder);
    const TFound found = Find(&kept, &status);
    if (found == TFound::Damaged)
        aside = SetAside();
    lock.Release();
    if (found != TFound::Game) {
        playing_.Release();
        if (found == TFound::Damaged)
            emit Problem(aside.isEmpty() ? tr("Отложенная игра не восстановлена: файл «%1» повреждён. Файл оставлен как есть.").arg(ShownName(path_))
                                         : tr("Отложенная игра не восстановлена: файл «%1» повреждён.\nОн переименован в «%2».").arg(ShownName(path_), ShownName(aside)));
        else if (found == TFound::Left)
            emit Problem(tr("Отложенная игра не восстановлена: файл «%1» оставлен как есть (%2).\n"
                            "Пока он там, игра при выходе не сохраняется.").arg(ShownName(path_), Why(status)));
        return std::nullopt;
    }
    id_ = kept.Id;
    TKeptPicture picture;
    if (kept.Picture == TKeptGame::TPicture::File)
        picture.LocalPath = kept.PicturePath;
    else if (kept.Picture == TKeptGame::TPicture::Copy)
        picture = {QFile::encodeName(CopyPath(kept.Id)), kept.PictureName, true, ReadCopy};
    session_.ResumeGame(kept.Game, picture);
    return kept.KeepProportions;
}

bool TGameKeeper::Keep(bool keepProportions)
{
    const TGame& game = session_.Game();
    if (path_.isEmpty() || !game.Running() || game.GivenUp())
        return false;
    if (id_.isEmpty())
        id_ = QByteArray::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, '0');
    TKeptGame kept;
    kept.Id = id_;
    kept.Game = WithinKeptMoves(session_.GameRecord());
    kept.Picture = session_.PictureBuiltIn()          ? TKeptGame::TPicture::BuiltIn
                 : !session_.PicturePath().isEmpty() ? TKeptGame::TPicture::File
                                                     : TKeptGame::TPicture::Copy;
    kept.PicturePath = session_.PicturePath();
    kept.PictureName = kept.Picture == TKeptGame::TPicture::Copy ? session_.PictureName() : QString();
    kept.KeepProportions = keepProportions;

    TUserFileLock lock;
    lock.Acquire(Local(path_), kLockWaitMs, TLockFallback::Folder);
    TKeptGame current;
    TFileStatus status;
    switch (Find(&current, &status)) {
    case TFound::Left: return false;
    case TFound::Damaged:
        if (SetAside().isEmpty())
            return false;
        break;
    case TFound::Game:
        if (current == kept)
            return true;
        break;
    case TFound::None: break;
    }
    const bool copy = kept.Picture == TKeptGame::TPicture::Copy;
    if ((copy && !WriteCopy(id_)) || !ReplaceUserFile(Local(path_), kept.ToText().toStdString(), TLeafLink::Refuse).Ok())
        return false;
    RemoveCopies(copy ? id_ : QByteArray());
    return true;
}

// The game this window kept or took up is over: its file goes, unless another window has kept its
// own game there since.
void TGameKeeper::GameLeft()
{
    playing_.Release();
    const QByteArray id = std::exchange(id_, {});
    if (id.isEmpty())
        return;
    TUserFileLock lock;
    lock.Acquire(Local(path_), kLockWaitMs, TLockFallback::Folder);
    TKeptGame current;
    TFileStatus status;
    if (Find(&current, &status) == TFound::Game && current.Id == id) {
        unlink(Local(path_).c_str());
        RemoveCopies({});
    }
}

// Moves a damaged file out of the way under a dated name, which is returned (empty when it could
// not be moved); a name taken already is never replaced.
QString TGameKeeper::SetAside()
{
    const QString dated = path_ + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int count = 1; count <= 100; ++count) {
        const QString aside = count == 1 ? dated : dated + '-' + QString::number(count);
        if (link(Local(path_).c_str(), Local(aside).c_str()) == 0) {
            unlink(Local(path_).c_str());
            return aside;
        }
        if (errno != EEXIST)
            break;
    }
    return {};
}

bool TGameKeeper::WriteCopy(const QByteArray& id)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return session_.Picture().save(&buffer, "PNG") && ReplaceUserFile(Local(CopyPath(id)), png.toStdString(), TLeafLink::Refuse).Ok();
}

// Removes the copies of pictures beside the file that no kept game names any more: regular files
// of the player's own named as a copy is, but that of `exceptId`.
void TGameKeeper::RemoveCopies(const QByteArray& exceptId)
{
    const QFileInfo file(path_);
    const QString prefix = file.fileName() + '-';
    const QDir folder = file.absoluteDir();
    for (const QString& name : folder.entryList({prefix + QStringLiteral("*.png")}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QByteArray id = name.mid(prefix.size()).chopped(4).toLatin1();
        struct stat st {};
        const QByteArray local = QFile::encodeName(folder.filePath(name));
        if (id.size() == 16 && QByteArray::fromHex(id).toHex() == id && id != exceptId && lstat(local.constData(), &st) == 0
            && S_ISREG(st.st_mode) && st.st_uid == geteuid())
            unlink(local.constData());
    }
}
