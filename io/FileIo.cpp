#include "io/FileIo.h"

#include <cerrno>

#include "platform/System.h"

namespace roster {

namespace {

// How long a file held open by another program is waited for.
constexpr int kHeldAttempts = 20;
constexpr int kHeldPauseMilliseconds = 50;

}  // namespace

Moved renameFile(const char* from, const char* to) {
    for (int attempt = 0;; ++attempt) {
        const Done done = os().rename(from, to);
        if (done != Done::Held) {
            return done == Done::Yes ? Moved::Yes : Moved::Failed;
        }
        if (attempt == kHeldAttempts) {
            return Moved::InUse;
        }
        os().pauseMilliseconds(kHeldPauseMilliseconds);
    }
}

void removeFile(const char* path) {
    for (int attempt = 0; os().remove(path) == Done::Held && attempt < kHeldAttempts; ++attempt) {
        os().pauseMilliseconds(kHeldPauseMilliseconds);
    }
}

long readSome(int file, char* data, std::size_t size) {
    for (;;) {
        const long got = os().readOnce(file, data, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool writeAll(int file, const char* data, std::size_t size) {
    while (size > 0) {
        const long written = os().writeOnce(file, data, size);
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

void writeAvailable(int file, const char* data, std::size_t size) {
    long written = 0;
    while (size > 0 && (written = os().writeWithoutWaiting(file, data, size)) > 0) {
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

long readSmallFile(const char* path, char* data, std::size_t capacity, long long& age) {
    const int file = os().openSmallFile(path, capacity, age);
    if (file < 0) {
        return -1;
    }
    long size = 0;
    long got = 0;
    while (static_cast<std::size_t>(size) < capacity &&
           (got = readSome(file, data + size, capacity - static_cast<std::size_t>(size))) > 0) {
        size += got;
    }
    os().closeFile(file);
    return got < 0 ? -1 : size;
}

FileReader::FileReader(const char* path, Fingerprint* to)
    : file(os().openRegularFile(path)), print(to) {}

FileReader::~FileReader() {
    if (file >= 0) {
        os().closeFile(file);
    }
}

// At the end the bytes read last stay, for a seek back.
FileReader::int_type FileReader::underflow() {
    const long got = file < 0 ? -1 : readSome(file, buffer, sizeof buffer);
    if (got <= 0) {
        return traits_type::eof();
    }
    consumed += static_cast<std::size_t>(egptr() - eback());
    if (print != nullptr) {
        print->add(buffer, static_cast<std::size_t>(got));
    }
    setg(buffer, buffer, buffer + got);
    return traits_type::to_int_type(*gptr());
}

FileReader::pos_type FileReader::seekpos(pos_type position, std::ios_base::openmode) {
    const off_type offset = position - pos_type(static_cast<off_type>(consumed));
    if (offset < 0 || offset > egptr() - eback()) {
        return pos_type(off_type(-1));
    }
    setg(eback(), eback() + offset, egptr());
    return position;
}

}  // namespace roster
