// The mozik-solve command, run as a separate process with its standard input from a file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Runs the command through the shell, the text on its standard input, in English unless `before`
// says otherwise; `before` comes first (a limit, say), and the arguments follow the redirections,
// so that one there replaces them.
TRun RunSolve(const std::string& text, const std::string& arguments = "", std::string before = "")
{
    before = "LANGUAGE=en " + before;
    const std::string base = ::testing::TempDir() + "mozik_solve_" + std::to_string(getpid());
    std::ofstream(base + ".in", std::ios::binary) << text;
    const int status = std::system((before + MOZIK_SOLVE_PATH + " <" + base + ".in >" + base + ".out 2>" + base
                                    + ".err " + arguments).c_str());
    const TRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(base + ".out"), ReadAll(base + ".err")};
    for (const char* suffix : {".in", ".out", ".err"})
        std::remove((base + suffix).c_str());
    return run;
}

TEST(SolverCommand, AnswersEachBoardOnItsOwnLine)
{
    const TRun run = RunSolve("# boards\n\n   \n3 1 2 3 4 5 6 7 0 8\r\n1 0\n2 1 2 0 3\n"
                              "5 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 0\n"
                              "3 8 6 7 2 5 4 3 0 1",
                              "--stats");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.substr(0, run.Out.rfind("\n31 ") + 1), "1 8\n0\n1 3\n0\n");
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), ' '), 1 + 1 + 31);  // 31 moves on the last
    EXPECT_NE(run.Err.find("lower bound"), std::string::npos);
    EXPECT_EQ(RunSolve("3 1 2 3 4 5 6 7 0 8\n", "--fast").Out, "1 8\n");
}

TEST(SolverCommand, BadLinesGetAReasonTheRestGoesOnAndUnknownOptionsGetTheUsage)
{
    // How each malformed board is named is the position's test: one of them stands for all here.
    std::string input = "3 1 2 3 4 5 6 8 7 0\nfoo bar\n" + std::string(1 << 20, 'x') + "\n";
    const char garbage[] = "3 1 2\0\x01\xff 3\n";
    input += std::string(garbage, sizeof garbage - 1) + "2 1 2 3 0\n";
    const TRun run = RunSolve(input);
    EXPECT_EQ(run.Status, 1);
    const std::regex answers("error: [^\n]*not solvable[^\n]*\nerror: [^\n]*\n"
                             "error: [^\n]*longer than[^\n]*\nerror: [^\n]*\n0\n");
    EXPECT_TRUE(std::regex_match(run.Out, answers)) << run.Out;

    const TRun usage = RunSolve("1 0\n", "--slow");
    EXPECT_TRUE(usage.Status == 2 && usage.Out.empty() && usage.Err.find("usage: mozik-solve") != std::string::npos);
    // The usage names the cache folder and the way around it.
    const TRun help = RunSolve("", "--help");
    EXPECT_NE(help.Out.find("--no-cache"), std::string::npos);
    EXPECT_NE(help.Out.find("~/.cache/Mozik/"), std::string::npos);
    EXPECT_EQ(RunSolve("", "").Status, 0);
    const TRun version = RunSolve("", "--version");
    EXPECT_EQ(std::pair(version.Status, version.Out.rfind("mozik-solve ", 0)), std::pair(0, std::size_t(0)));
}

TEST(SolverCommand, ErrorLinesShowTheInputsControlCharactersAndStrayBytesEscaped)
{
    const TRun run = RunSolve("4 9223372036854775808\033[2J\n3 1 \xff\x1b]0;x\x07\n", "\"$(printf -- '--\\033[2J\\377')\"");
    EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')), "mozik-solve: unknown option '--\\x1B[2J\\xFF'");
    const TRun lines = RunSolve("4 9223372036854775808\033[2J\n3 1 \xff\x1b]0;x\x07\n");
    EXPECT_EQ(lines.Out, "error: number 9223372036854775808\\x1B... is out of range\n"
                         "error: '\\xFF\\x1B]0;x\\x07' is not a number\n");
    EXPECT_EQ(std::pair(lines.Status, run.Status), std::pair(1, 2));
}

// Which environment speaks which language is the language test's; here, that the command reads it.
TEST(SolverCommand, SpeaksTheEnvironmentsLanguage)
{
    EXPECT_EQ(RunSolve("3 1 2 x\n", "", "LANGUAGE= LC_ALL= LC_MESSAGES=ru_RU.UTF-8 LANG=en_US.UTF-8 ").Out, "error: «x» не число\n");
}

TEST(SolverCommand, InputOutputAndMemoryThatFailAreToldAndEndWithOne)
{
    const TRun folder = RunSolve("", "</");
    EXPECT_EQ(std::pair(folder.Status, folder.Out), std::pair(1, std::string("error: cannot read standard input: Is a directory\n")));
    std::string boards;
    for (int i = 0; i < 20000; ++i)
        boards += "3 1 2 3 4 5 6 7 0 8\n";
    const TRun full = RunSolve(boards, ">/dev/full");
    EXPECT_EQ(std::pair(full.Status, full.Err), std::pair(1, std::string("mozik-solve: cannot write the answers: No space left on device\n")));
    // A reader that has gone: the answers find the pipe closed.
    const std::string input = ::testing::TempDir() + "mozik_solve_boards";
    std::ofstream(input) << boards;
    std::FILE* answers = popen((std::string(MOZIK_SOLVE_PATH) + " <" + input + " 2>" + input + ".err").c_str(), "r");
    const int status = pclose(answers);  // closes the reading end first
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(ReadAll(input + ".err"), "mozik-solve: cannot write the answers: Broken pipe\n");
#if !defined(__SANITIZE_ADDRESS__)  // which needs more address space than the limit leaves
    // 25 MB of address space: room to start, none to build the 4 x 4 tables (whatever the cache
    // folder of the one running the tests holds).
    const TRun memory = RunSolve("4 5 1 2 3 9 6 7 4 13 10 11 8 14 15 12 0\n1 0\n", "--no-cache", "ulimit -v 25000; ");
    EXPECT_EQ(std::pair(memory.Status, memory.Out), std::pair(1, std::string("error: not enough memory to solve this board\n0\n")));
#endif
}

}  // namespace
