#include "game/ScoreFile.h"

#include "files/UserFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <cerrno>

namespace {

const QString kFileName = QStringLiteral("Mozik.ini");
// The table takes about 1 KiB; anything past this is not a table and is not read into memory.
constexpr std::size_t kMaxFileSize = 64 * 1024;

// Why the file was not read or written, as the player is told.
QString Why(const TFileStatus& status)
{
    switch (status.Problem) {
    case TFileProblem::None: return {};
    case TFileProblem::Missing: return qt_error_string(ENOENT);
    case TFileProblem::ForeignLink: return TScoreFile::tr("это ссылка, созданная другим пользователем");
    case TFileProblem::ForeignFolderLink:
        return TScoreFile::tr("путь к файлу проходит через ссылку, созданную другим пользователем");
    case TFileProblem::DanglingLink: return TScoreFile::tr("ссылка ведёт к файлу, которого нет");
    case TFileProblem::Link: return TScoreFile::tr("это ссылка, а не файл");
    case TFileProblem::Folder: return TScoreFile::tr("это папка, а не файл");
    case TFileProblem::Pipe: return TScoreFile::tr("это канал, а не файл");
    case TFileProblem::Device: return TScoreFile::tr("это устройство, а не файл");
    case TFileProblem::Special: return TScoreFile::tr("это не обычный файл");
    case TFileProblem::Foreign: return TScoreFile::tr("файл принадлежит другому пользователю");
    case TFileProblem::TooBig: return TScoreFile::tr("файл больше 64 КБ, таблица результатов такой не бывает");
    case TFileProblem::WriteProtected: return TScoreFile::tr("файл защищён от записи");
    case TFileProblem::Exists: return qt_error_string(EEXIST);
    case TFileProblem::Busy: return TScoreFile::tr("файл занят другим окном игры");
    case TFileProblem::System: return qt_error_string(status.Error);
    }
    return {};
}

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

TFileRead Read(const QString& path)
{
    return ReadUserFile(Local(path), kMaxFileSize);
}

QString WriteFailure(const QString& path, const QString& reason)
{
    return TScoreFile::tr("Не удалось записать таблицу результатов в файл «%1»: %2.").arg(path, reason);
}

} // namespace

// A relative name is made absolute now, so that the file stays where it was when the working
// directory changes later.
TScoreFile::TScoreFile(const QString& path)
    : path_(path.isEmpty() || path.startsWith('/') ? path : QDir::currentPath() + '/' + path), inMemory_(path_.isEmpty())
{
}

std::optional<QString> TScoreFile::DataFolder()
{
    const std::optional<std::string> data = XdgFolder(TXdgFolder::Data);
    return data ? std::optional(QFile::decodeName(QByteArray::fromStdString(*data)) + QStringLiteral("/Mozik")) : std::nullopt;
}

TScoreFile TScoreFile::Locate(const QString& startDir, const std::optional<QString>& dataDir)
{
    const QString startPath = startDir + '/' + kFileName;
    const TFileStatus start = Read(startPath).Status;
    if (start.Ok())
        return TScoreFile(startPath);  // a player's old scores keep working
    TScoreFile file(dataDir ? *dataDir + '/' + kFileName : QString());
    if (start.Problem != TFileProblem::Missing && file.path_ != startPath) {  // the same file is told of once, by Load
        file.locateProblem_ = TScoreFile::tr("Файл «%1» в папке запуска оставлен как есть: %2.").arg(startPath, Why(start));
        if (dataDir)
            file.locateProblem_ += TScoreFile::tr("\nТаблица результатов хранится в файле «%1».").arg(file.path_);
    }
    return file;
}

TScoreTable TScoreFile::Load()
{
    inMemory_ = true;
    missing_ = false;
    kept_.clear();
    memory_ = TScoreTable();
    if (path_.isEmpty()) {
        loadProblem_ = TScoreFile::tr("Не найдена папка для данных (переменная HOME не задана или не указывает на папку).\n"
                                      "Таблица результатов хранится только в памяти, до выхода из игры.");
        return memory_;
    }
    const TFileRead read = Read(path_);
    loadProblem_.clear();
    if (read.Status.Ok()) {
        memory_ = TScoreTable::FromFileText(QByteArray::fromStdString(read.Bytes));
        inMemory_ = read.WriteProtected;
        if (read.WriteProtected)
            loadProblem_ = TScoreFile::tr("Файл «%1» защищён от записи: таблица результатов прочитана из него, "
                                          "но результаты в этот раз не будут сохранены.")
                               .arg(path_);
    } else if (read.Status.Problem == TFileProblem::Missing) {
        inMemory_ = false;
        missing_ = true;
    } else {
        loadProblem_ = TScoreFile::tr("Не удалось прочитать таблицу результатов из файла «%1»: %2.\n"
                                      "Файл остаётся как есть; результаты в этот раз не будут сохранены.")
                           .arg(path_, Why(read.Status));
    }
    return memory_;
}

void TScoreFile::CreateIfMissing()
{
    if (std::exchange(missing_, false) && !inMemory_)
        ReplaceUserFile(Local(path_), TScoreTable().ToFileText().toStdString(), TLeafLink::FollowOwn, TReplace::IfMissing);
}

QString TScoreFile::Problem() const
{
    if (locateProblem_.isEmpty() || loadProblem_.isEmpty())
        return locateProblem_ + loadProblem_;
    return locateProblem_ + QStringLiteral("\n\n") + loadProblem_;
}

TScoreTable TScoreFile::Table()
{
    if (!inMemory_) {
        const TFileRead read = Read(path_);
        if (read.Status.Ok())
            memory_ = TScoreTable::FromFileText(QByteArray::fromStdString(read.Bytes));
        else if (read.Status.Problem == TFileProblem::Missing)
            memory_ = TScoreTable();
        // A file that cannot be read just now: the table last seen stands.
    }
    TScoreTable table = memory_;
    Apply(table);
    return table;
}

bool TScoreFile::Place(int size, const QByteArray& name, int seconds, TScoreTable* table, QString* tell)
{
    return Commit({false, size, name, seconds}, table, tell);
}

bool TScoreFile::Clear(TScoreTable* table, QString* tell)
{
    return Commit({true, 0, {}, 0}, table, tell);
}

bool TScoreFile::Commit(const TChange& change, TScoreTable* table, QString* tell)
{
    tell->clear();
    if (change.ClearAll)
        kept_.clear();  // whatever was kept is emptied with the rest
    kept_.push_back(change);
    if (inMemory_) {
        Apply(memory_);
        kept_.clear();
        *table = memory_;
        return true;
    }
    QString reason;
    if (WriteKept(&reason)) {
        *table = memory_;
        toldKept_ = false;
        return true;
    }
    *table = Table();
    if (!std::exchange(toldKept_, true))
        *tell = WriteFailure(path_, reason)
                + TScoreFile::tr("\nТаблица пока хранится в памяти: игра попробует записать её снова "
                                 "при следующем изменении и при выходе.");
    return false;
}

bool TScoreFile::SaveKept(QString* error)
{
    QString reason;
    if (kept_.empty() || WriteKept(&reason))
        return true;
    *error = WriteFailure(path_, reason);
    return false;
}

bool TScoreFile::WriteKept(QString* reason)
{
    // What has become no file of the player's is not even locked: nothing is made beside it.
    const auto usable = [reason](const TFileRead& read) {
        if (read.Status.Ok() || read.Status.Problem == TFileProblem::Missing)
            return true;
        *reason = Why(read.Status);
        return false;
    };
    if (!usable(Read(path_)))
        return false;
    TUserFileLock lock;
    if (const TFileStatus locked = lock.Acquire(Local(path_), LockWaitMs); !locked.Ok()) {
        *reason = Why(locked);
        return false;
    }
    const TFileRead read = Read(path_);  // as it is now that no other window writes it
    if (!usable(read))
        return false;
    TScoreTable table = read.Status.Ok() ? TScoreTable::FromFileText(QByteArray::fromStdString(read.Bytes)) : TScoreTable();
    Apply(table);
    if (const TFileStatus written = ReplaceUserFile(Local(path_), table.ToFileText().toStdString()); !written.Ok()) {
        *reason = Why(written);
        return false;
    }
    memory_ = table;
    kept_.clear();
    missing_ = false;
    return true;
}

void TScoreFile::Apply(TScoreTable& table) const
{
    for (const TChange& change : kept_) {
        if (change.ClearAll)
            table.Clear();
        else
            table.Place(change.Size, change.Name, change.Seconds);
    }
}
