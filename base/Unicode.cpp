#include "base/Unicode.h"

namespace roster {

namespace {

constexpr char16_t kCtrlZ = 0x1A;

bool isHigh(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLow(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Any value up to U+10FFFF, a surrogate too, in UTF-8's form.
void appendUtf8(std::string& out, char32_t c) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x80) {
        out += byte(c);
    } else if (c < 0x800) {
        out += {byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        out += {byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    } else {
        out += {byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)),
                byte(0x80 | (c & 0x3F))};
    }
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

char32_t joined(char16_t high, char16_t low) {
    return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (low - 0xDC00);
}

}  // namespace

std::size_t decodeCharacter(std::string_view text, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // the bounds of the second byte
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(i) & 0x3F);
    }
    return length;
}

std::size_t cutCharacter(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 1;
            return byte <= 0xF4 && length > back ? back : 0;
        }
    }
    return 0;
}

void appendEscaped(std::string& out, unsigned char byte) {
    const char digits[] = "0123456789ABCDEF";
    out += {'\\', 'x', digits[byte >> 4], digits[byte & 0xF]};
}

bool utf16FromUtf8(std::string_view text, std::u16string& wide) {
    wide.clear();
    while (!text.empty()) {
        char32_t c = 0;
        const std::size_t length = decodeCharacter(text, c);
        if (length == 0 || c == 0) {
            return false;
        }
        appendUtf16(wide, c);
        text.remove_prefix(length);
    }
    return true;
}

std::string utf8FromUtf16(std::u16string_view wide) {
    std::string text;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const bool pair = isHigh(wide[i]) && i + 1 < wide.size() && isLow(wide[i + 1]);
        appendUtf8(text, pair ? joined(wide[i], wide[i + 1]) : wide[i]);
        i += pair ? 1 : 0;
    }
    return text;
}

std::u16string consoleText(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    while (!text.empty()) {
        char32_t c = 0;
        std::size_t length = decodeCharacter(text, c);
        if (length == 0) {
            std::string escaped;
            appendEscaped(escaped, static_cast<unsigned char>(text[0]));
            wide.append(escaped.begin(), escaped.end());
            length = 1;
        } else if (c == '\n') {
            wide += u"\r\n";
        } else {
            appendUtf16(wide, c);
        }
        text.remove_prefix(length);
    }
    return wide;
}

bool ConsoleLines::take(std::u16string_view piece, std::string& out) {
    for (const char16_t unit : piece) {
        if (ended) {
            break;
        }
        if (carriageReturn) {
            carriageReturn = false;
            lineStart = unit == '\n';
            out += unit == '\n' ? '\n' : '\r';
            if (unit == '\n') {
                continue;
            }
        }
        if (high != 0) {
            const bool pair = isLow(unit);
            appendUtf8(out, pair ? joined(high, unit) : high);
            high = 0;
            lineStart = false;
            if (pair) {
                continue;
            }
        }
        if (lineStart && unit == kCtrlZ) {
            ended = true;
        } else if (unit == '\r') {
            carriageReturn = true;
        } else if (isHigh(unit)) {
            high = unit;
        } else {
            appendUtf8(out, unit);
            lineStart = unit == '\n';
        }
    }
    return !ended;
}

}  // namespace roster
