#include "console/Commands.h"

namespace roster {

bool saveOnLeaving(Session& s) {
    const bool report = saveReport(s);
    return (!s.kept || saveKeptRoster(s)) && report;
}

// The program ends only once the report and the roster are safe; otherwise
// the menu comes back and the roster is still there to save again.
void exitProgram(Session& s) {
    s.finished = saveOnLeaving(s);
}

}  // namespace roster
