#include "console/Commands.h"

namespace roster {

// The program ends only once the report is safe; otherwise the menu comes
// back and the roster is still there to save again.
void exitProgram(Session& s) {
    s.finished = saveReport(s);
}

}  // namespace roster
