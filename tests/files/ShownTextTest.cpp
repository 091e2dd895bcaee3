// How a name from outside is shown back in a message.

#include "files/ShownText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(ShownText, ControlCharactersAndBytesThatAreNoUtf8AreEscapedAndValidTextStays)
{
    // The terminal escape of the solver's input, a line break and a tab, DEL.
    EXPECT_EQ(Shown("9223372036854775808\x1b[2J"), "9223372036854775808\\x1B[2J");
    EXPECT_EQ(Shown("a\nb\tc\x7f"s + '\0'), "a\\x0Ab\\x09c\\x7F\\x00");
    // Letters of any script and an emoji pass; a backslash is doubled, so an escape is told apart.
    EXPECT_EQ(Shown("Ёлка ß 漢 🙂 C:\\x41"), "Ёлка ß 漢 🙂 C:\\\\x41");
    // Bytes that are no UTF-8: a stray continuation, a lead without its end, an overlong form, a
    // surrogate, past U+10FFFF, and the bytes no UTF-8 ever holds.
    EXPECT_EQ(Shown("teal\xff\xfe.png"), "teal\\xFF\\xFE.png");
    EXPECT_EQ(Shown("\x80" "a\xd0" "b\xc0\xaf" "c\xed\xa0\x80" "d\xf4\x90\x80\x80"),
              "\\x80a\\xD0b\\xC0\\xAFc\\xED\\xA0\\x80d\\xF4\\x90\\x80\\x80");
    EXPECT_EQ(Shown("\xe2\x82"), "\\xE2\\x82");  // cut short at the end
    // C1 controls (U+009B starts an escape on some terminals) and the characters that turn a line.
    EXPECT_EQ(Shown("\xc2\x9b" "2J \xe2\x80\xae" "gnp.exe \xe2\x80\xa8 \xe2\x81\xa6"), "\\u009B2J \\u202Egnp.exe \\u2028 \\u2066");
    EXPECT_EQ(Shown(""), "");
}

TEST(ShownText, ALongTextIsCutAtACharactersStart)
{
    EXPECT_EQ(Shown("abcdef", 4), "abcd...");
    EXPECT_EQ(Shown("abcd", 4), "abcd");
    EXPECT_EQ(Shown("abcЖd", 4), "abcЖ...");  // the letter that begins within the bound is kept whole
    EXPECT_EQ(Shown("abc\x1b" "def", 4), "abc\\x1B...");
}

} // namespace
