// A kept file that others may have open too: a lock file beside it, in the
// form LibreOffice writes and reads, says who has it open, and a session
// says who else had it open when it began.
#include <ctime>
#include <optional>
#include <ostream>
#include <string>

#include "console/Commands.h"
#include "formats/LockFile.h"
#include "person/Text.h"
#include "platform/FileIo.h"
#include "platform/Hangup.h"
#include "platform/Lock.h"
#include "platform/SafeWrite.h"
#include "platform/System.h"

namespace roster {

namespace {

// A lock file is a line; a longer file is no lock.
constexpr std::size_t kLockFileSize = 4096;

// The local time now, as a lock file gives it.
std::string localTime() {
    const std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* local = std::localtime(&now)) {
        std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", local);
    }
    return text;
}

// A lock of a roster session on this machine whose process has ended, or
// one that names this very process, which has only begun: left over.
// `holder` names this process as a lock does.
bool leftOver(const LockOwner& owner, const std::string& holder) {
    const std::string named = owner.id + ' ' + owner.host;
    return named == holder || holderGone(named, holder);
}

std::string shown(std::string_view text) {
    std::string out;
    appendShown(out, text);
    return out;
}

}  // namespace

void markOpen(Session& s) {
    KeptFile& kept = *s.kept;
    Path file;
    Path lock;
    if (!file.add(kept.path.c_str()).fitsIn() || !lock.beside(file, ".~lock.", "#").fitsIn()) {
        return;
    }
    const LockOwner me{fullName(), loginName(), hostName(), localTime(), programAndProcess()};
    kept.lockPath = lock.c_str();
    kept.lockText = lockFileText(me);
    // A hang-up meanwhile finds the lock either not made or known as made.
    const HangupGuard guard;
    for (int attempt = 0;; ++attempt) {
        const Made made =
            createWhole(kept.lockPath.c_str(), kept.lockText.data(), kept.lockText.size());
        kept.lockHeld = made == Made::Yes;
        // A folder where no lock can be made costs nothing.
        if (made != Made::Exists) {
            return;
        }
        char text[kLockFileSize];
        long long age = 0;
        const long size = readSmallFile(kept.lockPath.c_str(), text, sizeof text, age);
        const std::string_view held(text, size < 0 ? 0 : static_cast<std::size_t>(size));
        const std::optional<LockOwner> owner = size < 0 ? std::nullopt : readLockFile(held);
        if (owner && attempt == 0 && leftOver(*owner, kept.holder)) {
            removeIfHolding(kept.lockPath.c_str(), held);
            continue;
        }
        s.out << kept.path << " is also open ";
        if (owner) {
            s.out << "by " << shown(owner->user.empty() ? owner->login : owner->user) << " since "
                  << shown(owner->since);
        } else {
            s.out << "elsewhere";
        }
        s.out << "; what is saved there will be merged with your changes when you leave." << '\n';
        return;
    }
}

void unmarkOpen(const KeptFile& kept) {
    if (kept.lockHeld) {
        removeIfHolding(kept.lockPath.c_str(), kept.lockText);
    }
}

}  // namespace roster
