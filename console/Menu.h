// Menus are tables: each entry's letter selects it and its text is its menu
// line, so what is shown and what is run cannot drift apart.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

#include "console/Input.h"
#include "console/Session.h"

namespace roster {

// A letter is selected by itself and, for capitals, by its small form too.
inline bool selects(char letter, char choice) {
    if (choice == letter) {
        return true;
    }
    return letter >= 'A' && letter <= 'Z' && choice == letter - 'A' + 'a';
}

// An entry that runs a command on the session.
struct MenuCommand {
    char letter;
    const char* text;
    void (*run)(Session&);
};

// A menu is shown before nearly every answer, so it is built whole and
// written at once.
template <typename Entry, std::size_t N>
void writeMenu(std::ostream& out, const char* title, const Entry (&entries)[N]) {
    std::string text = title;
    text += '\n';
    for (const Entry& entry : entries) {
        text += entry.letter;
        text += " - ";
        text += entry.text;
        text += '\n';
    }
    out << text;
}

template <typename Entry, std::size_t N>
const Entry* findEntry(const Entry (&entries)[N], char choice) {
    for (const Entry& entry : entries) {
        if (selects(entry.letter, choice)) {
            return &entry;
        }
    }
    return nullptr;
}

// Shows a submenu and reads its selection into the session's choice. Returns
// the entry selected, or nullptr when the answer selects nothing or input
// has ended.
template <typename Entry, std::size_t N>
const Entry* askSubmenu(Session& s, const Entry (&entries)[N]) {
    writeMenu(s.out, "SUBMENU: ", entries);
    discardOne(s.in);
    s.out << "Selection: ";
    if (!(s.in >> s.choice)) {
        return nullptr;
    }
    return findEntry(entries, s.choice);
}

}  // namespace roster
