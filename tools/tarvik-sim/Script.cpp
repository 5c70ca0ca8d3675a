#include "Script.h"

#include <sstream>

#include "sim/FileIO.h"
#include "sim/InputText.h"
#include "sim/KeyNames.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"

namespace tarviksim {

namespace {

constexpr double maxWarp = 100000;

struct Grammar {
    CommandKind kind;
    const char* name;
    const char* usage;
};

const Grammar grammar[] = {
    {CommandKind::Key, "key", "key NAME"},
    {CommandKind::Throttle, "throttle", "throttle LEVEL"},
    {CommandKind::Click, "click", "click DIALOG CONTROL"},
    {CommandKind::Type, "type", "type DIALOG CONTROL TEXT"},
    {CommandKind::Check, "check", "check DIALOG CONTROL"},
    {CommandKind::Select, "select", "select DIALOG CONTROL TEXT"},
    {CommandKind::Warp, "warp", "warp FACTOR"},
    {CommandKind::Focus, "focus", "focus NAME"},
    {CommandKind::Save, "save", "save FILE"},
    {CommandKind::Snapshot, "snapshot", "snapshot DIALOG FILE.png"},
    {CommandKind::WaitFor, "waitfor", "waitfor TIMEOUT TEXT"},
    {CommandKind::Stop, "stop", "stop"},
};

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The line without its comment: '#' opens one at the start of the line or
// after a blank.
std::string withoutComment(const std::string& raw) {
    for (size_t i = 0; i < raw.size(); ++i)
        if (raw[i] == '#' && (i == 0 || blank(raw[i - 1])))
            return raw.substr(0, i);
    return raw;
}

std::string trimmed(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && blank(s[a]))
        ++a;
    while (b > a && blank(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

// Reads words off the front of a line, leaving the rest for free text.
class Words {
public:
    explicit Words(std::string line) : line_(std::move(line)) {}
    bool next(std::string& word) {
        while (pos_ < line_.size() && blank(line_[pos_]))
            ++pos_;
        if (pos_ >= line_.size())
            return false;
        size_t start = pos_;
        while (pos_ < line_.size() && !blank(line_[pos_]))
            ++pos_;
        word = line_.substr(start, pos_ - start);
        return true;
    }
    std::string rest() const { return trimmed(line_.substr(std::min(pos_, line_.size()))); }

private:
    std::string line_;
    size_t pos_ = 0;
};

class LineParser {
public:
    LineParser(const std::string& path, int line) : path_(path), line_(line) {}

    [[noreturn]] void fail(const std::string& problem) const { throw host::InputError(path_, line_, problem); }

    double number(const std::string& word, const char* what) const {
        double value = 0;
        if (!host::parseNumber(word, value))
            fail(std::string("bad ") + what + " " + host::quote(word));
        return value;
    }

    int id(const std::string& word, const char* what) const {
        long value = 0;
        if (!host::parseInteger(word, value) || value < 0 || value > 0xFFFF)
            fail(std::string("bad ") + what + " id " + host::quote(word));
        return static_cast<int>(value);
    }

    Command parse(const std::string& text) const {
        Words words(text);
        std::string at, time, name;
        if (!words.next(at) || at != "at" || !words.next(time) || !words.next(name))
            fail("expected 'at SECONDS COMMAND ...'");
        Command c;
        c.line = line_;
        c.time = number(time, "time");
        if (c.time < 0)
            fail("time " + host::excerpt(time) + " is before the scenario start");

        const Grammar* g = nullptr;
        for (const Grammar& entry : grammar)
            if (name == entry.name)
                g = &entry;
        if (!g)
            fail("unknown command " + host::quote(name));
        c.kind = g->kind;

        // Arguments: a fixed number of words, then free text for type, select
        // and waitfor (which cannot wait for nothing).
        const bool freeText =
            c.kind == CommandKind::Type || c.kind == CommandKind::Select || c.kind == CommandKind::WaitFor;
        const bool textNeeded = c.kind == CommandKind::Select || c.kind == CommandKind::WaitFor;
        int wanted = 0;
        switch (c.kind) {
            case CommandKind::Stop:
                wanted = 0;
                break;
            case CommandKind::Click:
            case CommandKind::Check:
            case CommandKind::Type:
            case CommandKind::Select:
            case CommandKind::Snapshot:
                wanted = 2;
                break;
            default:
                wanted = 1;
                break;
        }
        std::vector<std::string> args;
        std::string word;
        for (int i = 0; i < wanted && words.next(word); ++i)
            args.push_back(word);
        std::string rest = words.rest();
        if (static_cast<int>(args.size()) < wanted || (!freeText && !rest.empty()) || (textNeeded && rest.empty()))
            fail(std::string("expected '") + g->usage + "'");

        switch (c.kind) {
            case CommandKind::Key:
                c.text = args[0];
                if (!host::keyCode(args[0], c.key))
                    fail("unknown key " + host::quote(args[0]));
                break;
            case CommandKind::Throttle:
                c.value = number(args[0], "throttle level");
                if (c.value < 0 || c.value > 1)
                    fail("throttle level " + host::excerpt(args[0]) + " is not between 0 and 1");
                break;
            case CommandKind::Warp:
                c.value = number(args[0], "warp factor");
                if (c.value <= 0 || c.value > maxWarp)
                    fail("warp factor " + host::excerpt(args[0]) + " is not above 0 and at most 100000");
                break;
            case CommandKind::Click:
            case CommandKind::Check:
            case CommandKind::Type:
            case CommandKind::Select:
                c.dialog = id(args[0], "dialog");
                c.control = id(args[1], "control");
                c.text = rest;
                break;
            case CommandKind::Snapshot:
                c.dialog = id(args[0], "dialog");
                c.text = args[1];
                break;
            case CommandKind::Focus:
            case CommandKind::Save:
                c.text = args[0];
                break;
            case CommandKind::WaitFor:
                c.value = number(args[0], "timeout");
                if (c.value <= 0 || c.value > maxDuration)
                    fail("timeout " + host::excerpt(args[0]) + " is not above 0 and at most " +
                         host::numberText(maxDuration) + " s");
                c.text = rest;
                break;
            case CommandKind::Stop:
                break;
        }
        return c;
    }

private:
    const std::string& path_;
    int line_;
};

}  // namespace

const char* commandName(CommandKind kind) {
    for (const Grammar& g : grammar)
        if (g.kind == kind)
            return g.name;
    return "?";
}

Script parseScript(const std::string& text, const std::string& path) {
    Script script;
    script.path = path;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string content = trimmed(withoutComment(raw));
        if (content.empty())
            continue;
        script.commands.push_back(LineParser(path, line).parse(content));
    }
    return script;
}

Script readScript(const std::string& path) {
    return parseScript(host::readTextFile(path, "script"), path);
}

}  // namespace tarviksim
