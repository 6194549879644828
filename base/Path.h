// A path built in place, without allocating, so that a signal handler can
// build one too. Paths longer than kMaxPath bytes cannot be built.
#pragma once

#include <cstddef>
#include <cstring>

namespace roster {

constexpr std::size_t kMaxPath = 4096;

inline bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// Once a path has outgrown its buffer it no longer fits and stays so, so
// that a chain of additions needs one check at its end.
class Path {
  public:
    Path() { text[0] = '\0'; }
    Path& add(const char* part, std::size_t size) {
        fits = fits && length + size < sizeof text;
        if (fits) {
            std::memcpy(text + length, part, size);
            length += size;
            text[length] = '\0';
        }
        return *this;
    }
    Path& add(const char* part) { return add(part, std::strlen(part)); }
    Path& add(unsigned long number) {
        char digits[24];
        std::size_t count = 0;
        do {
            digits[sizeof digits - ++count] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        return add(digits + sizeof digits - count, count);
    }
    void cut(std::size_t size) {
        length = size;
        text[length] = '\0';
    }
    // The length of the folder part with its final separator; 0 for none.
    std::size_t folderLength() const {
        std::size_t end = length;
        while (end > 0 && !isSeparator(text[end - 1])) {
            --end;
        }
        return end;
    }
    // A name in the folder of `file`, made of its own name between `before`
    // and `after`.
    Path& beside(const Path& file, const char* before, const char* after) {
        const std::size_t folder = file.folderLength();
        cut(0);
        return add(file.text, folder).add(before).add(file.text + folder).add(after);
    }
    const char* c_str() const { return text; }
    std::size_t size() const { return length; }
    bool fitsIn() const { return fits; }

  private:
    char text[kMaxPath];
    std::size_t length = 0;
    bool fits = true;
};

}  // namespace roster
