#include "platform/FileIo.h"

#include <cerrno>
#include <climits>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace roster {

namespace {

#ifdef _WIN32

long readOnce(int file, char* data, std::size_t size) {
    return _read(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

long writeOnce(int file, const char* data, std::size_t size) {
    return _write(file, data, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

#else

long readOnce(int file, char* data, std::size_t size) {
    return static_cast<long>(read(file, data, size));
}

long writeOnce(int file, const char* data, std::size_t size) {
    return static_cast<long>(write(file, data, size));
}

#endif

}  // namespace

long readSome(int file, char* data, std::size_t size) {
    for (;;) {
        const long got = readOnce(file, data, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool writeAll(int file, const char* data, std::size_t size) {
    while (size > 0) {
        const long written = writeOnce(file, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace roster
