#include "formats/LockFile.h"

#include <vector>

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

}  // namespace

std::string lockFileText(const LockOwner& owner) {
    std::string text;
    for (const std::string* field :
         {&owner.user, &owner.login, &owner.host, &owner.since, &owner.id}) {
        appendField(text, *field);
        text += field == &owner.id ? ';' : ',';
    }
    return text;
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
