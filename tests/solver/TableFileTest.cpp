// The tables' file: what it takes and what it refuses, where it lives, and that it is never seen
// half written.

#include "solver/CacheFile.h"
#include "solver/TableFile.h"
#include "solver/TableStore.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TPartition Threes3() { return {{1, 2, 3}, {4, 5, 6}, {7, 8}}; }

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                                  std::streamsize(bytes.size()));
}

class TableFileTest : public ::testing::Test {
protected:
    TableFileTest()
    {
        fs::remove_all(folder);
        built.Build();
    }
    ~TableFileTest() override { fs::remove_all(folder.parent_path()); }

    TLoadResult LoadFresh(const TPartition& partition = Threes3())
    {
        TPatternDatabase tables(3, partition);
        const TLoadResult result = LoadTables(tables, file.string());
        for (int g = 0; result == TLoadResult::Loaded && g < tables.GroupCount(); ++g)
            EXPECT_TRUE(std::equal(tables.Table(g), tables.Table(g) + tables.TableSize(g), built.Table(g)));
        return result;
    }

    const fs::path folder = fs::path(::testing::TempDir()) / ("mozik_tables_" + std::to_string(getpid())) / "Mozik";
    const fs::path file = folder / "tables.bin";
    TPatternDatabase built{3, Threes3()};
};

TEST_F(TableFileTest, TablesComeBackAsTheyWereWritten)
{
    EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild);  // no file yet
    ASSERT_TRUE(StoreTables(built, file.string()));
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::file_size(file), TableFileSize(built));
    EXPECT_EQ(LoadFresh(), TLoadResult::Loaded);
    // A store prepares them from the file, and builds and writes them where it has none.
    TPatternDatabase tables(3, Threes3());
    TPrepareWay way{};
    EXPECT_EQ(TTableStore(tables, file.string()).Prepare({}, 0, &way), TPrepareResult::Ready);
    EXPECT_EQ(way, TPrepareWay::Read);
    fs::remove(file);
    TPatternDatabase again(3, Threes3());
    EXPECT_EQ(TTableStore(again, file.string()).Prepare({}, 0, &way), TPrepareResult::Ready);
    EXPECT_EQ(way, TPrepareWay::Built);
    EXPECT_EQ(ReadAll(file), EncodeTables(built));
}

// Each fault on its own: the file is refused, and the store builds the tables and replaces it.
TEST_F(TableFileTest, AShortCorruptLongOrForeignFileIsRebuilt)
{
    const std::vector<std::uint8_t> good = EncodeTables(built);
    auto otherVersion = good;
    otherVersion[8] = std::uint8_t(kTableFormatVersion + 1);
    auto flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    auto badChecksum = good;
    badChecksum.back() ^= 1;
    auto longer = good;
    longer.push_back(0);
    const std::vector<std::vector<std::uint8_t>> faults = {
        std::vector<std::uint8_t>(good.begin(), good.end() - 1), {}, otherVersion, flipped, badChecksum, longer};
    fs::create_directories(folder);
    for (const auto& bytes : faults) {
        WriteAll(file, bytes);
        EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild) << bytes.size();
        TPatternDatabase tables(3, Threes3());
        EXPECT_EQ(TTableStore(tables, file.string()).Prepare(), TPrepareResult::Ready);
        EXPECT_EQ(ReadAll(file), good);
    }
    // Tables of other groups are not taken for these.
    EXPECT_EQ(LoadFresh({{1, 2, 3, 4}, {5, 6, 7, 8}}), TLoadResult::Rebuild);
}

// Two writers at once and a reader meanwhile: the reader finds one writer's file whole, never a
// mixture or a part, and no temporary file is left behind.
TEST_F(TableFileTest, TwoWritersNeverLeaveATornFile)
{
    const std::vector<std::uint8_t> first(200'000, 0xAA), second(200'000, 0x55);
    ASSERT_TRUE(ReplaceCacheFile(file.string(), first));
    std::jthread writerA([&] {
        for (int k = 0; k < 30; ++k)
            EXPECT_TRUE(ReplaceCacheFile(file.string(), first));
    });
    std::jthread writerB([&] {
        for (int k = 0; k < 30; ++k)
            EXPECT_TRUE(ReplaceCacheFile(file.string(), second));
    });
    for (int k = 0; k < 60; ++k) {
        const std::vector<std::uint8_t> seen = ReadAll(file);
        EXPECT_TRUE(seen == first || seen == second);
    }
    writerA.join();
    writerB.join();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// What is not a regular file of the user's own is neither read nor replaced: the tables are
// then kept in memory only.
TEST_F(TableFileTest, OnlyARegularFileOfTheUsersOwnIsTrusted)
{
    fs::create_directories(folder);
    fs::create_directory(file);  // a folder in its place
    EXPECT_FALSE(TCacheReader::Open(file.string(), 1 << 20));
    EXPECT_FALSE(StoreTables(built, file.string()));
    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);  // a pipe: refused without waiting for a writer
    EXPECT_FALSE(TCacheReader::Open(file.string(), 1 << 20));
    EXPECT_FALSE(StoreTables(built, file.string()));
    fs::remove(file);
    WriteAll(file, EncodeTables(built));
    EXPECT_FALSE(TCacheReader::Open(file.string(), 10));  // larger than asked for
    EXPECT_TRUE(TCacheReader::Open(file.string(), 1 << 20));

    if (getuid() != 0)
        GTEST_SKIP() << "files of another user can be made only by root";
    // Another user's file, and another user's link to a file of ours.
    ASSERT_EQ(chown(file.c_str(), 4242, 4242), 0);
    EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild);
    EXPECT_FALSE(StoreTables(built, file.string()));
    fs::remove(file);
    const fs::path ours = folder.parent_path() / "ours.bin";
    WriteAll(ours, EncodeTables(built));
    fs::create_symlink(ours, file);
    EXPECT_EQ(LoadFresh(), TLoadResult::Loaded);  // a link of the user's own is followed
    ASSERT_EQ(lchown(file.c_str(), 4242, 4242), 0);
    EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild);
    EXPECT_FALSE(StoreTables(built, file.string()));
    EXPECT_TRUE(fs::is_symlink(file));
    // A folder of another user's is not written into: the tables are kept in memory only.
    fs::remove(file);
    ASSERT_EQ(chown(folder.c_str(), 4242, 4242), 0);
    EXPECT_FALSE(StoreTables(built, file.string()));
    TPatternDatabase tables(3, Threes3());
    EXPECT_EQ(TTableStore(tables, file.string()).Prepare(), TPrepareResult::Ready);
    EXPECT_FALSE(fs::exists(file));
}

TEST(SolverCacheFolder, FollowsTheXdgRules)
{
    auto folder = [](std::map<std::string, std::string> variables) {
        return CacheFolder([&](const char* name) {
            const auto found = variables.find(name);
            return found == variables.end() ? nullptr : found->second.c_str();
        });
    };
    EXPECT_EQ(folder({{"XDG_CACHE_HOME", "/c"}, {"HOME", "/h"}}), "/c/Mozik");
    EXPECT_EQ(folder({{"XDG_CACHE_HOME", "relative"}, {"HOME", "/h"}}), "/h/.cache/Mozik");
    EXPECT_EQ(folder({{"XDG_CACHE_HOME", ""}, {"HOME", "/h"}}), "/h/.cache/Mozik");
    EXPECT_EQ(folder({{"HOME", "h"}}), std::nullopt);
    EXPECT_EQ(folder({}), std::nullopt);
}

}  // namespace
