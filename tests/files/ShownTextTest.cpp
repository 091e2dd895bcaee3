// How a name from outside is shown back in a message.

#include "files/ShownText.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using namespace std::string_literals;

TEST(ShownText, ControlCharactersAndBytesThatAreNoUtf8AreEscapedValidTextStaysAndALongOneIsCut)
{
    EXPECT_EQ(Shown("9223372036854775808\x1b[2J"), "9223372036854775808\\x1B[2J");
    EXPECT_EQ(Shown("a\nb\tc\x7f"s + '\0'), "a\\x0Ab\\x09c\\x7F\\x00");
    // Any script and an emoji pass; a backslash is doubled, so an escape is told from its letters.
    EXPECT_EQ(Shown("Ёлка ß 漢 🙂 C:\\x41"), "Ёлка ß 漢 🙂 C:\\\\x41");
    // No UTF-8: bytes it never holds, a stray continuation, a lead without its end, an overlong
    // form, a surrogate, past U+10FFFF, a sequence cut short at the end.
    EXPECT_EQ(Shown("teal\xff\xfe.png"), "teal\\xFF\\xFE.png");
    EXPECT_EQ(Shown("\x80" "a\xd0" "b\xc0\xaf" "c\xed\xa0\x80" "d\xf4\x90\x80\x80" "e\xe2\x82"),
              "\\x80a\\xD0b\\xC0\\xAFc\\xED\\xA0\\x80d\\xF4\\x90\\x80\\x80e\\xE2\\x82");
    // C1 controls (U+009B starts an escape on some terminals) and the characters that turn a line.
    EXPECT_EQ(Shown("\xc2\x9b" "2J \xe2\x80\xae" "gnp.exe \xe2\x80\xa8 \xe2\x81\xa6"), "\\u009B2J \\u202Egnp.exe \\u2028 \\u2066");
    // Cut at the first character that begins past the bound, kept whole.
    EXPECT_EQ(std::tuple(Shown("abcdef", 4), Shown("abcd", 4), Shown("abcЖd", 4), Shown("abc\x1b" "def", 4)),
              std::tuple("abcd..."s, "abcd"s, "abcЖ..."s, "abc\\x1B..."s));
}

} // namespace
