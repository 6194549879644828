// A kept file that others may have open too: a lock file beside it, in the
// form LibreOffice writes and reads, says who has it open, and a session
// says who else had it open when it began.
#include <algorithm>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>

#include "base/Text.h"
#include "base/Unicode.h"
#include "console/Commands.h"
#include "formats/LockFile.h"
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
    const std::string& holder;  // this process, as a save's lock names it
    std::string host;
};

// A lock of this machine from before the system started, a lock of a
// roster session on this machine whose process has ended, or one that
// names this very process, which has only begun: left over.
bool leftOver(const LockOwner& owner, const Me& me) {
    const std::string named = owner.id + ' ' + owner.host;
    return named == me.holder || holderGone(named, me.holder) ||
           (owner.host == me.host && datedBeforeBoot(owner.since));
}

bool lockLeftOver(std::string_view text, long long /*age*/, const void* me) {
    const std::optional<LockOwner> owner = readLockFile(text);
    return owner && leftOver(*owner, *static_cast<const Me*>(me));
}

std::string shown(std::string_view text) {
    std::string out;
    appendShown(out, text);
    return out;
}

// The owner's lock text, within kLockSize bytes: a full name too long for
// it is cut at a character. Empty when even that does not fit.
std::string lockText(LockOwner owner) {
    std::string text = lockFileText(owner);
    while (text.size() > kLockSize && !owner.user.empty()) {
        owner.user.resize(owner.user.size() - std::min(owner.user.size(), text.size() - kLockSize));
        owner.user.resize(owner.user.size() - cutCharacter(owner.user));
        text = lockFileText(owner);
    }
    return text.size() > kLockSize ? std::string() : text;
}

// Makes the lock file, unless another holder's is there; whether that was
// so. One left over is cleared away first.
bool makeLock(KeptFile& kept, std::optional<LockOwner>& other) {
    const Me me{kept.holder, os().hostName()};
    for (int attempt = 0;; ++attempt) {
        Made made = Made::Failed;
        {
            // A hang-up meanwhile finds the lock either not made or known as made.
            const StopGuard guard;
            made = createWhole(kept.lockPath.c_str(), kept.lockText.data(), kept.lockText.size());
            kept.lockHeld = made == Made::Yes;
        }
        // A folder where no lock can be made costs nothing.
        if (made != Made::Exists) {
            return false;
        }
        if (attempt > 0 || !clearLeftOver(kept.lockPath.c_str(), kept.holder, lockLeftOver, &me)) {
            char text[kLockSize];
            long long age = 0;
            const long size = readSmallFile(kept.lockPath.c_str(), text, sizeof text, age);
            other = size < 0 ? std::nullopt : readLockFile({text, static_cast<std::size_t>(size)});
            return true;
        }
    }
}

}  // namespace

void markOpen(Session& s) {
    KeptFile& kept = *s.kept;
    Path file;
    Path lock;
    if (!file.add(kept.path.c_str()).fitsIn() || !lock.beside(file, ".~lock.", "#").fitsIn()) {
        return;
    }
    kept.lockPath = lock.c_str();
    kept.lockText = lockText({os().fullName(), os().loginName(), os().hostName(),
                              localTime(std::time(nullptr), kLockTime), programAndProcess()});
    std::optional<LockOwner> owner;
    if (kept.lockText.empty() || !makeLock(kept, owner)) {
        return;
    }
    kept.lockWanted = true;
    s.out << kept.path << " is also open ";
    if (owner) {
        s.out << "by " << shown(owner->user.empty() ? owner->login : owner->user) << " since "
              << shown(owner->since);
    } else {
        s.out << "elsewhere";
    }
    s.out << "; what is saved there will be merged with your changes when you leave." << '\n';
}

void takeOverLock(KeptFile& kept) {
    if (!kept.lockWanted) {
        return;
    }
    const Kind kind = os().kindOf(kept.lockPath.c_str());
    const Me me{kept.holder, os().hostName()};
    if (kind == Kind::Other ||
        (kind == Kind::Regular &&
         !clearLeftOver(kept.lockPath.c_str(), kept.holder, lockLeftOver, &me))) {
        return;
    }
    std::optional<LockOwner> owner;
    kept.lockWanted = makeLock(kept, owner);
}

void unmarkOpen(const KeptFile& kept) {
    if (kept.lockHeld) {
        removeIfHolding(kept.lockPath.c_str(), kept.lockText);
    }
}

}  // namespace roster
