#include "solver/TableFile.h"

#include "files/UserFile.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

constexpr char kMagic[8] = {'M', 'O', 'Z', 'I', 'K', 'P', 'D', 'B'};
constexpr std::size_t kChecksumBytes = 8;

// 64-bit FNV-1a over little-endian 64-bit words, fed in pieces of any length.
class TChecksum {
public:
    void Add(std::span<const std::uint8_t> bytes)
    {
        for (std::uint8_t byte : bytes) {
            word_ |= std::uint64_t(byte) << (8 * filled_);
            if (++filled_ == 8)
                Mix();
        }
    }
    std::uint64_t Final()
    {
        if (filled_ > 0)
            Mix();
        return hash_;
    }

private:
    void Mix()
    {
        hash_ = (hash_ ^ word_) * 0x100000001B3ull;
        word_ = 0;
        filled_ = 0;
    }

    std::uint64_t hash_ = 0xCBF29CE484222325ull;
    std::uint64_t word_ = 0;
    int filled_ = 0;
};

void Put(std::vector<std::uint8_t>& bytes, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(std::uint8_t(value >> (8 * i)));
}

// Everything before the tables: what a file for these tables must begin with, byte for byte.
std::vector<std::uint8_t> Header(const TPatternDatabase& tables)
{
    std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
    Put(bytes, kTableFormatVersion, 4);
    Put(bytes, std::uint64_t(tables.N()), 4);
    Put(bytes, std::uint64_t(tables.GroupCount()), 4);
    for (const TTileGroup& group : tables.Partition()) {
        Put(bytes, group.size(), 4);
        for (int tile : group)
            Put(bytes, std::uint64_t(tile), 1);
    }
    for (const TTileGroup& group : tables.Partition())
        Put(bytes, TableEntries(tables.N() * tables.N(), group.size()), 8);
    return bytes;
}

}  // namespace

std::uint64_t TableFileSize(const TPatternDatabase& tables)
{
    std::uint64_t size = Header(tables).size() + kChecksumBytes;
    for (const TTileGroup& group : tables.Partition())
        size += TableEntries(tables.N() * tables.N(), group.size());
    return size;
}

std::vector<std::uint8_t> EncodeTables(const TPatternDatabase& tables)
{
    std::vector<std::uint8_t> bytes = Header(tables);
    bytes.reserve(TableFileSize(tables));
    for (int g = 0; g < tables.GroupCount(); ++g)
        bytes.insert(bytes.end(), tables.Table(g), tables.Table(g) + tables.TableSize(g));
    TChecksum checksum;
    checksum.Add(bytes);
    Put(bytes, checksum.Final(), 8);
    return bytes;
}

TLoadResult LoadTables(TPatternDatabase& tables, const std::string& path, const TCancel& cancel)
{
    // Read whole in one go (some milliseconds); the stop request is looked at while the bytes are
    // checked and taken apart.
    const std::uint64_t size = TableFileSize(tables);
    const TFileRead file = ReadUserFile(path, size);
    if (!file.Status.Ok() || file.Bytes.size() != size)
        return TLoadResult::Rebuild;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.Bytes.data());
    const std::vector<std::uint8_t> expected = Header(tables);
    if (!std::equal(expected.begin(), expected.end(), bytes))
        return TLoadResult::Rebuild;
    TChecksum checksum;
    checksum.Add({bytes, expected.size()});
    std::size_t at = expected.size();
    std::vector<std::vector<std::uint8_t>> read(std::size_t(tables.GroupCount()));
    for (int g = 0; g < tables.GroupCount(); ++g) {
        std::vector<std::uint8_t>& table = read[std::size_t(g)];
        table.resize(TableEntries(tables.N() * tables.N(), tables.Partition()[std::size_t(g)].size()));
        for (std::size_t first = 0; first < table.size(); first += kCheckInterval) {
            if (cancel.Stopped(TSolverPhase::Load, at))
                return TLoadResult::Stopped;
            const std::size_t length = std::min<std::size_t>(kCheckInterval, table.size() - first);
            checksum.Add({bytes + at, length});
            std::copy(bytes + at, bytes + at + length, table.begin() + std::ptrdiff_t(first));
            at += length;
        }
    }
    std::uint64_t stored = 0;
    for (std::size_t i = 0; i < kChecksumBytes; ++i)
        stored |= std::uint64_t(bytes[at + i]) << (8 * i);
    if (stored != checksum.Final())
        return TLoadResult::Rebuild;
    // A checksum only tells that the file is as it was written: tables written wrong (or made to
    // match) would have the search wander without end.
    for (int g = 0; g < tables.GroupCount(); ++g)
        if (!TableMakesSense(tables.N(), tables.Partition()[std::size_t(g)], read[std::size_t(g)]))
            return TLoadResult::Rebuild;
    tables.Adopt(std::move(read));
    return tables.IsBuilt() ? TLoadResult::Loaded : TLoadResult::Rebuild;
}

bool StoreTables(const TPatternDatabase& tables, const std::string& path)
{
    if (!tables.IsBuilt())
        return false;
    const std::vector<std::uint8_t> bytes = EncodeTables(tables);
    return ReplaceUserFile(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}).Ok();
}
