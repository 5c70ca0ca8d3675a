#include "ResourceScript.h"

#include <charconv>
#include <filesystem>
#include <set>
#include <sstream>

#include "sim/FileIO.h"
#include "sim/InputText.h"
#include "sim/PathLookup.h"
#include "sim/Simulation.h"

namespace host {

namespace {

// The largest dialog, control or position a script may give, in pixels: a
// picture control owns a surface of its size, and a dialog never needs more.
constexpr int maxPixels = 4096;

struct KindName {
    ControlKind kind;
    const char* name;
};

const KindName kindNames[] = {
    {ControlKind::Edit, "edit"},       {ControlKind::Button, "button"}, {ControlKind::Check, "check"},
    {ControlKind::Radio, "radio"},     {ControlKind::Combo, "combo"},   {ControlKind::Static, "static"},
    {ControlKind::Picture, "picture"},
};

// One line split into words; a word in double quotes may hold blanks, \" and \\.
struct Line {
    std::vector<std::string> words;
    std::vector<bool> quoted;
};

class Parser {
public:
    Parser(const std::string& path) : path_(path) {}

    [[noreturn]] void fail(const std::string& problem) const { throw InputError(path_, lineNo_, problem); }

    Line split(const std::string& text) const {
        Line line;
        size_t i = 0;
        while (i < text.size()) {
            char c = text[i];
            if (c == ' ' || c == '\t' || c == '\r') {
                ++i;
            } else if (c == '#') {
                break;
            } else if (c == '"') {
                std::string word;
                ++i;
                bool closed = false;
                while (i < text.size()) {
                    char d = text[i++];
                    if (d == '"') {
                        closed = true;
                        break;
                    }
                    if (d == '\\' && i < text.size())
                        d = text[i++];
                    word += d;
                }
                if (!closed)
                    fail("unterminated caption");
                line.words.push_back(word);
                line.quoted.push_back(true);
            } else {
                size_t start = i;
                while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
                    ++i;
                line.words.push_back(text.substr(start, i - start));
                line.quoted.push_back(false);
            }
        }
        return line;
    }

    int number(const std::string& word, const char* what, int min, int max = maxPixels) const {
        int value = 0;
        auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (ec != std::errc() || end != word.data() + word.size())
            fail(std::string("bad ") + what + " " + quote(word));
        if (value < min || value > max)
            fail(std::string("bad ") + what + " " + quote(word) + " (" + std::to_string(min) + " to " +
                 std::to_string(max) + ")");
        return value;
    }

    ResourceScript parse(const std::string& text) {
        ResourceScript script;
        script.path = path_;
        const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
        std::istringstream in(text);
        std::string raw;
        DialogTemplate* open = nullptr;
        std::set<int> controlIds;
        int openedAt = 0;
        while (std::getline(in, raw)) {
            ++lineNo_;
            Line line = split(raw);
            if (line.words.empty())
                continue;
            const std::string& keyword = line.words[0];
            if (keyword == "dialog") {
                if (open)
                    fail("dialog inside dialog " + std::to_string(open->id) + " (missing 'end')");
                if (line.words.size() != 5 || !line.quoted[2])
                    fail("expected: dialog ID \"caption\" WIDTH HEIGHT");
                DialogTemplate d;
                d.id = number(line.words[1], "dialog id", 0, 0xFFFF);
                if (script.dialog(d.id))
                    fail("dialog " + excerpt(line.words[1]) + " defined twice");
                d.caption = line.words[2];
                d.width = number(line.words[3], "width", 1);
                d.height = number(line.words[4], "height", 1);
                script.dialogs.push_back(d);
                open = &script.dialogs.back();
                openedAt = lineNo_;
                controlIds.clear();
            } else if (keyword == "end") {
                if (!open)
                    fail("'end' without a dialog");
                if (line.words.size() != 1)
                    fail("unexpected text after 'end'");
                open = nullptr;
            } else if (keyword == "bitmap") {
                if (open)
                    fail("bitmap inside dialog " + std::to_string(open->id) + " (missing 'end')");
                if (line.words.size() != 3)
                    fail("expected: bitmap ID FILE");
                int id = number(line.words[1], "bitmap id", 0, 0xFFFF);
                if (!isSafeRelativeName(line.words[2]))
                    fail("bitmap file " + quote(line.words[2]) + " is not a path inside the script's folder");
                if (script.bitmaps.count(id))
                    fail("bitmap " + excerpt(line.words[1]) + " defined twice");
                script.bitmaps[id] = (folder / line.words[2]).lexically_normal().string();
            } else {
                const KindName* kind = nullptr;
                for (const KindName& k : kindNames)
                    if (keyword == k.name)
                        kind = &k;
                if (!kind)
                    fail("unknown keyword " + quote(keyword));
                if (!open)
                    fail(std::string(kind->name) + " outside a dialog");
                if (line.words.size() < 7 || !line.quoted[2])
                    fail(std::string("expected: ") + kind->name + " ID \"caption\" X Y WIDTH HEIGHT [flags]");
                ControlTemplate c;
                c.kind = kind->kind;
                c.id = number(line.words[1], "control id", -1, 0xFFFF);
                if (c.id >= 0 && !controlIds.insert(c.id).second)
                    fail("control " + excerpt(line.words[1]) + " appears twice in dialog " + std::to_string(open->id));
                c.caption = line.words[2];
                c.rect = {number(line.words[3], "x", 0), number(line.words[4], "y", 0),
                          number(line.words[5], "width", 0), number(line.words[6], "height", 0)};
                for (size_t i = 7; i < line.words.size(); ++i) {
                    const std::string& flag = line.words[i];
                    if (flag == "hidden")
                        c.hidden = true;
                    else if (flag == "disabled")
                        c.disabled = true;
                    else if (flag == "checked")
                        c.checked = true;
                    else if (flag == "group")
                        c.groupStart = true;
                    else if (flag == "readonly" && c.kind == ControlKind::Edit)
                        c.readOnly = true;
                    else if (flag == "readonly")
                        fail("only an edit can be readonly");
                    else
                        fail("unknown flag " + quote(flag));
                }
                open->controls.push_back(c);
            }
        }
        if (open) {
            lineNo_ = openedAt;
            fail("dialog " + std::to_string(open->id) + " has no 'end'");
        }
        return script;
    }

private:
    std::string path_;
    int lineNo_ = 0;
};

}  // namespace

const char* controlKindName(ControlKind kind) {
    for (const KindName& k : kindNames)
        if (k.kind == kind)
            return k.name;
    return "?";
}

const DialogTemplate* ResourceScript::dialog(int id) const {
    for (const DialogTemplate& d : dialogs)
        if (d.id == id)
            return &d;
    return nullptr;
}

ResourceScript parseResourceScript(const std::string& text, const std::string& path) {
    return Parser(path).parse(text);
}

ResourceScript readResourceScript(const std::string& path) {
    return parseResourceScript(readTextFile(path, "resource script"), path);
}

}  // namespace host
