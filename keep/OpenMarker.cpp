#include "keep/OpenMarker.h"

#include <ctime>

#include "base/Path.h"
#include "io/FileIo.h"
#include "io/Lock.h"
#include "io/SafeWrite.h"
#include "platform/Stop.h"
#include "platform/System.h"

namespace roster {

namespace {

// A local time as a lock file gives it, and the same minute in the order
// that sorts: "DD.MM.YYYY HH:MM" and "YYYYMMDDHHMM".
constexpr char kLockTime[] = "%d.%m.%Y %H:%M";
constexpr char kSortedTime[] = "%Y%m%d%H%M";

std::string localTime(std::time_t moment, const char* format) {
    char text[32] = "";
    if (const std::tm* local = std::localtime(&moment)) {
        std::strftime(text, sizeof text, format, local);
    }
    return text;
}

// Whether a lock's date, as it stands, names a minute that ended before the
// system last started: no process of that time runs any more.
bool datedBeforeBoot(const std::string& since) {
    const long long started = os().secondsSinceBoot();
    if (started < 0 || since.size() != 16) {
        return false;
    }
    const std::string sorted = since.substr(6, 4) + since.substr(3, 2) + since.substr(0, 2) +
                               since.substr(11, 2) + since.substr(14, 2);
    for (const char c : sorted) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return sorted < localTime(std::time(nullptr) - static_cast<std::time_t>(started), kSortedTime);
}

struct Me {
    const std::string& holder;  // this process, as a save's turn names it
    std::string host;
};

// A lock of this machine from before the system started, a lock of a
// roster session on this machine whose process has ended, or one that
// names this very process, which has only begun: left over.
bool leftOver(std::string_view text, long long /*age*/, const void* context) {
    const std::optional<LockOwner> owner = readLockFile(text);
    const Me& me = *static_cast<const Me*>(context);
    const std::string named = owner ? owner->id + ' ' + owner->host : std::string();
    return owner && (named == me.holder || holderGone(named, me.holder) ||
                     (owner->host == me.host && datedBeforeBoot(owner->since)));
}

bool clearedAway(const std::string& lock, const std::string& holder) {
    const Me me{holder, os().hostName()};
    return clearLeftOver(lock.c_str(), holder, leftOver, &me);
}

}  // namespace

OpenMarker::Found OpenMarker::mark(const std::string& file, const std::string& me) {
    Path name;
    Path lock;
    Found found;
    if (!name.add(file.c_str()).fitsIn() || !lock.beside(name, ".~lock.", "#").fitsIn()) {
        return found;
    }
    lockPath = lock.c_str();
    holder = me;
    text = lockFileText({os().fullName(), os().loginName(), os().hostName(),
                         localTime(std::time(nullptr), kLockTime), programAndProcess()});
    found.other = !text.empty() && make(found.owner);
    wanted = found.other;
    return found;
}

bool OpenMarker::make(std::optional<LockOwner>& other) {
    for (int attempt = 0;; ++attempt) {
        Made made = Made::Failed;
        {
            // A stop meanwhile finds the lock either not made or known as made.
            const StopGuard guard;
            made = createWhole(lockPath.c_str(), text.data(), text.size());
            held = made == Made::Yes;
        }
        if (made != Made::Exists) {
            return false;
        }
        if (attempt > 0 || !clearedAway(lockPath, holder)) {
            char there[kLockSize];
            long long age = 0;
            const long size = readSmallFile(lockPath.c_str(), there, sizeof there, age);
            other = size < 0 ? std::nullopt : readLockFile({there, static_cast<std::size_t>(size)});
            return true;
        }
    }
}

void OpenMarker::takeOver() {
    if (!wanted) {
        return;
    }
    const Kind kind = os().kindOf(lockPath.c_str());
    if (kind == Kind::Other || (kind == Kind::Regular && !clearedAway(lockPath, holder))) {
        return;
    }
    std::optional<LockOwner> other;
    wanted = make(other);
}

void OpenMarker::remove() const {
    if (held) {
        removeIfHolding(lockPath.c_str(), text);
    }
}

}  // namespace roster
