// The game's command line: what it refuses is shown back escaped.

#include "game/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CommandLine, ARefusalShowsTheArgumentsControlCharactersAndStrayBytesEscapedAndALongOneCut)
{
    const auto refusal = [](const char* first, const char* second = nullptr) {
        const char* argv[] = {"mozik", first, second, nullptr};
        const TCommandLine command = ParseCommandLine(second ? 3 : 2, argv);
        EXPECT_EQ(command.Action, TCommandLine::TAction::Refuse);
        return command.Refusal;
    };
    EXPECT_NE(refusal("--\x1b[31mred\xff").find("«--\\x1B[31mred\\xFF»"), std::string::npos);
    EXPECT_NE(refusal("a.png", "b\r\n\xc2\x9b" "1m.png").find("«b\\x0D\\x0A\\u009B1m.png»"), std::string::npos);
    const std::string longName = "--" + std::string(200, 'x');
    EXPECT_NE(refusal(longName.c_str()).find("«--" + std::string(98, 'x') + "...»"), std::string::npos);
    // What is no option is a picture, taken as its bytes.
    const char* argv[] = {"mozik", "--", "-teal\xff.png", nullptr};
    EXPECT_EQ(ParseCommandLine(3, argv).Picture, std::string("-teal\xff.png"));
}

} // namespace
