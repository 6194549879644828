// A roster kept in a file between runs, a roster file or a CSV file: loaded
// at the start and saved on leaving, one save of the file at a time, merged
// with what another program saved to it meanwhile and never saved over
// that, saved too when the program is told to stop, and never lost to a
// save that was cut short.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Fingerprint.h"
#include "formats/Formats.h"
#include "keep/OpenMarker.h"
#include "person/Person.h"
#include "platform/Stop.h"

namespace roster {

class KeptFile final : public StopWork {
  public:
    // How keeping the file began.
    enum class Start {
        Loaded,      // the file was read into the roster
        New,         // it does not exist yet, its folder does: it is made on leaving
        CannotOpen,  // it is no file that can be read, or its folder is missing
        Refused,     // it holds what saving it again would lose (see load's problem)
        IsReport,    // it is the report file, which leaving writes over
    };

    // Where a save put the roster.
    enum class Where {
        File,     // into the file
        Merged,   // into the file, merged with what another program saved there
        Changed,  // beside it (`number`): another program changed it so that no merge is safe
        InUse,    // beside it (`number`): another program holds it, or its turn to save
        Failed,   // nowhere
    };
    struct Saving {
        Where where = Where::Failed;
        unsigned long number = 0;  // of the file beside it
    };

    // The file `path`, as the user named it; nothing is read yet.
    explicit KeptFile(std::string path);

    const std::string& path() const { return name; }
    FileFormat format() const { return layout.format; }

    // Reads the file strictly into `persons`, or starts empty where it does
    // not exist yet; `report` (the report file) is never kept. On Refused,
    // `problem` names the first problem and `persons` is left empty.
    Start load(std::vector<Person>& persons, const std::string& report,
               std::optional<Problem>& problem);

    // Marks the file open in this session (see OpenMarker).
    OpenMarker::Found markOpen() { return marker.mark(name, holder); }
    // Takes the open marker over once another holder's has gone; called
    // before each command.
    void takeOverMarker() { marker.takeOver(); }

    // Looks for what sessions of this machine that were killed while they
    // saved the file left beside it, and keeps each copy of another roster
    // than `loaded` (the roster as loaded) that reads whole as the next
    // numbered file: their numbers (one that cannot be kept now stays where
    // it is). Any other copy is removed, together with what those sessions
    // made to lock the file.
    std::vector<unsigned long> recoverCutSaves(const std::vector<Person>& loaded);

    // Notes the roster as the latest command left it, ready to be saved,
    // and marks what the program has said so far in `shown` as fit to be
    // shown with it.
    void note(const std::vector<Person>& persons, MarkedOutput* shown);
    // Whether leaving saves: the noted roster differs from the one loaded or
    // saved last, or the file was promised at the start and is still missing.
    bool hasToSave() const;
    // Saves the noted roster, one save of the file at a time; where another
    // program saved the file meanwhile, the two are merged, and `persons`
    // becomes the merged roster.
    Saving save(std::vector<Person>& persons);

    // What a request to stop does: saves the noted roster if it changed,
    // silently and unmerged, and lets the open marker go. Allocates nothing,
    // and makes only calls a signal handler may make.
    void onStop(bool save) override;
    // Lets the open marker go, at the end of a session.
    void close() const { marker.remove(); }

  private:
    Saving saveOnStop() const;
    // Makes `bytes` the file, or puts the roster beside it.
    Saving replaceWith(const std::string& bytes, Where done) const;
    // Puts the noted roster into the next numbered file beside the file.
    Saving beside(Where why) const;
    // Whether the file is no longer what this session last read or wrote.
    bool changedOnDisk() const;

    std::string name;   // the file as the user named it
    FileLayout layout;  // its format, and how a CSV file is written
    std::shared_ptr<const std::string>
        last;  // the roster as loaded or saved last: what a merge starts from
    std::shared_ptr<const std::string>
        noted;                 // as the latest command left it; `last` while the same
    Fingerprint notedPersons;  // every field of every person of `noted`
    bool onDisk = false;       // whether the file held `disk` when read or written last
    Fingerprint disk;
    std::string holder;  // this process, as a save's turn names it
    OpenMarker marker;
};

}  // namespace roster
