// Whether a text a module writes is the one already shown. Read-outs and
// screen notes are written every step, mostly with the text they show, a few
// characters just written one at a time: compared a character at a time, they
// are read back as they were written, with no length taken first.
#pragma once

#include <string>

namespace host {

inline bool showsText(const std::string& shown, const char* text) {
    const char* s = shown.c_str();
    for (size_t i = 0; text[i] == s[i]; ++i)
        if (text[i] == '\0')
            return i == shown.size();  // not equal where the shown text holds a NUL before its end
    return false;
}

}  // namespace host
