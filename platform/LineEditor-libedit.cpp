// Line editing through BSD libedit. libedit draws its prompt itself, so it
// is handed only the prompt's own line. With EL_SIGNAL it puts the terminal
// back as it was on a signal that ends the program, then lets the signal
// through to the handler that was there (see Hangup.h).
#include <errno.h>
#include <histedit.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/LineEditor.h"

namespace roster {

struct LineEditor::State {
    EditLine* editor = nullptr;
    History* history = nullptr;
    HistEvent event;
    std::string prompt;

    ~State() {
        if (editor != nullptr) {
            el_end(editor);
        }
        if (history != nullptr) {
            history_end(history);
        }
    }
};

namespace {

char* promptOf(EditLine* editor) {
    void* prompt = nullptr;
    el_get(editor, EL_CLIENTDATA, &prompt);
    return const_cast<char*>(static_cast<std::string*>(prompt)->c_str());
}

bool readsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
}

// libedit steps over a character as the locale's character type says, and
// drops bytes that it cannot read: the user's own, where it reads UTF-8 as
// the rest of the program does, or else one that does.
bool readUtf8() {
    if (std::setlocale(LC_CTYPE, "") != nullptr && readsUtf8()) {
        return true;
    }
    if (std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr && readsUtf8()) {
        return true;
    }
    std::setlocale(LC_CTYPE, "C");
    return false;
}

}  // namespace

std::unique_ptr<LineEditor> LineEditor::forTerminal() {
    const char* terminal = std::getenv("TERM");
    if (isatty(STDIN_FILENO) != 1 || isatty(STDOUT_FILENO) != 1 || terminal == nullptr ||
        *terminal == '\0' || std::strcmp(terminal, "dumb") == 0 || !readUtf8()) {
        return nullptr;
    }
    // libedit tells on its error stream of a TERM it does not know, then
    // edits as on a dumb terminal, which edits as well: that is not told.
    FILE* quiet = std::fopen("/dev/null", "w");
    auto state = std::make_unique<State>();
    state->editor = el_init("roster", stdin, stdout, quiet != nullptr ? quiet : stderr);
    state->history = history_init();
    if (state->editor != nullptr) {
        el_set(state->editor, EL_SETFP, 2, stderr);
    }
    if (quiet != nullptr) {
        std::fclose(quiet);
    }
    if (state->editor == nullptr || state->history == nullptr) {
        return nullptr;
    }
    EditLine* editor = state->editor;
    // The lines hold names and sums of money: kept in memory, never saved.
    history(state->history, &state->event, H_SETSIZE, 500);
    history(state->history, &state->event, H_SETUNIQUE, 1);
    el_set(editor, EL_EDITOR, "emacs");
    el_set(editor, EL_SIGNAL, 1);
    el_set(editor, EL_HIST, history, state->history);
    el_set(editor, EL_CLIENTDATA, &state->prompt);
    el_set(editor, EL_PROMPT, promptOf);
    // Ctrl-U removes what stands before the cursor, as Ctrl-K what follows.
    el_set(editor, EL_BIND, "^U", "vi-kill-line-prev", nullptr);
    // Terminals send Home, End and Delete in several forms; libedit knows
    // only those of the terminal that TERM names.
    for (const char* home : {"\033[1~", "\033[7~", "\033[H", "\033OH"}) {
        el_set(editor, EL_BIND, home, "ed-move-to-beg", nullptr);
    }
    for (const char* end : {"\033[4~", "\033[8~", "\033[F", "\033OF"}) {
        el_set(editor, EL_BIND, end, "ed-move-to-end", nullptr);
    }
    el_set(editor, EL_BIND, "\033[3~", "ed-delete-next-char", nullptr);
    return std::unique_ptr<LineEditor>(new LineEditor(std::move(state)));
}

LineEditor::LineEditor(std::unique_ptr<State> with) : state(std::move(with)) {}

LineEditor::~LineEditor() = default;

bool LineEditor::readLine(const std::string& prompt, std::string& line) {
    state->prompt = prompt;
    int count = 0;
    const char* text = nullptr;
    // A signal that does not end the program (a resized window) may cut a
    // read short.
    do {
        text = el_gets(state->editor, &count);
    } while (text == nullptr && count < 0 && errno == EINTR);
    if (text == nullptr || count <= 0) {
        return false;
    }
    std::string typed(text, static_cast<std::size_t>(count));
    if (typed.back() != '\n') {
        typed += '\n';
    }
    if (typed.size() > 1) {
        history(state->history, &state->event, H_ENTER, typed.substr(0, typed.size() - 1).c_str());
    }
    line += typed;
    return true;
}

}  // namespace roster
