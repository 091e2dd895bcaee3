#include "files/ShownText.h"

#include <cstdint>

namespace {

// The length of the UTF-8 sequence at `at` and its code point; 0 where the bytes there are no
// valid UTF-8 (a stray continuation byte, a sequence cut short, an overlong form, a surrogate,
// a code point past U+10FFFF).
std::size_t Sequence(std::string_view bytes, std::size_t at, char32_t* code)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the bounds of the second byte
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        *code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        *code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        *code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() - at < length || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        *code = (*code << 6) | (byte(at + i) & 0x3F);
    }
    return length;
}

// Characters beyond ASCII that steer how a text is laid out rather than show anything.
bool IsLayoutControl(char32_t code)
{
    return (code >= 0x80 && code <= 0x9F) || code == 0x061C || code == 0x200E || code == 0x200F
           || (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

void AppendHex(std::string& text, const char* prefix, std::uint32_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    text += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 0xF];
}

} // namespace

std::string Shown(std::string_view bytes, std::size_t maxBytes)
{
    std::string shown;
    for (std::size_t at = 0; at < bytes.size();) {
        if (maxBytes > 0 && at >= maxBytes)
            return shown + "...";
        char32_t code = 0;
        const std::size_t length = Sequence(bytes, at, &code);
        if (length == 0 || code < 0x20 || code == 0x7F)
            AppendHex(shown, "\\x", static_cast<unsigned char>(bytes[at]), 2);
        else if (code == '\\')
            shown += "\\\\";
        else if (IsLayoutControl(code))
            AppendHex(shown, "\\u", code, 4);
        else
            shown += bytes.substr(at, length);
        at += length == 0 ? 1 : length;
    }
    return shown;
}
