#include "files/UserFile.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kMaxLinks = 40;  // the kernel's own limit on the links met along one path
// A save writes "<name>.mozik-save-XXXXXX" (random letters) beside the file, then renames it over
// the file; one left by a killed save is recognised by exactly this shape.
const std::string kTempMarker = ".mozik-save-";
constexpr std::size_t kTempLetters = 6;
// Folders are walked by descriptors that allow nothing but finding names in them, so a folder
// that may be searched but not listed is passed as the system passes it.
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// An open descriptor, closed when it goes.
class TFd {
public:
    TFd() = default;
    explicit TFd(int fd) : fd_(fd) {}
    TFd(TFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TFd& operator=(TFd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~TFd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

TFileStatus Problem(TFileProblem problem)
{
    return {problem, 0};
}

TFileStatus SystemError(int error)
{
    return {TFileProblem::System, error};
}

// Links of the user's own are followed, and root's, who may write anywhere anyway.
bool TrustedLink(const struct stat& st)
{
    return st.st_uid == geteuid() || st.st_uid == 0;
}

// Whether a thing of this kind and owner may be read or written as a file of the user's.
TFileStatus Usable(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return Problem(TFileProblem::Folder);
    if (S_ISFIFO(st.st_mode))
        return Problem(TFileProblem::Pipe);
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return Problem(TFileProblem::Device);
    if (S_ISLNK(st.st_mode))
        return Problem(TFileProblem::Link);
    if (!S_ISREG(st.st_mode))
        return Problem(TFileProblem::Special);
    if (st.st_uid != geteuid())
        return Problem(TFileProblem::Foreign);
    return {};
}

TFileStatus Readable(const struct stat& st, std::size_t maxBytes)
{
    const TFileStatus usable = Usable(st);
    return usable.Ok() && std::size_t(st.st_size) > maxBytes ? Problem(TFileProblem::TooBig) : usable;
}

std::deque<std::string> Components(std::string_view path)
{
    std::deque<std::string> names;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start && path.substr(start, end - start) != ".")
            names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

TFileStatus ReadLink(int folder, const std::string& name, std::string* target)
{
    target->assign(4096, '\0');
    const ssize_t length = readlinkat(folder, name.c_str(), target->data(), target->size());
    if (length < 0 || std::size_t(length) == target->size())
        return SystemError(length < 0 ? errno : ENAMETOOLONG);
    target->resize(std::size_t(length));
    return {};
}

// Walks from the folder `at` along `path` to the folder it names, and leaves `at` on it. Links of
// the user's own (and root's) are followed, anyone else's never; missing folders are made, private
// to the user, when `make`. `links` counts the links met on the whole way.
TFileStatus WalkFolders(TFd& at, std::string_view path, bool make, int& links)
{
    std::deque<std::string> todo = Components(path);
    if (path.starts_with('/'))
        at = TFd(open("/", kFolderFlags));
    if (at.Get() < 0)
        return SystemError(errno);
    while (!todo.empty()) {
        const std::string name = std::move(todo.front());
        todo.pop_front();
        struct stat st {};
        if (fstatat(at.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return SystemError(errno);
            if (!make)
                return Problem(TFileProblem::Missing);
            if (mkdirat(at.Get(), name.c_str(), 0700) != 0 && errno != EEXIST)
                return SystemError(errno);
        } else if (S_ISLNK(st.st_mode)) {
            if (!TrustedLink(st))
                return Problem(TFileProblem::ForeignFolderLink);
            if (++links > kMaxLinks)
                return SystemError(ELOOP);
            std::string target;
            if (const TFileStatus read = ReadLink(at.Get(), name, &target); !read.Ok())
                return read;
            std::deque<std::string> more = Components(target);
            todo.insert(todo.begin(), more.begin(), more.end());
            if (target.starts_with('/'))
                at = TFd(open("/", kFolderFlags));
            if (at.Get() < 0)
                return SystemError(errno);
            continue;
        }
        TFd next(openat(at.Get(), name.c_str(), kFolderFlags));
        if (next.Get() < 0)  // ELOOP: a link was put there since; nothing else is followed
            return SystemError(errno);
        at = std::move(next);
    }
    return {};
}

// Where a path leads: the folder that holds the file and the file's name there, the user's own
// links at the end followed (when allowed) to the file they name.
struct TPlace {
    TFd Folder;
    std::string Name;
    std::string Path;  // the file's path as reached, the user's links at its end followed
    bool Exists = false;
    struct stat St {};  // of the name, no link followed; set where it exists
};

TFileStatus Locate(const std::string& path, bool makeFolders, TLeafLink leaf, TPlace* place)
{
    int links = 0;
    bool throughLink = false;
    std::string rest = path;
    std::string base;  // where `rest` is read from, as a path: the folder of the link that led to it
    place->Folder = TFd(open(".", kFolderFlags));
    for (;;) {
        while (rest.size() > 1 && rest.ends_with('/'))
            rest.pop_back();
        const std::size_t slash = rest.rfind('/');
        place->Name = slash == std::string::npos ? rest : rest.substr(slash + 1);
        place->Path = base + rest;
        if (place->Name.empty())
            return SystemError(rest.empty() ? ENOENT : EISDIR);
        const std::string_view folders = slash == std::string::npos ? std::string_view() : std::string_view(rest).substr(0, slash + 1);
        TFileStatus walked = WalkFolders(place->Folder, folders, makeFolders && !throughLink, links);
        if (!walked.Ok())
            return walked.Problem == TFileProblem::Missing && throughLink ? Problem(TFileProblem::DanglingLink) : walked;
        if (fstatat(place->Folder.Get(), place->Name.c_str(), &place->St, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return SystemError(errno);
            place->Exists = false;
            return throughLink ? Problem(TFileProblem::DanglingLink) : TFileStatus();
        }
        place->Exists = true;
        if (!S_ISLNK(place->St.st_mode))
            return {};
        if (leaf == TLeafLink::Refuse)
            return Problem(TFileProblem::Link);
        if (!TrustedLink(place->St))
            return Problem(TFileProblem::ForeignLink);
        if (++links > kMaxLinks)
            return SystemError(ELOOP);
        base = slash == std::string::npos ? base : base + rest.substr(0, slash + 1);
        if (const TFileStatus read = ReadLink(place->Folder.Get(), place->Name, &rest); !read.Ok())
            return read;
        if (rest.starts_with('/'))
            base.clear();
        throughLink = true;
    }
}

bool IsTempName(std::string_view name, std::string_view prefix)
{
    if (name.size() != prefix.size() + kTempLetters || !name.starts_with(prefix))
        return false;
    for (char c : name.substr(prefix.size()))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

// Removes what killed saves left beside the file: regular files of the user's own named exactly
// like a save's temporary file, which no save holds locked (a save locks its temporary file until
// it is renamed, so another process's save on its way is left alone). Nothing else is touched.
void RemoveStaleTemps(int folder, const std::string& prefix)
{
    const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            close(listing);
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        if (!IsTempName(entry->d_name, prefix))
            continue;
        const TFd temp(openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        if (temp.Get() >= 0 && fstat(temp.Get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid()
            && flock(temp.Get(), LOCK_EX | LOCK_NB) == 0)
            unlinkat(folder, entry->d_name, 0);
    }
    closedir(dir);
}

std::string RandomLetters()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, 51);
    std::string letters;
    for (std::size_t i = 0; i < kTempLetters; ++i)
        letters += kLetters[pick(random)];
    return letters;
}

// Writes every byte straight to the descriptor, so that a short write (a full disk, a size limit)
// shows here; 0 or the error.
int WriteAll(int fd, std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : EIO;
        done += std::size_t(count);
    }
    return 0;
}

} // namespace

std::optional<std::string> XdgFolder(TXdgFolder which)
{
    static const struct {
        const char* Variable;
        const char* UnderHome;
    } kFolders[] = {{"XDG_DATA_HOME", "/.local/share"}, {"XDG_CONFIG_HOME", "/.config"}, {"XDG_CACHE_HOME", "/.cache"},
                   {"XDG_STATE_HOME", "/.local/state"}};
    const auto& folder = kFolders[int(which)];
    if (const char* value = std::getenv(folder.Variable); value && value[0] == '/')
        return std::string(value);
    const char* home = std::getenv("HOME");
    struct stat st {};
    if (!home || home[0] != '/' || stat(home, &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    std::string path = home;
    while (path.ends_with('/'))
        path.pop_back();
    return path + folder.UnderHome;
}

TFileRead ReadUserFile(const std::string& path, std::size_t maxBytes, TLeafLink leaf)
{
    TFileRead result;
    TPlace place;
    result.Status = Locate(path, false, leaf, &place);
    if (result.Status.Ok() && !place.Exists)
        result.Status = Problem(TFileProblem::Missing);
    if (!result.Status.Ok())
        return result;
    // Nothing that is not a small file of the user's own is even opened: opening a device may act
    // on it. The descriptor is checked again, so nothing swapped in since is read; opening waits
    // on no writer and follows no link.
    struct stat st = place.St;
    if (result.Status = Readable(st, maxBytes); !result.Status.Ok())
        return result;
    const TFd fd(openat(place.Folder.Get(), place.Name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() < 0)
        result.Status = errno == ENOENT ? Problem(TFileProblem::Missing)
                        : errno == ELOOP ? Problem(TFileProblem::Link) : SystemError(errno);
    else
        result.Status = fstat(fd.Get(), &st) != 0 ? SystemError(errno) : Readable(st, maxBytes);
    if (!result.Status.Ok())
        return result;
    result.Bytes.resize(maxBytes + 1);  // one byte past the limit tells a file that grew since
    std::size_t done = 0;
    while (done < result.Bytes.size()) {
        const ssize_t count = read(fd.Get(), result.Bytes.data() + done, result.Bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            result.Status = SystemError(errno);
        if (count <= 0)
            break;
        done += std::size_t(count);
    }
    result.Bytes.resize(done);
    if (result.Status.Ok() && done > maxBytes)
        result.Status = Problem(TFileProblem::TooBig);
    if (!result.Status.Ok())
        result.Bytes.clear();
    result.WriteProtected = (st.st_mode & S_IWUSR) == 0;
    return result;
}

TFileCheck CheckUserFile(const std::string& path, TLeafLink leaf, bool makeFolders)
{
    TFileCheck check;
    TPlace place;
    check.Status = Locate(path, makeFolders, leaf, &place);
    if (!check.Status.Ok() || !place.Exists)
        return check;
    check.Status = Usable(place.St);
    check.Exists = check.Status.Ok();
    check.WriteProtected = check.Exists && (place.St.st_mode & S_IWUSR) == 0;
    return check;
}

TFileStatus ReplaceUserFile(const std::string& path, std::string_view bytes, TLeafLink leaf, TReplace mode)
{
    TPlace place;
    if (TFileStatus located = Locate(path, true, leaf, &place); !located.Ok())
        return located;
    if (place.Exists) {
        if (mode == TReplace::IfMissing)
            return Problem(TFileProblem::Exists);
        if (TFileStatus usable = Usable(place.St); !usable.Ok())
            return usable;
        if ((place.St.st_mode & S_IWUSR) == 0)
            return Problem(TFileProblem::WriteProtected);
    }
    const int folder = place.Folder.Get();
    const std::string prefix = place.Name + kTempMarker;
    RemoveStaleTemps(folder, prefix);

    std::string temp;
    TFd fd;
    for (int attempt = 0; fd.Get() < 0 && attempt < 100; ++attempt) {
        temp = prefix + RandomLetters();
        fd = TFd(openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
        if (fd.Get() < 0 && errno != EEXIST)
            break;
        // Locked until renamed; one that another save removed before the lock was taken is
        // given up for a new one.
        struct stat st {};
        if (fd.Get() >= 0 && flock(fd.Get(), LOCK_EX) == 0 && fstat(fd.Get(), &st) == 0 && st.st_nlink == 0)
            fd = TFd();
    }
    if (fd.Get() < 0)
        return SystemError(errno);
    // The file keeps the permissions its owner gave it.
    int failure = place.Exists && fchmod(fd.Get(), place.St.st_mode & 07777) != 0 ? errno : 0;
    if (!failure)
        failure = WriteAll(fd.Get(), bytes);
    if (!failure && fsync(fd.Get()) != 0)
        failure = errno;  // after which closing has nothing left to report
    // The rename replaces a name, never writes through a link; a hard link never replaces.
    if (!failure && mode == TReplace::IfMissing)
        failure = linkat(folder, temp.c_str(), folder, place.Name.c_str(), 0) != 0 ? errno : 0;
    else if (!failure)
        failure = renameat(folder, temp.c_str(), folder, place.Name.c_str()) != 0 ? errno : 0;
    if (failure || mode == TReplace::IfMissing)
        unlinkat(folder, temp.c_str(), 0);
    if (failure)
        return failure == EEXIST && mode == TReplace::IfMissing ? Problem(TFileProblem::Exists) : SystemError(failure);
    // The new name itself reaches the disk with the folder.
    if (const TFd listing(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)); listing.Get() >= 0)
        fsync(listing.Get());
    return {};
}

namespace {

// Opens the lock file for locking: a regular file of the user's own, made when missing. What is
// no regular file is not even opened (opening a device may act on it), and the descriptor is
// checked again, so nothing swapped in since is used.
TFileStatus OpenLockFile(int folder, const std::string& name, TFd* fd, struct stat* st)
{
    if (fstatat(folder, name.c_str(), st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (const TFileStatus usable = Usable(*st); !usable.Ok())
            return usable;
    } else if (errno != ENOENT) {
        return SystemError(errno);
    }
    *fd = TFd(openat(folder, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    if (fd->Get() < 0)
        return errno == ELOOP ? Problem(TFileProblem::Link) : SystemError(errno);
    return fstat(fd->Get(), st) != 0 ? SystemError(errno) : Usable(*st);
}

// One try at a flock: Ok when taken, nullopt while another holder keeps it, an error otherwise.
std::optional<TFileStatus> TryLock(int fd, int how)
{
    if (flock(fd, how | LOCK_NB) == 0)
        return TFileStatus();
    if (errno == EWOULDBLOCK || errno == EINTR)
        return std::nullopt;
    return SystemError(errno);
}

struct TLockTry {
    std::optional<TFileStatus> Status;  // Ok when held, nullopt while another holder keeps it
    TFd File;                           // the lock file held; none where the folder is held alone
    TFileStatus LockProblem;            // what is wrong with the lock file
};

// One try at the lock file `name` in the folder `place`. `folder`, where it is not -1, is that
// folder opened for its own lock: held shared beside the lock file, alone in its place.
TLockTry TryLockOnce(int place, const std::string& name, int folder)
{
    TLockTry attempt;
    if (folder >= 0) {
        attempt.Status = TryLock(folder, LOCK_SH);
        if (!attempt.Status || !attempt.Status->Ok())
            return attempt;
    }
    struct stat st {};
    attempt.LockProblem = OpenLockFile(place, name, &attempt.File, &st);
    if (!attempt.LockProblem.Ok()) {
        attempt.File = TFd();
        attempt.Status = folder >= 0 ? TryLock(folder, LOCK_EX) : attempt.LockProblem;
        return attempt;
    }
    attempt.Status = TryLock(attempt.File.Get(), LOCK_EX);
    // Its last holder may have removed the file between our open and our lock: then the lock is
    // on a file nobody else sees, and the name is tried again.
    struct stat now {};
    if (attempt.Status && attempt.Status->Ok()
        && (fstatat(place, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino))
        attempt.Status = std::nullopt;
    return attempt;
}

} // namespace

TFileStatus TUserFileLock::Acquire(const std::string& path, int waitMs, TLockFallback fallback)
{
    Release();
    lockPath_.clear();
    lockProblem_ = {};
    TPlace place;
    if (TFileStatus located = Locate(path, true, TLeafLink::FollowOwn, &place); !located.Ok())
        return located;
    const std::string name = place.Name + ".lock";
    lockPath_ = place.Path + ".lock";
    // With the folder as the fallback, every holder of this lock also locks the folder that holds
    // the file: shared while it uses the lock file, alone where the lock file cannot be used.
    // Holders of either kind so exclude each other, whichever of them finds the lock file broken.
    TFd folder;
    if (fallback == TLockFallback::Folder)
        folder = TFd(openat(place.Folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        TLockTry attempt = TryLockOnce(place.Folder.Get(), name, folder.Get());
        lockProblem_ = attempt.LockProblem;
        if (attempt.Status && !attempt.Status->Ok())
            return *attempt.Status;
        if (attempt.Status) {
            if (attempt.File.Get() >= 0) {
                folder_ = place.Folder.Release();
                file_ = attempt.File.Release();
                name_ = name;
            }
            folderLock_ = folder.Release();
            return {};
        }
        if (folder.Get() >= 0)
            flock(folder.Get(), LOCK_UN);
        if (std::chrono::steady_clock::now() >= deadline)
            return Problem(TFileProblem::Busy);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void TUserFileLock::Release()
{
    if (file_ >= 0) {
        // Removed while still held, so that whoever opened it meanwhile sees it is gone (Acquire).
        unlinkat(folder_, name_.c_str(), 0);
        close(std::exchange(file_, -1));
        close(std::exchange(folder_, -1));
    }
    if (folderLock_ >= 0)
        close(std::exchange(folderLock_, -1));
}
