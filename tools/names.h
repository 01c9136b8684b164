// Member names as slvtool shows them: a name comes from an archive or a folder
// and may hold any byte, but every line the tool prints stays one line.
#pragma once

#include "toolkit/text.h"

#include <string>

namespace slvtool {

// The text with each control character (below 0x20, and 0x7F) shown as '?'.
inline std::string Printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return text;
}

// The name as the archive reader compares it: ASCII letters folded to lower case.
inline std::string Folded(std::string name) {
    for (char& c : name)
        c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    return name;
}

} // namespace slvtool
