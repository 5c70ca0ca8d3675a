// The headless window system's own records: dialogs and their controls
// (HWND), device contexts (HDC) and bitmaps (HBITMAP). Every handle the
// plug-ins hold is checked against the live records before use, so a handle
// of a closed dialog or a deleted bitmap is harmless.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "ResourceScript.h"
#include "Surface.h"

namespace host {
class Module;
}

struct HostWindow {
    bool isDialog = false;
    HostWindow* dialog = nullptr;  // the dialog a control sits in; itself for a dialog
    int id = 0;                    // resource id of a dialog, control id of a control
    host::ControlKind kind = host::ControlKind::Static;
    std::string text;  // caption or edit contents
    host::Rect rect;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    bool readOnly = false;           // an edit the user cannot type into
    int radioGroup = -1;             // radio buttons with the same number form one group
    std::vector<std::string> items;  // combo entries
    int selection = -1;              // combo selection, -1 for none
    host::Surface surface;           // picture controls only

    // dialogs only
    std::vector<std::unique_ptr<HostWindow>> controls;
    std::vector<std::pair<int, HostWindow*>> controlsById;  // by id, the first of each; built once opened
    // The same by id - lowestControlId, when the ids lie close together (as a
    // resource script numbers them): the read-outs are found every step.
    std::vector<HostWindow*> controlTable;
    int lowestControlId = 0;
    HINSTANCE instance = nullptr;
    host::Module* module = nullptr;  // compared only: it may be unloaded before the dialog goes
    std::string moduleName;
    DLGPROC proc = nullptr;
    void* context = nullptr;
    bool paintPending = false;
    bool closing = false;
};

// Device contexts and bitmaps are pooled: a record freed by the module is
// marked dead and reused by the next one, so drawing every frame allocates
// nothing once the pool has grown to what a frame uses.
struct HostGdiObject {
    std::shared_ptr<host::Surface> pixels;  // shared with the resource cache until drawn on
    bool stock = false;                     // the default bitmap of a memory DC: never deleted
    int selections = 0;                     // DCs it is selected into
    bool deletePending = false;             // deleted while selected: freed when deselected
    bool live = false;
};

struct HostDC {
    bool live = false;
    bool windowDC = false;            // from GetDC: draws on its window, takes no bitmaps
    HostWindow* window = nullptr;     // the window of a GetDC DC
    HostGdiObject* bitmap = nullptr;  // a memory DC's selected bitmap
    COLORREF background = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
    int backgroundMode = OPAQUE;
};

namespace host::window {

// The live records. Lookups return null for anything not (or no longer) live.
HostWindow* liveWindow(HWND h);
HostWindow* liveDialog(HWND h);
HostWindow* liveControl(HWND dialog, int id);
HostDC* liveDC(HDC h);
HostGdiObject* liveBitmap(HGDIOBJ h);

// Delivers a message to a dialog's procedure (the default procedure when it
// has none); a dialog closed meanwhile stays valid until delivery ends.
LRESULT sendToDialog(HostWindow* dialog, UINT msg, WPARAM wParam, LPARAM lParam);

void addWindow(HostWindow* w);           // a dialog and, separately, each of its controls
void indexControls(HostWindow* dialog);  // once its controls are all there
void removeWindow(HostWindow* w);
HostDC* newDC();
void deleteDC(HostDC* dc);
HostGdiObject* newBitmap(std::shared_ptr<Surface> pixels);
void deleteBitmap(HostGdiObject* b);      // frees now, or once no DC selects it any more
void releaseSelection(HostGdiObject* b);  // a DC lets go of the bitmap
HostGdiObject* stockBitmap();

// The surface a DC draws on (copied first when a shared bitmap is drawn on),
// or null when it draws nowhere.
Surface* targetSurface(HostDC* dc);
const Surface* sourceSurface(HostDC* dc);
// The pixels of a memory DC's bitmap, to be kept by a recorded blit (null for
// a window's DC or a DC without a bitmap). While they are shared, whatever
// draws on the bitmap draws on a copy, so what was kept never changes.
std::shared_ptr<const Surface> bitmapPixels(HostDC* dc);

// The module's resources (read once per module and kept).
const ResourceScript& resourcesOf(HINSTANCE instance);
std::shared_ptr<Surface> resourceBitmap(HINSTANCE instance, int id);

Rgb toRgb(COLORREF c);

// The face colour of dialogs and of a picture control nothing was drawn on yet.
constexpr Rgb faceColour{212, 208, 200};

}  // namespace host::window
