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

long readSmallFile(const char* path, char* data, std::size_t capacity, long long& age) {
    const int file = openSmallFile(path, capacity, age);
    if (file < 0) {
        return -1;
    }
    long size = 0;
    long got = 0;
    while (static_cast<std::size_t>(size) < capacity &&
           (got = readSome(file, data + size, capacity - static_cast<std::size_t>(size))) > 0) {
        size += got;
    }
    closeFile(file);
    return got < 0 ? -1 : size;
}

}  // namespace roster
