#include "keep/KeptFile.h"

#include <algorithm>
#include <istream>
#include <sstream>
#include <utility>

#include "base/Path.h"
#include "formats/Merge.h"
#include "io/FileIo.h"
#include "io/Lock.h"
#include "io/SafeWrite.h"
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

// Every field of every person, the reals bit for bit.
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

// The session's roster merged with the one the file holds now.
struct Merged {
    std::vector<Person> persons;
    FileLayout layout;  // the file's as it is now
    std::string bytes;
    Fingerprint file;  // what the file held when it was merged with
};

// Merges `ours`, made from `last` in `layout`, with what was saved to the
// file `path` meanwhile, when the file still reads strictly.
std::optional<Merged> merge(const std::string& path, const FileLayout& layout,
                            const std::string& last, const std::vector<Person>& ours) {
    Merged merged;
    std::vector<Person> theirs;
    std::optional<Problem> problem;
    merged.layout.format = layout.format;
    if (!readKept(path, merged.layout, theirs, merged.file, problem) || problem) {
        return std::nullopt;
    }
    // What was saved last reads back to the very persons it was made of.
    std::vector<Person> base;
    std::istringstream saved(last);
    FileLayout lastLayout = layout;
    if (readPersons(saved, lastLayout, base)) {
        return std::nullopt;
    }
    // A file emptied meanwhile was more likely cut short than cleared on
    // purpose: its persons are not taken for removed.
    if (theirs.empty() && !base.empty()) {
        return std::nullopt;
    }
    std::optional<std::vector<Person>> persons = mergeRosters(base, ours, theirs);
    if (!persons) {
        return std::nullopt;
    }
    merged.persons = std::move(*persons);
    merged.bytes = personsBytes(merged.layout, merged.persons);
    return merged;
}

}  // namespace

KeptFile::KeptFile(std::string path) : name(std::move(path)) {
    layout.format = formatOf(name);
}

KeptFile::Start KeptFile::load(std::vector<Person>& persons, const std::string& report,
                               std::optional<Problem>& problem) {
    if (os().sameFile(name.c_str(), report.c_str())) {
        return Start::IsReport;
    }
    Start start = Start::Loaded;
    if (os().kindOf(name.c_str()) == Kind::Missing) {
        Path file;
        const std::size_t folder = file.add(name.c_str()).folderLength();
        if (name.empty() || !os().isFolder(folder == 0 ? "." : name.substr(0, folder).c_str())) {
            return Start::CannotOpen;
        }
        start = Start::New;
    } else if (!readKept(name, layout, persons, disk, problem)) {
        return Start::CannotOpen;
    } else if (problem) {
        return Start::Refused;
    }
    onDisk = start == Start::Loaded;
    last = std::make_shared<const std::string>(personsBytes(layout, persons));
    noted = last;
    notedPersons = rosterPrint(persons);
    holder = thisProcess();
    return start;
}

std::vector<unsigned long> KeptFile::recoverCutSaves(const std::vector<Person>& loaded) {
    std::vector<unsigned long> kept;
    Path target;
    if (!target.add(name.c_str()).fitsIn() || !os().followLinks(target)) {
        return kept;
    }
    // A save writes beside the file that its links lead to, and a roster
    // that goes beside the file is made beside the file as named.
    std::vector<std::string> copies = leftOverTemporaries(target.c_str());
    if (name != target.c_str()) {
        for (std::string& copy : leftOverTemporaries(name.c_str())) {
            copies.push_back(std::move(copy));
        }
    }
    for (const std::string& copy : copies) {
        FileLayout copyLayout;
        copyLayout.format = layout.format;
        std::vector<Person> persons;
        Fingerprint print;
        std::optional<Problem> problem;
        const bool whole =
            readKept(copy, copyLayout, persons, print, problem) && !problem && print.size > 0;
        const bool same =
            std::equal(persons.begin(), persons.end(), loaded.begin(), loaded.end(), samePerson);
        if (!whole || same) {
            removeFile(copy.c_str());
        } else if (const unsigned long number =
                       moveToNumbered(copy.c_str(), name.c_str(), numberAt(name))) {
            kept.push_back(number);
        }  // else it stays for a later session, which may find room for it
    }
    Path turn;
    if (saveTurnOf(name.c_str(), turn)) {
        clearLeftOvers(turn.c_str(), holder, true);
    }
    if (!marker.path().empty()) {
        clearLeftOvers(marker.path().c_str(), holder, false);
    }
    return kept;
}

void KeptFile::note(const std::vector<Person>& persons, MarkedOutput* shown) {
    const Fingerprint print = rosterPrint(persons);
    std::shared_ptr<const std::string> bytes = noted;
    if (!(print == notedPersons)) {
        std::string text = personsBytes(layout, persons);
        bytes = text == *last ? last : std::make_shared<const std::string>(std::move(text));
    }
    // What was noted before goes once the guard has ended.
    const StopGuard guard;
    noted.swap(bytes);
    notedPersons = print;
    if (shown != nullptr) {
        shown->mark();
    }
}

bool KeptFile::hasToSave() const {
    // A file that did not exist was promised at the start: it is made even
    // for a roster that is still empty, unless someone made it meanwhile.
    return *noted != *last || (!onDisk && os().kindOf(name.c_str()) == Kind::Missing);
}

KeptFile::Saving KeptFile::save(std::vector<Person>& persons) {
    // A stop meanwhile saves nothing twice: it waits, then finds the roster
    // saved.
    const StopGuard guard;
    const SaveTurn turn(name.c_str(), holder, SaveTurn::Patiently);
    Saving saving;
    std::optional<Merged> merged;
    if (turn.state() == SaveTurn::Busy) {
        saving = beside(Where::InUse);
    } else if (!changedOnDisk()) {
        saving = replaceWith(*noted, Where::File);
    } else if ((merged = merge(name, layout, *last, persons)) &&
               compareFile(name.c_str(), merged->file) == FileContent::Same) {
        // Another program may save the file while the merge is made, but
        // not unnoticed.
        saving = replaceWith(merged->bytes, Where::Merged);
    } else {
        saving = beside(Where::Changed);
    }
    if (saving.where == Where::Merged) {
        persons = std::move(merged->persons);
        layout = std::move(merged->layout);
        noted = std::make_shared<const std::string>(std::move(merged->bytes));
        notedPersons = rosterPrint(persons);
    }
    if (saving.where != Where::Failed) {
        last = noted;
    }
    if (saving.where == Where::File || saving.where == Where::Merged) {
        onDisk = true;
        disk = fingerprintOf(*noted);
    }
    return saving;
}

void KeptFile::onStop(bool save) {
    if (save && *noted != *last) {
        saveOnStop();
    }
    marker.remove();
}

// A file changed meanwhile is not merged here, where nothing may allocate:
// the roster goes beside it.
KeptFile::Saving KeptFile::saveOnStop() const {
    const SaveTurn turn(name.c_str(), holder, SaveTurn::Briefly);
    if (turn.state() == SaveTurn::Busy) {
        return beside(Where::InUse);
    }
    return changedOnDisk() ? beside(Where::Changed) : replaceWith(*noted, Where::File);
}

KeptFile::Saving KeptFile::replaceWith(const std::string& bytes, Where done) const {
    switch (replaceFile(name.c_str(), Bytes(bytes.data(), bytes.size()))) {
        case Saved::Yes:
            return {done};
        case Saved::InUse:
            return beside(Where::InUse);
        default:
            return {Where::Failed};
    }
}

KeptFile::Saving KeptFile::beside(Where why) const {
    const unsigned long number =
        writeNumberedFile(name.c_str(), numberAt(name), noted->data(), noted->size());
    return {number == 0 ? Where::Failed : why, number};
}

bool KeptFile::changedOnDisk() const {
    const FileContent now = compareFile(name.c_str(), disk);
    return onDisk ? now == FileContent::Different : now != FileContent::Missing;
}

}  // namespace roster
