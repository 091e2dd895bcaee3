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

// What the answer writes on each stream, and the exit status.
struct TAnswer {
    int Status;
    std::string Out, Err;
};

std::string Contents(std::FILE* stream)
{
    std::rewind(stream);
    std::string text;
    for (int c; (c = std::fgetc(stream)) != EOF;)
        text += char(c);
    return text;
}

TAnswer Answer(const TCommandLine& command)
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = AnswerCommandLine(command, out, err);
    TAnswer answer{status, Contents(out), Contents(err)};
    std::fclose(out);
    std::fclose(err);
    return answer;
}

TEST(CommandLine, APictureAndTheTestSwitchesStartTheGame)
{
    using enum TCommandLine::TAction;
    EXPECT_EQ(Parse({}).Action, Play);
    EXPECT_FALSE(Parse({}).Picture);
    const TCommandLine game = Parse({"--state-file", "state", "holiday.png", "--startup-probe"});
    EXPECT_EQ(game.Action, Play);
    EXPECT_EQ(game.Picture, "holiday.png");
    EXPECT_EQ(game.StateFile, "state");
    EXPECT_TRUE(game.StartupProbe);
    EXPECT_EQ(Parse({"--state-file=s", "-"}).StateFile, "s");
    EXPECT_EQ(Parse({"--state-file=s", "-"}).Picture, "-");
    // After "--" a name that starts with a dash is a picture; names keep their bytes, valid text or not.
    EXPECT_EQ(Parse({"--", "-name.png"}).Picture, "-name.png");
    EXPECT_EQ(Parse({"--", "--help"}).Picture, "--help");
    EXPECT_EQ(Parse({"caf\xe9\xff.bmp"}).Picture, "caf\xe9\xff.bmp");
    EXPECT_EQ(Answer(game).Status, 0);
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputAndEndTheProgram)
{
    for (const char* help : {"-h", "--help"}) {
        const TCommandLine command = Parse({"picture.png", help, "--bogus"});
        ASSERT_EQ(command.Action, TCommandLine::TAction::Help) << help;
        const TAnswer answer = Answer(command);
        EXPECT_EQ(answer.Status, 0);
        EXPECT_TRUE(answer.Err.empty());
        for (const char* shown : {"Использование: mozik [РИСУНОК]", "--help", "--version", "РИСУНОК"})
            EXPECT_NE(answer.Out.find(shown), std::string::npos) << shown;
        for (const char* hidden : {"--state-file", "--startup-probe"})  // for tests only
            EXPECT_EQ(answer.Out.find(hidden), std::string::npos) << hidden;
    }
    const TAnswer version = Answer(Parse({"--version"}));
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out.rfind("mozik ", 0), 0u);
    EXPECT_EQ(version.Out.find_first_not_of("0123456789.", 6), version.Out.size() - 1);
    EXPECT_EQ(version.Out.back(), '\n');

    // An answer that cannot be written is an error, told on the other stream.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(AnswerCommandLine(Parse({"--help"}), full, err), 1);
    EXPECT_NE(Contents(err).find("mozik: "), std::string::npos);
    std::fclose(full);
    std::fclose(err);
}

TEST(CommandLine, AnUnknownOptionOrAMissingValueIsOneLineAndAHintOnStandardError)
{
    const std::vector<std::vector<const char*>> refused = {
        {"--bogus"}, {"-x"}, {"--state-file"}, {"--state-file="}, {"--help=yes"}, {"a.png", "b.png"},
        {"--\x1b[31mred"},
    };
    for (const auto& arguments : refused) {
        const TCommandLine command = Parse(arguments);
        ASSERT_EQ(command.Action, TCommandLine::TAction::Refuse) << arguments[0];
        const TAnswer answer = Answer(command);
        EXPECT_EQ(answer.Status, 2);
        EXPECT_TRUE(answer.Out.empty());
        EXPECT_EQ(answer.Err.rfind("mozik: ", 0), 0u) << answer.Err;
        EXPECT_EQ(std::count(answer.Err.begin(), answer.Err.end(), '\n'), 2) << answer.Err;
        EXPECT_NE(answer.Err.find("mozik --help\n"), std::string::npos);
        EXPECT_EQ(answer.Err.find('\x1b'), std::string::npos);  // nothing that steers the terminal
    }
    EXPECT_NE(Answer(Parse({"--bogus"})).Err.find("«--bogus»"), std::string::npos);
}

} // namespace
