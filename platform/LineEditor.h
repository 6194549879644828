// Editing the line being typed at a terminal: the arrow keys, Home and End,
// Backspace and Delete, Ctrl-A, Ctrl-E, Ctrl-U, Ctrl-K and Ctrl-W, and Up
// and Down for the lines typed earlier in this session, which are kept in
// memory only. On POSIX systems BSD libedit does the editing
// (LineEditor-libedit.cpp). A Windows console edits lines itself, and a
// build without libedit has no editor (LineEditor-none.cpp).
#pragma once

#include <memory>
#include <string>

namespace roster {

class LineEditor {
  public:
    // An editor for standard input and output, when both are terminals,
    // TERM names a terminal that is not `dumb`, and characters can be read
    // as UTF-8; nothing otherwise. Sets the locale's character type (and
    // nothing else of it) to one that reads UTF-8.
    static std::unique_ptr<LineEditor> forTerminal();
    ~LineEditor();
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    // Shows `prompt`, which holds no line break, lets the user type and edit
    // a line, and appends it with its line end to `line`. False at the end
    // of input: Ctrl-D on an empty line, or a terminal that has gone.
    bool readLine(const std::string& prompt, std::string& line);

  private:
    struct State;
    explicit LineEditor(std::unique_ptr<State> state);
    std::unique_ptr<State> state;
};

}  // namespace roster
