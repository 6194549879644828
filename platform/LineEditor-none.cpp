// No line editor: on Windows the console edits lines itself, and a build
// without libedit reads lines as the terminal hands them over.
#include "platform/LineEditor.h"

namespace roster {

struct LineEditor::State {};

std::unique_ptr<LineEditor> LineEditor::forTerminal() {
    return nullptr;
}

LineEditor::LineEditor(std::unique_ptr<State> with) : state(std::move(with)) {}

LineEditor::~LineEditor() = default;

bool LineEditor::readLine(const std::string& /*prompt*/, std::string& /*line*/) {
    return false;
}

}  // namespace roster
