// The tables' file: what it takes and refuses, and that it is never seen half written.

#include "solver/TableFile.h"
#include "solver/TableStore.h"
#include "tests/solver/SolverTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using TBytes = std::vector<std::uint8_t>;

TPartition Threes3() { return {{1, 2, 3}, {4, 5, 6}, {7, 8}}; }

TBytes ReadAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), {});
}

void WriteAll(const fs::path& path, const TBytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                                  std::streamsize(bytes.size()));
}

// Every table's entries, in the order of the groups.
std::vector<TBytes> TablesOf(const TPatternDatabase& tables)
{
    std::vector<TBytes> contents;
    for (int g = 0; g < tables.GroupCount(); ++g)
        contents.emplace_back(tables.Table(g), tables.Table(g) + tables.TableSize(g));
    return contents;
}

class TableFileTest : public ::testing::Test {
protected:
    TableFileTest()
    {
        fs::remove_all(folder);
        built.Build();
    }
    ~TableFileTest() override { fs::remove_all(folder.parent_path()); }

    // What tables of these groups make of the file; the tables loaded are the built ones.
    TLoadResult LoadFresh(const TPartition& partition = Threes3())
    {
        TPatternDatabase tables(3, partition);
        const TLoadResult result = LoadTables(tables, file.string());
        EXPECT_TRUE(result != TLoadResult::Loaded || TablesOf(tables) == TablesOf(built));
        return result;
    }

    // What a store makes of fresh tables and the file, and how; the tables it readies are the built ones.
    std::pair<TPrepareResult, TPrepareWay> Prepare()
    {
        TPatternDatabase tables(3, Threes3());
        std::pair<TPrepareResult, TPrepareWay> result{};
        result.first = TTableStore(tables, file.string()).Prepare({}, 0, &result.second);
        EXPECT_TRUE(result.first != TPrepareResult::Ready || TablesOf(tables) == TablesOf(built));
        return result;
    }

    // Tables of these groups holding whatever is asked for, as a file with a right checksum has.
    static std::unique_ptr<TPatternDatabase> Holding(std::vector<TBytes> contents)
    {
        auto tables = std::make_unique<TPatternDatabase>(3, Threes3());
        EXPECT_TRUE(tables->Adopt(std::move(contents)));
        return tables;
    }
    static std::unique_ptr<TPatternDatabase> Filled(const std::function<std::uint8_t()>& entry)
    {
        std::vector<TBytes> contents;
        for (const TTileGroup& group : Threes3()) {
            contents.emplace_back(TableEntries(9, group.size()));
            std::generate(contents.back().begin(), contents.back().end(), entry);
        }
        return Holding(std::move(contents));
    }

    const fs::path folder = fs::path(::testing::TempDir()) / ("mozik_tables_" + std::to_string(getpid())) / "Mozik";
    const fs::path file = folder / "tables.bin";
    TPatternDatabase built{3, Threes3()};
};

TEST_F(TableFileTest, TablesComeBackAsTheyWereWrittenAndAStoreReadsThemOrBuildsAndWritesThem)
{
    EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild);  // no file yet
    ASSERT_TRUE(StoreTables(built, file.string()));
    EXPECT_EQ(LoadFresh(), TLoadResult::Loaded);
    EXPECT_EQ(Prepare(), std::pair(TPrepareResult::Ready, TPrepareWay::Read));
    fs::remove(file);
    EXPECT_EQ(Prepare(), std::pair(TPrepareResult::Ready, TPrepareWay::Built));
    EXPECT_EQ(ReadAll(file), EncodeTables(built));
}

// Each fault on its own: the file is refused, and the store builds the tables and replaces it.
TEST_F(TableFileTest, AShortCorruptLongOrForeignFileIsRebuilt)
{
    const TBytes good = EncodeTables(built);
    const auto changed = [&good](auto change) {
        TBytes bytes = good;
        change(bytes);
        return bytes;
    };
    const TBytes faults[] = {TBytes(good.begin(), good.end() - 1), {},
                             changed([](TBytes& b) { b[8] = std::uint8_t(kTableFormatVersion + 1); }),  // version
                             changed([](TBytes& b) { b[b.size() / 2] ^= 0x10; }),
                             changed([](TBytes& b) { b.back() ^= 1; }),  // the checksum
                             changed([](TBytes& b) { b.push_back(0); })};
    fs::create_directories(folder);
    for (const TBytes& bytes : faults) {
        WriteAll(file, bytes);
        EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild) << bytes.size();
        EXPECT_EQ(Prepare(), std::pair(TPrepareResult::Ready, TPrepareWay::Built));
        EXPECT_EQ(ReadAll(file), good);
    }
    // Tables of other groups are not taken for these.
    EXPECT_EQ(LoadFresh({{1, 2, 3, 4}, {5, 6, 7, 8}}), TLoadResult::Rebuild);
}

// Tables whose file is whole but whose entries cannot be the costs (all zero, all unset, noise) are
// refused and built again (that the built tables give shortest answers is the search's test).
TEST_F(TableFileTest, TablesThatCannotBeRightAreRebuilt)
{
    std::mt19937 random(32);
    const auto zeros = Filled([] { return 0; }), unset = Filled([] { return 0xFF; }),
               noise = Filled([&] { return std::uint8_t(random() % 40); });
    for (const TPatternDatabase* bad : {zeros.get(), unset.get(), noise.get()}) {
        ASSERT_TRUE(StoreTables(*bad, file.string()));
        EXPECT_EQ(LoadFresh(), TLoadResult::Rebuild);
        EXPECT_EQ(Prepare(), std::pair(TPrepareResult::Ready, TPrepareWay::Built));
        EXPECT_EQ(ReadAll(file), EncodeTables(built));
    }
    // Every table built here passes, whatever its groups, on every size.
    TPatternDatabase fours(4, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15}}), two(2, DefaultPartition(2)),
        three(3, DefaultPartition(3)), ones(3, {{1}, {5}, {8}});
    for (TPatternDatabase* tables : {&fours, &two, &three, &ones, &built}) {
        ASSERT_EQ(tables->Build(), TBuildResult::Built);
        const std::vector<TBytes> contents = TablesOf(*tables);
        for (std::size_t g = 0; g < contents.size(); ++g)
            EXPECT_TRUE(TableMakesSense(tables->N(), tables->Partition()[g], contents[g]))
                << tables->N() << " " << g;
    }
}

// Two writers of different tables at once and a reader meanwhile: the reader finds one writer's
// tables whole, never a mixture or a part, and no temporary file is left behind. The second
// writer's first table is the built one with an entry lowered where that passes the file's checks
// (a placement that cuts the free cells apart).
TEST_F(TableFileTest, TwoWritersNeverLeaveATornFile)
{
    const std::vector<TBytes> firstTables = TablesOf(built);
    std::vector<TBytes> secondTables = firstTables;
    TBytes& changed = secondTables[0];
    for (std::size_t i = 0; i < changed.size() && changed == firstTables[0]; ++i) {
        changed[i] -= changed[i] >= 2 ? 2 : 0;
        if (!TableMakesSense(3, Threes3()[0], changed))
            changed[i] = firstTables[0][i];
    }
    ASSERT_NE(changed, firstTables[0]);
    const auto first = Holding(firstTables), second = Holding(secondTables);
    ASSERT_TRUE(StoreTables(*first, file.string()));
    std::vector<std::jthread> writers;
    for (const TPatternDatabase* tables : {first.get(), second.get()})
        writers.emplace_back([&, tables] {
            for (int k = 0; k < 30; ++k)
                StoreTables(*tables, file.string());  // one of two writers at once may find its file taken
        });
    for (int k = 0; k < 60; ++k) {
        TPatternDatabase read(3, Threes3());
        ASSERT_EQ(LoadTables(read, file.string()), TLoadResult::Loaded);
        const std::vector<TBytes> found = TablesOf(read);
        EXPECT_TRUE(found == firstTables || found == secondTables);
    }
    writers.clear();  // joins them
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// What is not a regular file of the user's own is neither read nor replaced: the tables are
// then kept in memory only.
TEST_F(TableFileTest, OnlyARegularFileOfTheUsersOwnIsTrusted)
{
    fs::create_directories(folder);
    // Neither read nor written (in this order).
    const auto refused = [&] { return std::pair{LoadFresh(), StoreTables(built, file.string())}; };
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);  // a pipe: refused without waiting for a writer
    EXPECT_EQ(refused(), std::pair(TLoadResult::Rebuild, false));
    EXPECT_EQ(Prepare(), std::pair(TPrepareResult::Ready, TPrepareWay::Built));
    EXPECT_TRUE(fs::is_fifo(file));

    if (getuid() != 0)
        GTEST_SKIP() << "files of another user can be made only by root";
    // Another user's file, and another user's link to a file of ours.
    fs::remove(file);
    WriteAll(file, EncodeTables(built));
    ASSERT_EQ(chown(file.c_str(), 4242, 4242), 0);
    EXPECT_EQ(refused(), std::pair(TLoadResult::Rebuild, false));
    fs::remove(file);
    const fs::path ours = folder.parent_path() / "ours.bin";
    WriteAll(ours, EncodeTables(built));
    fs::create_symlink(ours, file);
    EXPECT_EQ(LoadFresh(), TLoadResult::Loaded);  // a link of the user's own is followed
    ASSERT_EQ(lchown(file.c_str(), 4242, 4242), 0);
    EXPECT_EQ(refused(), std::pair(TLoadResult::Rebuild, false));
    EXPECT_TRUE(fs::is_symlink(file));
}

}  // namespace
