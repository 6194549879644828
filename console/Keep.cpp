// Keeping the roster in a file between runs, a roster file or a CSV file:
// loaded at start and saved on leaving, one save of the file at a time,
// merged with what another program saved to it meanwhile, and never saved
// over that.
#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>

#include "console/Commands.h"
#include "formats/Merge.h"
#include "io/FileIo.h"
#include "io/Lock.h"
#include "io/SafeWrite.h"
#include "platform/Stop.h"
#include "platform/System.h"

namespace roster {

namespace {

// Reads the regular file `path` strictly, in its layout's format, and
// fingerprints its bytes. False when it cannot be opened; `problem` names
// what refuses it, and then no person is read.
bool readKept(const std::string& path, FileLayout& layout, std::vector<Person>& persons,
              Fingerprint& print, std::optional<Problem>& problem) {
    FileReader file(path.c_str(), &print);
    if (!file.isOpen()) {
        return false;
    }
    std::istream in(&file);
    if ((problem = readPersons(in, layout, persons))) {
        persons.clear();
    }
    return true;
}

// Where a save put the roster.
struct Saving {
    enum Where { File, Merged, Changed, InUse, Failed };
    Where where = Failed;
    unsigned long number = 0;  // of the file beside FILE, for Changed and InUse
};

// The session's roster merged with the one FILE holds now.
struct Merging {
    const std::vector<Person>& ours;
    std::vector<Person> persons;
    FileLayout layout;  // FILE's as it is now
    std::string bytes;
    Fingerprint file;  // what FILE held when it was merged with
};

Saving aside(const KeptFile& kept, Saving::Where why) {
    const unsigned long number = writeNumberedFile(kept.path.c_str(), numberAt(kept.path),
                                                   kept.pending->data(), kept.pending->size());
    return {number == 0 ? Saving::Failed : why, number};
}

// Merges the session's changes with those saved to FILE since the session
// read or last saved it, when FILE still reads strictly.
bool mergeWithFile(const KeptFile& kept, Merging& merging) {
    std::vector<Person> theirs;
    std::optional<Problem> problem;
    merging.layout.format = kept.layout.format;
    if (!readKept(kept.path, merging.layout, theirs, merging.file, problem) || problem) {
        return false;
    }
    // What was last saved reads back to the very persons it was made of.
    std::vector<Person> base;
    std::istringstream saved(*kept.saved);
    FileLayout layout = kept.layout;
    if (readPersons(saved, layout, base)) {
        return false;
    }
    // A file emptied meanwhile was more likely cut short than cleared on
    // purpose: its persons are not taken for removed.
    if (theirs.empty() && !base.empty()) {
        return false;
    }
    std::optional<std::vector<Person>> merged = mergeRosters(base, merging.ours, theirs);
    if (!merged) {
        return false;
    }
    merging.persons = std::move(*merged);
    merging.bytes = personsBytes(merging.layout, merging.persons);
    return true;
}

// Saves the roster, one save of FILE at a time. When FILE has changed since
// it was read or saved, the roster is merged with it where `merging` is
// given, and otherwise goes beside it. Without `merging` nothing here
// allocates or makes a call that a signal handler may not make.
Saving saveNow(const KeptFile& kept, Merging* merging) {
    const char* path = kept.path.c_str();
    const SaveLock lock(path, kept.holder,
                        merging == nullptr ? SaveLock::Briefly : SaveLock::Patiently);
    if (lock.state() == SaveLock::Busy) {
        return aside(kept, Saving::InUse);
    }
    const FileContent now = compareFile(path, kept.disk);
    const bool changed = kept.onDisk ? now == FileContent::Different : now != FileContent::Missing;
    // Another program may save FILE while the merge is made, but not
    // unnoticed.
    if (changed && (merging == nullptr || !mergeWithFile(kept, *merging) ||
                    compareFile(path, merging->file) != FileContent::Same)) {
        return aside(kept, Saving::Changed);
    }
    const std::string& bytes = changed ? merging->bytes : *kept.pending;
    switch (replaceFile(path, Bytes(bytes.data(), bytes.size()))) {
        case Saved::Yes:
            return {changed ? Saving::Merged : Saving::File};
        case Saved::InUse:
            return aside(kept, Saving::InUse);
        default:
            return {Saving::Failed};
    }
}

}  // namespace

bool keepRoster(Session& s, const std::string& path, std::ostream& err) {
    if (os().sameFile(path.c_str(), s.reportPath.c_str())) {
        err << "roster: cannot keep " << path << ": it is the report file outputdata.txt, which "
            << "leaving writes over" << '\n'
            << "Keep the roster in a file of another name." << '\n';
        return false;
    }
    KeptFile kept;
    kept.path = path;
    kept.layout.format = formatOf(path);
    if (os().kindOf(path.c_str()) == Kind::Missing) {
        Path file;
        const std::size_t folder = file.add(path.c_str()).folderLength();
        if (path.empty() || !os().isFolder(folder == 0 ? "." : path.substr(0, folder).c_str())) {
            err << "roster: cannot open " << path << '\n';
            return false;
        }
        s.out << path << " does not exist yet; the roster will be saved to it when you leave."
              << '\n';
    } else {
        std::optional<Problem> problem;
        if (!readKept(path, kept.layout, s.persons, kept.disk, problem)) {
            err << "roster: cannot open " << path << '\n';
            return false;
        }
        if (problem) {
            err << "roster: cannot keep " << path << ": " << *problem << '\n'
                << refusalAdvice(kept.layout.format) << '\n';
            return false;
        }
        kept.onDisk = true;
        s.out << "The file has been successfully loaded." << '\n';
    }
    kept.saved = std::make_shared<const std::string>(personsBytes(kept.layout, s.persons));
    kept.pending = kept.saved;
    kept.noted = rosterPrint(s.persons);
    kept.holder = thisProcess();
    s.kept = std::move(kept);
    return true;
}

Fingerprint rosterPrint(const std::vector<Person>& persons) {
    Fingerprint print;
    const auto add = [&print](const auto& value) {
        print.add(reinterpret_cast<const char*>(&value), sizeof value);
    };
    for (const Person& person : persons) {
        for (const std::string* text : {&person.getName(), &person.getMajor()}) {
            add(text->size());
            print.add(text->data(), text->size());
        }
        add(person.getAge());
        add(person.getHeight());
        add(person.getWeight());
        add(person.getGPA());
        add(person.getNetworth());
    }
    return print;
}

void recoverCutSaves(Session& s) {
    KeptFile& kept = *s.kept;
    Path target;
    if (!target.add(kept.path.c_str()).fitsIn() || !os().followLinks(target)) {
        return;
    }
    // A save writes beside the file that its links lead to, and a roster
    // that goes beside FILE is made beside FILE as named.
    std::vector<std::string> copies = leftOverTemporaries(target.c_str());
    if (kept.path != target.c_str()) {
        for (std::string& copy : leftOverTemporaries(kept.path.c_str())) {
            copies.push_back(std::move(copy));
        }
    }
    for (const std::string& copy : copies) {
        FileLayout layout;
        layout.format = kept.layout.format;
        std::vector<Person> persons;
        Fingerprint print;
        std::optional<Problem> problem;
        const bool whole =
            readKept(copy, layout, persons, print, problem) && !problem && print.size > 0;
        const bool same = std::equal(persons.begin(), persons.end(), s.persons.begin(),
                                     s.persons.end(), samePerson);
        const unsigned long number =
            whole && !same ? moveToNumbered(copy.c_str(), kept.path.c_str(), numberAt(kept.path))
                           : 0;
        if (number == 0) {
            removeFile(copy.c_str());
            continue;
        }
        s.out << "A save of " << kept.path << " was cut short; the roster it was saving has been "
              << "kept in " << numberedName(kept.path, number) << '\n';
    }
    Path saveLock;
    if (saveLockOf(kept.path.c_str(), saveLock)) {
        clearLeftOvers(saveLock.c_str(), kept.holder, true);
    }
    if (!kept.lockPath.empty()) {
        clearLeftOvers(kept.lockPath.c_str(), kept.holder, false);
    }
}

void noteRoster(KeptFile& kept, const std::vector<Person>& persons, MarkedOutput* shown) {
    Fingerprint print = rosterPrint(persons);
    std::shared_ptr<const std::string> bytes = kept.pending;
    if (!(print == kept.noted)) {
        std::string text = personsBytes(kept.layout, persons);
        bytes =
            text == *kept.saved ? kept.saved : std::make_shared<const std::string>(std::move(text));
    }
    // What was noted before goes once the guard has ended.
    const StopGuard guard;
    kept.pending.swap(bytes);
    kept.noted = print;
    if (shown != nullptr) {
        shown->mark();
    }
}

void stopKeeping(const KeptFile& kept, bool save) {
    if (save && *kept.pending != *kept.saved) {
        saveNow(kept, nullptr);
    }
    unmarkOpen(kept);
}

bool saveKeptRoster(Session& s) {
    KeptFile& kept = *s.kept;
    noteRoster(kept, s.persons, s.shown);
    const std::string& path = kept.path;
    // A file that did not exist was promised at the start: it is made even
    // for a roster that is still empty, unless someone made it meanwhile.
    const bool promised = !kept.onDisk && os().kindOf(path.c_str()) == Kind::Missing;
    if (*kept.pending == *kept.saved && !promised) {
        s.out << "The roster is unchanged; " << path << " was left as it is" << '\n';
        return true;
    }
    Saving saving;
    {
        // A hang-up meanwhile saves nothing twice: it waits, then finds the
        // roster saved.
        const StopGuard guard;
        Merging merging{s.persons, {}, {}, {}, {}};
        saving = saveNow(kept, &merging);
        if (saving.where == Saving::Merged) {
            s.persons = std::move(merging.persons);
            kept.layout = std::move(merging.layout);
            kept.pending = std::make_shared<const std::string>(std::move(merging.bytes));
            kept.noted = rosterPrint(s.persons);
        }
        if (saving.where != Saving::Failed) {
            kept.saved = kept.pending;
        }
        if (saving.where == Saving::File || saving.where == Saving::Merged) {
            kept.onDisk = true;
            kept.disk = fingerprintOf(*kept.pending);
        }
    }
    switch (saving.where) {
        case Saving::File:
            s.out << "The roster has been saved to " << path << '\n';
            break;
        case Saving::Merged:
            s.out << path << " was changed by another program; its changes and yours have been "
                  << "merged and saved to " << path << '\n';
            break;
        case Saving::Changed:
        case Saving::InUse:
            s.out << path
                  << (saving.where == Saving::Changed ? " was changed by another program"
                                                      : " is in use by another program")
                  << "; the roster has been saved to " << numberedName(path, saving.number) << '\n';
            break;
        case Saving::Failed:
            s.out << "The roster could not be saved to " << path << '\n';
            return false;
    }
    return true;
}

}  // namespace roster
