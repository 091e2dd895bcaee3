#pragma once
// Files in the user's cache folder, $XDG_CACHE_HOME/Mozik (an XDG_CACHE_HOME that is not an
// absolute path is ignored, as the XDG rules say), else $HOME/.cache/Mozik. Only a regular file
// of the user's own, reached through no link of another user's, is read or replaced; a file is
// replaced whole, through a temporary file in the same folder that is renamed over it, so that a
// reader or a second writer never sees it half written.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

// Reads an environment variable: nullptr when it is not set.
using TEnvironment = std::function<const char*(const char*)>;

// The folder (not made here); nullopt when neither variable gives one.
std::optional<std::string> CacheFolder(const TEnvironment& environment);

// A cache file open for reading, read in pieces; closed when it goes.
class TCacheReader {
public:
    TCacheReader(TCacheReader&& other) noexcept;
    TCacheReader& operator=(TCacheReader&&) = delete;
    ~TCacheReader();

    std::uint64_t Size() const { return size_; }
    // Fills the whole span from the next bytes of the file; false when the file ends first or
    // cannot be read.
    bool Read(std::span<std::uint8_t> bytes);

    // The file when it is a regular file of the user's own, no larger than maxBytes, reached
    // through no other user's link; nullopt when it is missing or is not to be trusted.
    static std::optional<TCacheReader> Open(const std::string& path, std::uint64_t maxBytes);

private:
    TCacheReader(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}

    int descriptor_;
    std::uint64_t size_;
};

// Replaces the file whole with the bytes, making its folder (for the user alone) when it is
// missing; false, with nothing left behind, when the folder or a file already under that name is
// not to be trusted, or when the writing fails.
bool ReplaceCacheFile(const std::string& path, std::span<const std::uint8_t> bytes);
