#include "io/Lock.h"

#include <cstring>
#include <string>

#include "io/FileIo.h"
#include "io/SafeWrite.h"
#include "platform/Stop.h"
#include "platform/System.h"

namespace roster {

namespace {

// How long a save waits for a holder that is alive; a request to stop
// ends the program within a second.
constexpr long long kPatienceMilliseconds = 5000;
constexpr long long kBriefMilliseconds = 500;
// A save takes a small fraction of this; a lock as old is left over.
constexpr long long kStaleSeconds = 60;
// The locks that clear a lock away can be left over too; so many are
// cleared, one above the other.
constexpr int kDeepest = 3;

// A save's turn whose holder has ended, or that is older than any save,
// or than the system's start.
bool saveLeftOver(std::string_view text, long long age, const void* me) {
    const long long started = os().secondsSinceBoot();
    return holderGone(text, *static_cast<const std::string_view*>(me)) || age > kStaleSeconds ||
           (started >= 0 && age > started);
}

enum class Take { Taken, Held, Impossible };

Take tryTake(const Path& lock, std::string_view me, int depth);

// Removes the lock `lock` when `leftOver` finds it so, by one process at a
// time: the one that holds the lock on that lock, which judges it again,
// so that none removes a lock another has just made. A lock that cannot be
// read (being made on a file system that makes it empty first, or gone
// meanwhile) is taken for one that is alive.
bool clear(const Path& lock, std::string_view me, LeftOver leftOver, const void* context,
           int depth) {
    const auto judged = [&] {
        char text[kLockSize];
        long long age = 0;
        const long size = readSmallFile(lock.c_str(), text, sizeof text, age);
        return size >= 0 && leftOver({text, static_cast<std::size_t>(size)}, age, context);
    };
    Path above;
    if (depth == kDeepest || !judged() ||
        !above.add(lock.c_str(), lock.size()).add(".break").fitsIn() ||
        tryTake(above, me, depth + 1) != Take::Taken) {
        return false;
    }
    const bool gone = judged();
    if (gone) {
        removeFile(lock.c_str());
    }
    removeIfHolding(above.c_str(), me);
    return gone;
}

// One attempt to take the lock `lock`; a holder that is gone is cleared
// away first.
Take tryTake(const Path& lock, std::string_view me, int depth) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Made made = createWhole(lock.c_str(), me.data(), me.size());
        if (made != Made::Exists) {
            return made == Made::Yes ? Take::Taken : Take::Impossible;
        }
        if (!clear(lock, me, saveLeftOver, &me, depth)) {
            return Take::Held;
        }
    }
    return Take::Held;
}

}  // namespace

SaveTurn::SaveTurn(const char* file, std::string_view me, Wait wait) : holder(me) {
    if (!saveTurnOf(file, lock)) {
        return;
    }
    const long long deadline =
        os().clockMilliseconds() + (wait == Patiently ? kPatienceMilliseconds : kBriefMilliseconds);
    for (;;) {
        const Take take = tryTake(lock, me, 0);
        if (take != Take::Held) {
            current = take == Take::Taken ? Held : Unheld;
            return;
        }
        if (os().clockMilliseconds() >= deadline ||
            (wait == Patiently && StopHandler::requested())) {
            current = Busy;
            return;
        }
        // Waiters that differ in their pauses do not keep meeting.
        os().pauseMilliseconds(static_cast<int>(2 + os().processId() % 7));
    }
}

SaveTurn::~SaveTurn() {
    if (current == Held) {
        removeIfHolding(lock.c_str(), holder);
    }
}

bool saveTurnOf(const char* file, Path& lock) {
    Path target;
    return target.add(file).fitsIn() && os().followLinks(target) &&
           lock.beside(target, ".", ".saving").fitsIn();
}

void clearLeftOvers(const char* lock, std::string_view me, bool itself) {
    for (int depth = kDeepest - 1; depth >= 0; --depth) {
        Path above;
        above.add(lock);
        for (int level = 0; level < depth; ++level) {
            above.add(".break");
        }
        if (above.fitsIn()) {
            if (depth > 0 || itself) {
                clear(above, me, saveLeftOver, &me, depth);
            }
            for (const std::string& left : leftOverTemporaries(above.c_str())) {
                removeFile(left.c_str());
            }
        }
    }
}

bool clearLeftOver(const char* lock, std::string_view me, LeftOver leftOver, const void* context) {
    Path path;
    return path.add(lock).fitsIn() && clear(path, me, leftOver, context, 0);
}

void removeIfHolding(const char* path, std::string_view text) {
    char held[kLockSize];
    long long age = 0;
    const long size = readSmallFile(path, held, sizeof held, age);
    if (size >= 0 && static_cast<std::size_t>(size) == text.size() &&
        std::memcmp(held, text.data(), text.size()) == 0) {
        removeFile(path);
    }
}

}  // namespace roster
