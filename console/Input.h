// Reading answers: one place decides what a typed answer means.
#pragma once

#include <istream>
#include <limits>
#include <ostream>
#include <string>

#include "base/Number.h"
#include "console/Session.h"

namespace roster {

enum class Answer {
    Accepted,  // a number was read
    Refused,   // the answer was no number; the rest of its line is gone
    Ended,     // input has ended
};

// Reads one number. An answer that is not a number resets the stream and
// discards the rest of its line, so the next question starts afresh.
template <typename T>
Answer readNumber(std::istream& in, T& value) {
    if (in >> number(value)) {
        return Answer::Accepted;
    }
    if (in.eof() || in.bad()) {
        return Answer::Ended;
    }
    in.clear();
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    return Answer::Refused;
}

// Drops the one character left before a whole-line read (normally the line
// break after the previous answer) and makes the stream usable again.
inline void discardOne(std::istream& in) {
    in.ignore();
    in.clear();
}

// A prompt that shows the range of `field`: `before` "(21 - 120)" `after`.
inline std::string rangePrompt(const char* before, Field field, const char* after) {
    return before + ("(" + rangeText(field, " - ") + ")") + after;
}

// Asks for a number until `accept` takes it; false when input ended first.
template <typename T, typename Accept>
bool askNumber(Session& s, const std::string& prompt, const char* refusal, Accept accept) {
    for (;;) {
        s.out << prompt;
        T value{};
        const Answer answer = readNumber(s.in, value);
        if (answer == Answer::Ended) {
            return false;
        }
        if (answer == Answer::Accepted && accept(value)) {
            return true;
        }
        s.out << refusal << '\n';
    }
}

// Asks for a whole line until `accept` takes it; false when input ended first.
template <typename Accept>
bool askLine(Session& s, const char* prompt, const char* refusal, Accept accept) {
    for (;;) {
        s.out << prompt;
        std::string line;
        if (!std::getline(s.in, line)) {
            return false;
        }
        if (accept(std::move(line))) {
            return true;
        }
        s.out << refusal << '\n';
    }
}

}  // namespace roster
