// What tells whether a file still holds what was read from it or written
// to it, without holding its bytes: their count and a 64-bit FNV-1a hash.
// Made without allocating, so a signal handler can make one too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace roster {

struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t hash = 14695981039346656037ULL;

    void add(const char* data, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ULL;
        }
        size += count;
    }
    bool operator==(const Fingerprint& other) const {
        return size == other.size && hash == other.hash;
    }
};

inline Fingerprint fingerprintOf(const std::string& bytes) {
    Fingerprint print;
    print.add(bytes.data(), bytes.size());
    return print;
}

}  // namespace roster
