// A module's resources: its dialog templates and bitmaps, read from the
// resource script shipped beside the module's library (<Module>.rc.txt).
//
//   # comment
//   dialog 131 "Tarvik Autopilot" 360 420
//     edit    1049 "" 10 20 60 14
//     radio   1085 "Ascending node" 10 40 90 12 group
//     radio   1086 "Desending node" 10 54 90 12
//     edit    1041 "" 0 0 10 10 hidden disabled
//     edit    1036 "" 10 70 60 14 readonly
//   end
//   bitmap 191 images/heading_on.bmp
//
// Control kinds: edit, button, check, radio, combo, static, picture. A
// control line is: kind id "caption" x y width height [flags], in pixels from
// the dialog's top-left corner; flags are hidden, disabled, checked, group
// (starts a new group of radio buttons; a run of radio buttons is one group)
// and readonly (an edit the module writes and the user only reads).
// Bitmap paths are relative to the script.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Surface.h"

namespace host {

enum class ControlKind { Edit, Button, Check, Radio, Combo, Static, Picture };

const char* controlKindName(ControlKind kind);

struct ControlTemplate {
    ControlKind kind = ControlKind::Static;
    int id = -1;
    std::string caption;
    Rect rect;
    bool hidden = false;
    bool disabled = false;
    bool checked = false;
    bool groupStart = false;
    bool readOnly = false;  // edits only
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int width = 0, height = 0;
    std::vector<ControlTemplate> controls;
};

struct ResourceScript {
    std::string path;
    std::vector<DialogTemplate> dialogs;
    std::map<int, std::string> bitmaps;  // id -> full path of the BMP file

    const DialogTemplate* dialog(int id) const;
};

// Both throw InputError naming the script file and line.
ResourceScript parseResourceScript(const std::string& text, const std::string& path);
ResourceScript readResourceScript(const std::string& path);

}  // namespace host
