#include "game/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TCommandLine Parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "mozik");
    return ParseCommandLine(int(arguments.size()), arguments.data());
}

// The exit status, then what was written on standard output and on standard error.
std::vector<std::string> Answer(const TCommandLine& command, std::FILE* out = std::tmpfile())
{
    std::FILE* err = std::tmpfile();
    std::vector<std::string> answer{std::to_string(AnswerCommandLine(command, out, err))};
    for (std::FILE* stream : {out, err}) {
        answer.emplace_back();
        std::rewind(stream);
        for (int c; (c = std::fgetc(stream)) != EOF;)
            answer.back() += char(c);
        std::fclose(stream);
    }
    return answer;
}

TEST(CommandLine, APictureAndTheTestSwitchesStartTheGameWithTheNameAsGiven)
{
    const TCommandLine game = Parse({"--state-file", "state", "holiday.png", "--startup-probe"});
    EXPECT_TRUE(game.Action == TCommandLine::TAction::Play && game.StartupProbe && game.StateFile == "state");
    EXPECT_EQ(game.Picture, "holiday.png");
    EXPECT_EQ(Parse({"--state-file=s"}).StateFile, "s");
    EXPECT_EQ(Parse({"-"}).Picture, "-");
    EXPECT_EQ(Parse({"--", "-name.png"}).Picture, "-name.png");
    EXPECT_EQ(Parse({"caf\xe9\xff.bmp"}).Picture, "caf\xe9\xff.bmp");
}

// What the answers say is the end-to-end test's (tests/e2e/cmdline.sh); here the cases it leaves.
TEST(CommandLine, EveryRefusalIsOneLineAndAHintAndAnAnswerThatCannotBeWrittenIsAnError)
{
    for (const auto& arguments : std::vector<std::vector<const char*>>{
             {"-x"}, {"--state-file="}, {"--help=yes"}, {"a.png", "b.png"}, {"--\x1b[31m"}}) {
        const std::vector<std::string> answer = Answer(Parse(arguments));
        EXPECT_EQ(answer[0] + answer[1], "2");
        EXPECT_TRUE(answer[2].starts_with("mozik: ") && answer[2].ends_with("\nСправка: mozik --help\n")) << answer[2];
        EXPECT_EQ(std::count(answer[2].begin(), answer[2].end(), '\n'), 2);
        EXPECT_EQ(answer[2].find('\x1b'), std::string::npos);  // nothing that steers the terminal
    }
    EXPECT_EQ(Parse({"a.png", "--help", "--bogus"}).Action, TCommandLine::TAction::Help);
    const std::vector<std::string> full = Answer(Parse({"--version"}), std::fopen("/dev/full", "w"));
    EXPECT_TRUE(full[0] == "1" && full[2].starts_with("mozik: ")) << full[2];
}

} // namespace
