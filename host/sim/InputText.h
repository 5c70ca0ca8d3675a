// Input as messages quote it. Files and command lines may hold anything: a
// NUL byte, terminal escape sequences, a byte-order mark, a line of ten
// megabytes. Messages show such text escaped (bytes outside printable ASCII
// as \xHH) and cut to about 80 characters, so every message stays one
// readable line.
#pragma once

#include <string>
#include <string_view>

namespace host {

// The text with every byte outside printable ASCII (0x20 to 0x7E) as \xHH.
std::string printable(std::string_view text);

// The text escaped as above and cut after about 80 characters ("..." marks
// the cut); quote() puts it in single quotes.
std::string excerpt(std::string_view text);
std::string quote(std::string_view text);

// A vessel name or class key as scenario files hold them: printable ASCII
// without blanks, not empty.
bool isPlainWord(std::string_view text);

}  // namespace host
