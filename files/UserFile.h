#pragma once
// The files the game keeps for its user (scores, settings, caches, test reports), and the rules
// every one of them obeys. Only a small regular file of the user's own is read or written; a pipe,
// a device, a folder, another user's file or a file too large is left alone. No link that another
// user made is followed, on the way to the file or at its end (links of root count as the user's
// own: root may write anywhere anyway). Reading never waits on a writer and never changes a file;
// writing replaces the file whole, through a temporary file of recognisable name, or not at all.
// Plain C++ on POSIX calls: the solver's cache uses it as well as the windows.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The user's folders of the XDG base directory rules: the variable where it holds an absolute
// path (a relative one is ignored, as the rules say), otherwise the folder under $HOME; nullopt
// when HOME is unset, relative, or no existing folder.
enum class TXdgFolder { Data, Config, Cache, State };
std::optional<std::string> XdgFolder(TXdgFolder which);

enum class TFileProblem {
    None,
    Missing,            // nothing under the name
    ForeignLink,        // the name is a link another user made
    ForeignFolderLink,  // a folder on the way is reached through a link another user made
    DanglingLink,       // the name is a link of the user's own to nothing
    Link,               // the name is a link, where links are not followed
    Folder,
    Pipe,
    Device,
    Special,            // a socket or other thing that is no regular file
    Foreign,            // another user's file
    TooBig,
    WriteProtected,     // its owner took away the permission to write it
    Exists,             // a file that was only to be made is there already
    Busy,               // a lock another holder keeps
    System,             // the system said no: Error holds errno
};

struct TFileStatus {
    TFileProblem Problem = TFileProblem::None;
    int Error = 0;  // errno, where Problem is System
    bool Ok() const { return Problem == TFileProblem::None; }
    friend bool operator==(const TFileStatus&, const TFileStatus&) = default;
};

// What the name at the end of a path may be.
enum class TLeafLink {
    FollowOwn,  // a link of the user's own is followed to its file
    Refuse,     // a link is never followed
};

struct TFileRead {
    TFileStatus Status;
    std::string Bytes;
    bool WriteProtected = false;  // read, but its owner does not let it be written
};

// Reads the file whole, when it is no larger than maxBytes.
TFileRead ReadUserFile(const std::string& path, std::size_t maxBytes, TLeafLink leaf = TLeafLink::FollowOwn);

struct TFileCheck {
    TFileStatus Status;
    bool Exists = false;          // a regular file of the user's own is there
    bool WriteProtected = false;  // and its owner took away the permission to write it
};

// What is under the name, judged by the rules above without opening it, whatever its size: Ok
// and Exists for a regular file of the user's own, Ok alone when nothing is there. For a file
// that another program opens by its name (a database). With makeFolders, the missing folders on
// the way are made, private to the user.
TFileCheck CheckUserFile(const std::string& path, TLeafLink leaf = TLeafLink::FollowOwn, bool makeFolders = false);

enum class TReplace {
    Always,      // a file that is there is replaced
    IfMissing,   // a file that is there by then is kept (Exists)
};

// Writes the bytes as the file's whole content: to "<name>.mozik-save-XXXXXX" beside it, synced,
// then renamed over the name; the file's permissions are kept. Missing folders on the path are
// made, private to the user (0700). Temporary files of killed saves of this name are removed
// first. On failure the file is as it was.
TFileStatus ReplaceUserFile(const std::string& path, std::string_view bytes, TLeafLink leaf = TLeafLink::FollowOwn,
                            TReplace mode = TReplace::Always);

// Where the lock file beside a file cannot be used (a link, a pipe, a folder, another user's file),
// the folder that holds the file may be locked in its place: every holder that asks for this does
// so, so the lock still keeps them apart.
enum class TLockFallback { None, Folder };

// An advisory lock on the file at `path`, shared by every program that keeps the rules here:
// the lock file "<file>.lock" beside the file the path leads to, made for the lock and removed
// when it is let go. The system lets the lock of a process that ends, however it ends, go at
// once, so a lock file left behind by a killed process is simply taken over.
class TUserFileLock {
public:
    TUserFileLock() = default;
    ~TUserFileLock() { Release(); }
    TUserFileLock(const TUserFileLock&) = delete;
    TUserFileLock& operator=(const TUserFileLock&) = delete;

    // Takes the lock, trying again until `waitMs` milliseconds have passed (0: one try); Busy
    // when another holder keeps it all that time. With the folder fallback, a lock file that
    // cannot be used gives the folder's lock instead (Ok, and LockProblem() says what was wrong).
    TFileStatus Acquire(const std::string& path, int waitMs, TLockFallback fallback = TLockFallback::None);
    bool Held() const { return file_ >= 0 || folderLock_ >= 0; }
    void Release();

    // The lock file the last Acquire came to (its path as reached), empty when it failed on the
    // way to the file; and what was wrong with that lock file, Ok where it served.
    const std::string& LockPath() const { return lockPath_; }
    const TFileStatus& LockProblem() const { return lockProblem_; }

private:
    int folder_ = -1;
    int file_ = -1;
    int folderLock_ = -1;  // the folder's descriptor that holds its lock, where it is locked
    std::string name_;
    std::string lockPath_;
    TFileStatus lockProblem_;
};
