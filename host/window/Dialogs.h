// The open dialogs as tarvik-sim and the tests see them: finding a dialog,
// reading its controls, giving it a user's input (through the same messages
// the window system sends), and writing it out as a picture.
#pragma once

#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "ResourceScript.h"
#include "Surface.h"

namespace host {

class Module;

// --- finding dialogs
std::vector<HWND> openDialogs();  // in opening order
HWND findDialog(int id);          // the most recently opened one with this resource id
HWND findDialog(const std::string& moduleName, int id);
HWND findDialog(const Module* module, int id);
int dialogId(HWND dialog);
std::string dialogCaption(HWND dialog);
const Module* dialogModule(HWND dialog);

// Opens a dialog from a template, as oapiOpenDialog does after finding the
// template among the module's resources (WM_INITDIALOG with the context).
HWND openDialog(const DialogTemplate& t, HINSTANCE instance, DLGPROC proc, void* context);

// Sends WM_PAINT to every shown dialog that was opened, shown or invalidated
// since the last call: the host's message loop runs this once per frame.
void deliverPaintMessages();

// Closes every dialog of the module (WM_DESTROY first), before it unloads.
void closeDialogsOf(const Module* module);

// --- reading controls (all safe on handles that are no longer open)
HWND control(HWND dialog, int id);
// The ids of the dialog's controls in the order of its template, repeats and
// -1 (no id) included; empty for a handle that is no longer open.
std::vector<int> controlIds(HWND dialog);
std::string controlText(HWND dialog, int id);
bool controlEnabled(HWND dialog, int id);
bool controlVisible(HWND dialog, int id);
Rect controlRect(HWND dialog, int id);  // where it sits in its dialog, in pixels
bool controlChecked(HWND dialog, int id);
std::vector<std::string> comboItems(HWND dialog, int id);
int comboSelection(HWND dialog, int id);  // -1 for none
const Surface* pictureSurface(HWND dialog, int id);

// --- a user's input
enum class InputResult { Done, NoDialog, NoControl, WrongKind, Disabled, Hidden, NoSuchEntry };
const char* describe(InputResult r);

// Typing into an edit: sets the text, then WM_COMMAND with EN_CHANGE. A
// read-only edit takes no typing (WrongKind); the module still sets its text.
InputResult typeText(HWND dialog, int id, const std::string& text);
// Clicking a control: a button sends BN_CLICKED; a check box toggles first;
// a radio button is checked (the others of its group cleared) first.
InputResult click(HWND dialog, int id);
// Checking a radio button or check box (a check box already checked is
// clicked off again, as a click would).
InputResult check(HWND dialog, int id);
// Picking a combo entry by its text: sets the selection, then CBN_SELCHANGE.
InputResult select(HWND dialog, int id, const std::string& entry);

// --- pictures
// The dialog as a user would see it: caption bar, frames, texts, check marks,
// picture controls' pixels. Hidden controls are left out.
Surface renderDialog(HWND dialog);
// The surface as the bytes of a PNG file; throws std::runtime_error for an
// empty one.
std::string encodePng(const Surface& s);
// Writes renderDialog to a PNG file as host::writeFileWhole writes; false
// when the dialog is not open or the file cannot be written (why goes to
// *problem when given).
bool writePng(HWND dialog, const std::string& path, std::string* problem = nullptr);
bool writePng(const Surface& s, const std::string& path, std::string* problem = nullptr);

}  // namespace host
