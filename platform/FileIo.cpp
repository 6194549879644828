#include "platform/FileIo.h"

#include <cerrno>

#include "platform/System.h"

namespace roster {

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
