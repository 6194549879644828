// Keeping the roster in a file between runs: what a session says as it
// starts to keep the file and as it saves it. The file itself is kept by
// KeptFile.
#include <ostream>

#include "base/Text.h"
#include "console/Commands.h"

namespace roster {

namespace {

std::string shown(std::string_view text) {
    std::string out;
    appendShown(out, text);
    return out;
}

}  // namespace

bool keepRoster(Session& s, const std::string& path, std::ostream& err) {
    KeptFile& kept = s.kept.emplace(path);
    std::optional<Problem> problem;
    switch (kept.load(s.persons, s.reportPath, problem)) {
        case KeptFile::Start::Loaded:
            s.out << "The file has been successfully loaded." << '\n';
            return true;
        case KeptFile::Start::New:
            s.out << path << " does not exist yet; the roster will be saved to it when you leave."
                  << '\n';
            return true;
        case KeptFile::Start::IsReport:
            err << "roster: cannot keep " << path << ": it is the report file outputdata.txt, "
                << "which leaving writes over" << '\n'
                << "Keep the roster in a file of another name." << '\n';
            break;
        case KeptFile::Start::CannotOpen:
            err << "roster: cannot open " << path << '\n';
            break;
        case KeptFile::Start::Refused:
            err << "roster: cannot keep " << path << ": " << *problem << '\n'
                << refusalAdvice(kept.format()) << '\n';
            break;
    }
    s.kept.reset();
    return false;
}

void markKeptOpen(Session& s) {
    KeptFile& kept = *s.kept;
    const OpenMarker::Found found = kept.markOpen();
    if (found.other) {
        s.out << kept.path() << " is also open ";
        if (const std::optional<LockOwner>& owner = found.owner) {
            s.out << "by " << shown(owner->user.empty() ? owner->login : owner->user) << " since "
                  << shown(owner->since);
        } else {
            s.out << "elsewhere";
        }
        s.out << "; what is saved there will be merged with your changes when you leave." << '\n';
    }
    for (const unsigned long number : kept.recoverCutSaves(s.persons)) {
        s.out << "A save of " << kept.path() << " was cut short; the roster it was saving has "
              << "been kept in " << numberedName(kept.path(), number) << '\n';
    }
}

bool saveKeptRoster(Session& s) {
    KeptFile& kept = *s.kept;
    kept.note(s.persons, s.shown);
    const std::string& path = kept.path();
    if (!kept.hasToSave()) {
        s.out << "The roster is unchanged; " << path << " was left as it is" << '\n';
        return true;
    }
    const KeptFile::Saving saving = kept.save(s.persons);
    switch (saving.where) {
        case KeptFile::Where::File:
            s.out << "The roster has been saved to " << path << '\n';
            break;
        case KeptFile::Where::Merged:
            s.out << path << " was changed by another program; its changes and yours have been "
                  << "merged and saved to " << path << '\n';
            break;
        case KeptFile::Where::Changed:
        case KeptFile::Where::InUse:
            s.out << path
                  << (saving.where == KeptFile::Where::Changed ? " was changed by another program"
                                                               : " is in use by another program")
                  << "; the roster has been saved to " << numberedName(path, saving.number) << '\n';
            break;
        case KeptFile::Where::Failed:
            s.out << "The roster could not be saved to " << path << '\n';
            return false;
    }
    return true;
}

}  // namespace roster
