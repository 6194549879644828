// Line editing through BSD libedit, loaded by its name ROSTER_LIBEDIT when
// a terminal is there. libedit draws its prompt itself, so it is handed
// only the prompt's own line. With EL_SIGNAL it puts the terminal
// back as it was on a signal that ends the program, then lets the signal
// through to the handler that was there (see Stop.h).
#include <dlfcn.h>
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

namespace {

// libedit's calls, looked up once a terminal is there to edit at, so that
// scripts and pipes never load libedit, nor the terminal database it loads.
struct Libedit {
    decltype(&el_init) init;
    decltype(&el_end) end;
    decltype(&el_set) set;
    decltype(&el_get) get;
    decltype(&el_gets) gets;
    decltype(&history_init) historyInit;
    decltype(&history_end) historyEnd;
    decltype(&history) historyCommand;
};

template <typename Call>
bool find(void* library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(dlsym(library, name));
    return call != nullptr;
}

// Nothing where the library cannot be loaded: lines are then not edited.
const Libedit* libedit() {
    static Libedit calls;
    static const bool loaded = [] {
        void* library = dlopen(ROSTER_LIBEDIT, RTLD_NOW | RTLD_LOCAL);
        return library != nullptr && find(library, "el_init", calls.init) &&
               find(library, "el_end", calls.end) && find(library, "el_set", calls.set) &&
               find(library, "el_get", calls.get) && find(library, "el_gets", calls.gets) &&
               find(library, "history_init", calls.historyInit) &&
               find(library, "history_end", calls.historyEnd) &&
               find(library, "history", calls.historyCommand);
    }();
    return loaded ? &calls : nullptr;
}

}  // namespace

struct LineEditor::State {
    explicit State(const Libedit& with) : calls(with) {}

    const Libedit& calls;
    EditLine* editor = nullptr;
    History* history = nullptr;
    HistEvent event;
    std::string prompt;

    ~State() {
        if (editor != nullptr) {
            calls.end(editor);
        }
        if (history != nullptr) {
            calls.historyEnd(history);
        }
    }
};

namespace {

char* promptOf(EditLine* editor) {
    void* prompt = nullptr;
    libedit()->get(editor, EL_CLIENTDATA, &prompt);
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
        *terminal == '\0' || std::strcmp(terminal, "dumb") == 0 || libedit() == nullptr ||
        !readUtf8()) {
        return nullptr;
    }
    const Libedit& calls = *libedit();
    // libedit tells on its error stream of a TERM it does not know, then
    // edits as on a dumb terminal, which edits as well: that is not told.
    FILE* quiet = std::fopen("/dev/null", "w");
    auto state = std::make_unique<State>(calls);
    state->editor = calls.init("roster", stdin, stdout, quiet != nullptr ? quiet : stderr);
    state->history = calls.historyInit();
    if (state->editor != nullptr) {
        calls.set(state->editor, EL_SETFP, 2, stderr);
    }
    if (quiet != nullptr) {
        std::fclose(quiet);
    }
    if (state->editor == nullptr || state->history == nullptr) {
        return nullptr;
    }
    EditLine* editor = state->editor;
    // The lines hold names and sums of money: kept in memory, never saved.
    calls.historyCommand(state->history, &state->event, H_SETSIZE, 500);
    calls.historyCommand(state->history, &state->event, H_SETUNIQUE, 1);
    calls.set(editor, EL_EDITOR, "emacs");
    calls.set(editor, EL_SIGNAL, 1);
    calls.set(editor, EL_HIST, calls.historyCommand, state->history);
    calls.set(editor, EL_CLIENTDATA, &state->prompt);
    calls.set(editor, EL_PROMPT, promptOf);
    // Ctrl-U removes what stands before the cursor, as Ctrl-K what follows.
    calls.set(editor, EL_BIND, "^U", "vi-kill-line-prev", nullptr);
    // Terminals send Home, End and Delete in several forms; libedit knows
    // only those of the terminal that TERM names.
    for (const char* home : {"\033[1~", "\033[7~", "\033[H", "\033OH"}) {
        calls.set(editor, EL_BIND, home, "ed-move-to-beg", nullptr);
    }
    for (const char* end : {"\033[4~", "\033[8~", "\033[F", "\033OF"}) {
        calls.set(editor, EL_BIND, end, "ed-move-to-end", nullptr);
    }
    calls.set(editor, EL_BIND, "\033[3~", "ed-delete-next-char", nullptr);
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
        text = state->calls.gets(state->editor, &count);
    } while (text == nullptr && count < 0 && errno == EINTR);
    if (text == nullptr || count <= 0) {
        return false;
    }
    std::string typed(text, static_cast<std::size_t>(count));
    if (typed.back() != '\n') {
        typed += '\n';
    }
    if (typed.size() > 1) {
        state->calls.historyCommand(state->history, &state->event, H_ENTER,
                                    typed.substr(0, typed.size() - 1).c_str());
    }
    line += typed;
    return true;
}

}  // namespace roster
