#include "game/ScoreFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kFileName = QStringLiteral("Mozik.ini");
// The table takes about 1 KiB; anything past this is not a table and is not read into memory.
constexpr qsizetype kMaxFileSize = 64 * 1024;
// A save writes "<file>.mozik-save-XXXXXX" (random letters) beside the file, then renames it over
// the file; one left by a killed save is recognised by exactly this shape.
const QByteArray kTempMarker = QByteArrayLiteral(".mozik-save-");
constexpr int kTempLetters = 6;
constexpr int kMaxLinks = 40;  // the kernel's own limit on a chain of links

enum class TLook { Missing, Read, Refused };

QByteArray Folder(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray BaseName(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Why a file of this kind and owner is no file of the game's; empty where it is one.
QString Unusable(const struct stat& st)
{
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("это ссылка, а не файл");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("это папка, а не файл");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("это канал, а не файл");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("это устройство, а не файл");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("это не обычный файл");
    if (st.st_uid != geteuid())
        return QStringLiteral("файл принадлежит другому пользователю");
    return {};
}

QString TooBig()
{
    return QStringLiteral("файл больше 64 КБ, таблица результатов такой не бывает");
}

// Follows links of the player's own, hop by hop, to what they lead to; a link of anyone else's is
// never followed. On Read, *path is no link (as lstat saw it) and *st describes it.
TLook Resolve(QByteArray* path, struct stat* st, QString* reason)
{
    for (int links = 0;; ++links) {
        if (lstat(path->constData(), st) != 0) {
            if (errno == ENOENT && links == 0)
                return TLook::Missing;
            *reason = errno == ENOENT ? QStringLiteral("ссылка ведёт к файлу, которого нет") : qt_error_string(errno);
            return TLook::Refused;
        }
        if (!S_ISLNK(st->st_mode))
            return TLook::Read;
        if (st->st_uid != geteuid()) {
            *reason = QStringLiteral("это ссылка, созданная другим пользователем");
            return TLook::Refused;
        }
        if (links == kMaxLinks) {
            *reason = qt_error_string(ELOOP);
            return TLook::Refused;
        }
        QByteArray content(4096, '\0');
        const ssize_t length = readlink(path->constData(), content.data(), size_t(content.size()));
        if (length < 0 || length == content.size()) {
            *reason = qt_error_string(length < 0 ? errno : ENAMETOOLONG);
            return TLook::Refused;
        }
        content.truncate(length);
        *path = content.startsWith('/') ? content : Folder(*path) + '/' + content;
    }
}

// Reads the file at `path`, which lstat saw as a usable file. The descriptor is checked again,
// so nothing swapped in since is read; opening waits on no writer, follows no link, and no more
// than one byte past the limit is ever read.
TLook ReadChecked(const QByteArray& path, QByteArray* text, QString* reason)
{
    const int fd = open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *reason = qt_error_string(errno);
        return TLook::Refused;
    }
    struct stat st;
    *reason = fstat(fd, &st) != 0 ? qt_error_string(errno) : Unusable(st);
    if (reason->isEmpty() && st.st_size > kMaxFileSize)
        *reason = TooBig();
    qsizetype done = 0;
    if (reason->isEmpty()) {
        text->resize(kMaxFileSize + 1);
        while (done < text->size()) {
            const ssize_t count = read(fd, text->data() + done, size_t(text->size() - done));
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                *reason = qt_error_string(errno);
            if (count <= 0)
                break;
            done += count;
        }
        text->truncate(done);
    }
    close(fd);
    if (reason->isEmpty() && done > kMaxFileSize)
        *reason = TooBig();  // it grew after the check
    return reason->isEmpty() ? TLook::Read : TLook::Refused;
}

// Looks at the score file `name`: missing, read into *text, or refused with *reason. *target is
// the file that was read (the end of a chain of own links) or, where none, `name` itself.
TLook Examine(const QString& name, QByteArray* target, QByteArray* text, QString* reason)
{
    *target = QFile::encodeName(name);
    struct stat st;
    const TLook look = Resolve(target, &st, reason);
    if (look != TLook::Read)
        return look;
    // Nothing that is not a small file of the player's own is even opened: opening a device may
    // act on it.
    *reason = Unusable(st);
    if (reason->isEmpty() && st.st_size > kMaxFileSize)
        *reason = TooBig();
    return reason->isEmpty() ? ReadChecked(*target, text, reason) : TLook::Refused;
}

// Creates the folder and any missing parents, private to the player (0700) like any data folder.
void MakeFolder(const QByteArray& path)
{
    if (mkdir(path.constData(), 0700) == 0 || errno != ENOENT)
        return;
    const QByteArray parent = Folder(path);
    if (parent == path)
        return;
    MakeFolder(parent);
    mkdir(path.constData(), 0700);
}

bool IsTempName(const QByteArray& name, const QByteArray& prefix)
{
    return name.size() == prefix.size() + kTempLetters && name.startsWith(prefix)
           && std::all_of(name.cbegin() + prefix.size(), name.cend(),
                          [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// Removes what killed saves left beside the file: regular files of the player's own named exactly
// like a save's temporary file. Nothing else in the folder is touched.
void RemoveStaleTemps(const QByteArray& folder, const QByteArray& prefix)
{
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        struct stat st;
        if (IsTempName(entry->d_name, prefix) && fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode) && st.st_uid == geteuid())
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

QByteArray RandomLetters()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    QByteArray letters;
    for (int i = 0; i < kTempLetters; ++i)
        letters += kLetters[QRandomGenerator::global()->bounded(52)];
    return letters;
}

// Writes every byte straight to the descriptor, so that a short write (a full disk, a size limit)
// shows here; returns 0 or the error.
int WriteAll(int fd, const QByteArray& text)
{
    for (qsizetype done = 0; done < text.size();) {
        const ssize_t count = write(fd, text.constData() + done, size_t(text.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : EIO;
        done += count;
    }
    return 0;
}

} // namespace

// A relative name is made absolute now, so that the file stays where it was when the working
// directory changes later.
TScoreFile::TScoreFile(const QString& path)
    : path_(path.startsWith('/') ? path : QDir::currentPath() + '/' + path), target_(QFile::encodeName(path_))
{
}

TScoreFile TScoreFile::Locate(const QString& startDir, const QString& dataDir)
{
    const QString startPath = startDir + '/' + kFileName;
    QByteArray target;
    QByteArray text;
    QString reason;
    const TLook look = Examine(startPath, &target, &text, &reason);
    if (look == TLook::Read)
        return TScoreFile(startPath);  // a player's old scores keep working
    TScoreFile file(dataDir + '/' + kFileName);
    if (look == TLook::Refused && file.path_ != startPath)  // the same file is told of once, by Load
        file.locateProblem_ = QStringLiteral("Файл «%1» в папке запуска оставлен как есть: %2.\n"
                                             "Таблица результатов хранится в файле «%3».")
                                  .arg(startPath, reason, file.path_);
    return file;
}

TScoreTable TScoreFile::Load()
{
    QByteArray text;
    QString reason;
    refused_ = false;
    missing_ = false;
    loadProblem_.clear();
    switch (Examine(path_, &target_, &text, &reason)) {
    case TLook::Read:
        return TScoreTable::FromFileText(text);
    case TLook::Missing:
        missing_ = true;
        return {};
    case TLook::Refused:
        break;
    }
    refused_ = true;
    loadProblem_ = QStringLiteral("Не удалось прочитать таблицу результатов из файла «%1»: %2.\n"
                                  "Файл остаётся как есть; результаты в этот раз не будут сохранены.")
                       .arg(path_, reason);
    return {};
}

void TScoreFile::CreateIfMissing()
{
    if (!missing_)
        return;
    QString ignored;
    Save(TScoreTable(), &ignored);
}

QString TScoreFile::Problem() const
{
    if (locateProblem_.isEmpty() || loadProblem_.isEmpty())
        return locateProblem_ + loadProblem_;
    return locateProblem_ + QStringLiteral("\n\n") + loadProblem_;
}

bool TScoreFile::Save(const TScoreTable& table, QString* error)
{
    if (refused_)
        return true;
    // What is replaced must still be a regular file of the player's own; where nothing is, a new
    // one is made. The rename replaces a name, never writes through a link.
    struct stat old;
    const bool exists = lstat(target_.constData(), &old) == 0;
    if (!exists && errno != ENOENT) {
        *error = qt_error_string(errno);
        return false;
    }
    if (exists && !Unusable(old).isEmpty()) {
        *error = Unusable(old);
        return false;
    }
    missing_ = false;  // whatever happens, the default file is not to be made any more
    const QByteArray folder = Folder(target_);
    if (!exists)
        MakeFolder(folder);
    const QByteArray prefix = BaseName(target_) + kTempMarker;
    RemoveStaleTemps(folder, prefix);

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder + '/' + prefix + RandomLetters();
        fd = open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        *error = qt_error_string(errno);
        return false;
    }
    int failure = exists && fchmod(fd, old.st_mode & 0777) != 0 ? errno : 0;  // keep the player's permissions
    if (!failure)
        failure = WriteAll(fd, table.ToFileText());
    if (!failure && fsync(fd) != 0)
        failure = errno;
    if (close(fd) != 0 && !failure)
        failure = errno;
    if (!failure && rename(temp.constData(), target_.constData()) != 0)
        failure = errno;
    if (!failure)
        return true;
    unlink(temp.constData());
    *error = qt_error_string(failure);
    return false;
}
