#include "InputText.h"

namespace host {

namespace {

constexpr size_t quotedLength = 80;

bool isPrintable(unsigned char c) {
    return c >= 0x20 && c <= 0x7E;
}

void append(std::string& out, unsigned char c) {
    static const char hex[] = "0123456789abcdef";
    if (isPrintable(c)) {
        out += static_cast<char>(c);
    } else {
        out += "\\x";
        out += hex[c >> 4];
        out += hex[c & 0xF];
    }
}

}  // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        append(out, static_cast<unsigned char>(c));
    return out;
}

std::string excerpt(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (out.size() >= quotedLength) {
            out += "...";
            break;
        }
        append(out, static_cast<unsigned char>(text[i]));
    }
    return out;
}

std::string quote(std::string_view text) {
    return "'" + excerpt(text) + "'";
}

bool isPlainWord(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!isPrintable(static_cast<unsigned char>(c)) || c == ' ')
            return false;
    return true;
}

}  // namespace host
