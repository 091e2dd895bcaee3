#pragma once
// How the game shows back what came from outside (a file name, an argument, a word of a line of
// input) in a message: valid UTF-8 as it is, but every control character escaped, so that nothing
// shown can steer a terminal or break a message's lines, and every byte that is no UTF-8 escaped,
// so that what is shown is valid text and still tells the bytes apart. Plain C++: the solver's
// command shows its input through it as well as the game.

#include <cstddef>
#include <string>
#include <string_view>

// The bytes as a message shows them: a C0 control character, DEL and each byte that is not part
// of valid UTF-8 as "\xHH", a C1 control character and the characters that turn or break the
// lines of a text (the bidirectional overrides and isolates, the line and paragraph separators)
// as "\uHHHH", and a backslash as "\\", so that an escape can be told from the same letters
// given. With maxBytes, the text is cut at the first character that begins past that many bytes,
// and "..." follows.
std::string Shown(std::string_view bytes, std::size_t maxBytes = 0);
