#include "solver/CacheFile.h"

#include <cerrno>
#include <cstdlib>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class TTrust { Missing, Trusted, Refused };

// Whether the name leads to a folder (or a regular file) of the user's own: a link on the way
// must be the user's own or the system's.
TTrust Trust(const std::string& path, bool folder)
{
    struct stat entry {};
    if (lstat(path.c_str(), &entry) != 0)
        return errno == ENOENT ? TTrust::Missing : TTrust::Refused;
    if (S_ISLNK(entry.st_mode)) {
        if (entry.st_uid != getuid() && entry.st_uid != 0)
            return TTrust::Refused;
        if (stat(path.c_str(), &entry) != 0)
            return TTrust::Refused;  // a link to nothing is not ours to replace
    }
    const bool kindRight = folder ? S_ISDIR(entry.st_mode) : S_ISREG(entry.st_mode);
    return kindRight && entry.st_uid == getuid() ? TTrust::Trusted : TTrust::Refused;
}

std::string Parent(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

// The file's folder and the one above it, trusted, made (for the user alone) where missing.
bool TrustedFolder(const std::string& folder, bool make)
{
    for (const std::string& level : {Parent(folder), folder}) {
        TTrust trust = Trust(level, true);
        if (trust == TTrust::Missing && make && mkdir(level.c_str(), 0700) == 0)
            trust = Trust(level, true);
        if (trust != TTrust::Trusted)
            return false;
    }
    return true;
}

bool WriteAll(int descriptor, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.subspan(std::size_t(written));
    }
    return true;
}

}  // namespace

std::optional<std::string> CacheFolder(const TEnvironment& environment)
{
    if (const char* cache = environment("XDG_CACHE_HOME"); cache && cache[0] == '/')
        return std::string(cache) + "/Mozik";
    if (const char* home = environment("HOME"); home && home[0] == '/')
        return std::string(home) + "/.cache/Mozik";
    return std::nullopt;
}

TCacheReader::TCacheReader(TCacheReader&& other) noexcept : descriptor_(other.descriptor_), size_(other.size_)
{
    other.descriptor_ = -1;
}

TCacheReader::~TCacheReader()
{
    if (descriptor_ >= 0)
        close(descriptor_);
}

bool TCacheReader::Read(std::span<std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t got = read(descriptor_, bytes.data(), bytes.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes = bytes.subspan(std::size_t(got));
    }
    return true;
}

std::optional<TCacheReader> TCacheReader::Open(const std::string& path, std::uint64_t maxBytes)
{
    if (!TrustedFolder(Parent(path), false) || Trust(path, false) != TTrust::Trusted)
        return std::nullopt;
    // Not blocking: should a pipe have taken the file's place meanwhile, the open does not wait
    // for a writer; what was opened is looked at once more.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return std::nullopt;
    TCacheReader reader(descriptor, 0);
    struct stat opened {};
    if (fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != getuid()
        || std::uint64_t(opened.st_size) > maxBytes)
        return std::nullopt;
    reader.size_ = std::uint64_t(opened.st_size);
    return reader;
}

bool ReplaceCacheFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::string folder = Parent(path);
    if (!TrustedFolder(folder, true) || Trust(path, false) == TTrust::Refused)
        return false;
    std::string temporary = path + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int descriptor = mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    temporary = name.data();
    bool written = WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    // Renamed over the old file in one step: a reader has the old file or the new one, and of
    // two writers the later one's file stays, whole.
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}
