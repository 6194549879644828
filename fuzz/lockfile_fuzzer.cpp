// Any bytes as a lock file, read as a session reads another holder's: it
// must read without fault. Then the bytes as the five fields of an owner,
// split at NUL bytes: written and read back, it is the same owner, but for
// a full name cut short to fit the lock's size.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/Check.h"
#include "io/LockText.h"

namespace {

// The same owner, but for a full name that was cut short to fit a lock.
bool sameOwner(const std::optional<roster::LockOwner>& read, const roster::LockOwner& owner) {
    return read && owner.user.compare(0, read->user.size(), read->user) == 0 &&
           read->login == owner.login && read->host == owner.host && read->since == owner.since &&
           read->id == owner.id;
}

// What a lock says of `owner`, read back: nothing when it does not fit.
std::optional<roster::LockOwner> writtenAndRead(const roster::LockOwner& owner) {
    const std::string text = roster::lockFileText(owner);
    fuzz::require(text.size() <= roster::kLockSize, "a lock is written within its size");
    return text.empty() ? std::optional<roster::LockOwner>(owner) : roster::readLockFile(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const std::optional<roster::LockOwner> owner = roster::readLockFile(bytes)) {
        fuzz::require(sameOwner(writtenAndRead(*owner), *owner),
                      "a lock read is written so that it reads back the same");
    }

    std::string fields[5];
    std::size_t field = 0;
    for (const char c : bytes) {
        if (c == '\0' && field < 4) {
            ++field;
        } else {
            fields[field] += c;
        }
    }
    const roster::LockOwner owner{fields[0], fields[1], fields[2], fields[3], fields[4]};
    fuzz::require(sameOwner(writtenAndRead(owner), owner),
                  "an owner written and read back is the same owner");
    return 0;
}
