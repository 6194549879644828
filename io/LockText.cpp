#include "io/LockText.h"

#include <algorithm>
#include <vector>

#include "base/Unicode.h"
#include "platform/System.h"

namespace roster {

namespace {

void appendField(std::string& text, const std::string& field) {
    for (const char c : field) {
        if (c == ',' || c == ';' || c == '\\') {
            text += '\\';
        }
        text += c;
    }
}

struct Words {
    std::string_view program;
    unsigned long id = 0;
    std::string_view host;
};

// "PROGRAM ID HOST"; false for any other text.
bool readWords(std::string_view text, Words& words) {
    const std::size_t first = text.find(' ');
    const std::size_t second = text.find(' ', first == text.npos ? first : first + 1);
    if (second == text.npos || second == first + 1 || second - first > 11) {
        return false;
    }
    for (std::size_t i = first + 1; i < second; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        words.id = words.id * 10 + static_cast<unsigned long>(text[i] - '0');
    }
    words.program = text.substr(0, first);
    words.host = text.substr(second + 1);
    return true;
}

std::string ownerLine(const LockOwner& owner) {
    std::string text;
    for (const std::string* field :
         {&owner.user, &owner.login, &owner.host, &owner.since, &owner.id}) {
        appendField(text, *field);
        text += field == &owner.id ? ';' : ',';
    }
    return text;
}

}  // namespace

std::string programAndProcess() {
    return std::string(kProgramName) + ' ' + std::to_string(os().processId());
}

std::string thisProcess() {
    return programAndProcess() + ' ' + os().hostName();
}

bool holderGone(std::string_view text, std::string_view me) {
    Words holder;
    Words mine;
    return readWords(text, holder) && readWords(me, mine) && holder.program == mine.program &&
           holder.host == mine.host && os().processGone(holder.id);
}

std::string lockFileText(LockOwner owner) {
    std::string text = ownerLine(owner);
    while (text.size() > kLockSize && !owner.user.empty()) {
        owner.user.resize(owner.user.size() - std::min(owner.user.size(), text.size() - kLockSize));
        owner.user.resize(owner.user.size() - cutCharacter(owner.user));
        text = ownerLine(owner);
    }
    return text.size() > kLockSize ? std::string() : text;
}

// Later versions of LibreOffice may add fields; the first four name the
// owner, and whatever follows the `;` is not read.
std::optional<LockOwner> readLockFile(std::string_view text) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            fields.back() += text[++i];
        } else if (text[i] == ',') {
            fields.emplace_back();
        } else if (text[i] == ';') {
            if (fields.size() < 4) {
                return std::nullopt;
            }
            fields.resize(5);
            return LockOwner{fields[0], fields[1], fields[2], fields[3], fields[4]};
        } else {
            fields.back() += text[i];
        }
    }
    return std::nullopt;
}

}  // namespace roster
