// Dialogs: opening from templates, closing, message delivery to the module's
// dialog procedure, the oapi dialog functions, and a user's input.
#include "Dialogs.h"

#include <algorithm>

#include "Window.h"
#include "sim/Module.h"
#include "sim/Simulation.h"

using host::window::liveControl;
using host::window::liveDialog;

namespace host {

namespace {

struct DialogList {
    std::vector<std::unique_ptr<HostWindow>> open;
    std::vector<std::unique_ptr<HostWindow>> closed;  // kept until no message is being delivered
    int delivering = 0;
};

DialogList& dialogs() {
    static DialogList d;
    return d;
}

// A dialog closed from inside its own procedure must outlive that call.
struct DeliveryScope {
    DeliveryScope() { ++dialogs().delivering; }
    ~DeliveryScope() {
        if (--dialogs().delivering == 0)
            dialogs().closed.clear();
    }
};

// A dialog whose module is no longer loaded (its simulation ended with the
// dialog open) has no procedure to call any more.
bool ownerGone(const HostWindow* dlg) {
    return dlg->instance && !moduleFromInstance(dlg->instance);
}

LRESULT deliver(HostWindow* dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    DeliveryScope scope;
    if (ownerGone(dlg))
        return 0;
    if (!dlg->proc)
        return oapiDefDialogProc(dlg, msg, wParam, lParam);
    return dlg->proc(dlg, msg, wParam, lParam);
}

LRESULT command(HostWindow* dlg, HostWindow* ctl, WORD code) {
    return deliver(dlg, WM_COMMAND, MAKEWPARAM(ctl->id, code), reinterpret_cast<LPARAM>(ctl));
}

// Dialog events name the vessel of the dialog's module, the focus vessel first.
void recordEvent(const HostWindow* dlg, const std::string& what) {
    Simulation* sim = Simulation::current();
    if (!sim)
        return;
    std::string vessel;
    VesselData* focus = sim->focus();
    if (focus && dlg->module && focus->module == dlg->module) {
        vessel = focus->name;
    } else if (dlg->module) {
        for (const auto& v : sim->vessels())
            if (v->module == dlg->module) {
                vessel = v->name;
                break;
            }
    }
    sim->addEvent(vessel, what);
}

HostWindow* findOpen(HINSTANCE instance, int id) {
    for (auto& d : dialogs().open)
        if (d->instance == instance && d->id == id && !d->closing)
            return d.get();
    return nullptr;
}

void checkInGroup(HostWindow* radio) {
    for (auto& c : radio->dialog->controls)
        if (c->kind == ControlKind::Radio && c->radioGroup == radio->radioGroup)
            c->checked = false;
    radio->checked = true;
}

struct Target {
    HostWindow* dialog = nullptr;
    HostWindow* control = nullptr;
    InputResult problem = InputResult::Done;
};

// The control a user's input goes to, or why it cannot get there.
Target inputTarget(HWND dialog, int id) {
    Target t;
    t.dialog = liveDialog(dialog);
    if (!t.dialog || t.dialog->closing) {
        t.problem = InputResult::NoDialog;
        return t;
    }
    t.control = liveControl(dialog, id);
    if (!t.control)
        t.problem = InputResult::NoControl;
    else if (!t.dialog->visible || !t.control->visible)
        t.problem = InputResult::Hidden;
    else if (!t.control->enabled)
        t.problem = InputResult::Disabled;
    return t;
}

}  // namespace

// ------------------------------------------------------------ finding

std::vector<HWND> openDialogs() {
    std::vector<HWND> result;
    for (auto& d : dialogs().open)
        if (!d->closing)
            result.push_back(d.get());
    return result;
}

HWND findDialog(int id) {
    auto& open = dialogs().open;
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if ((*it)->id == id && !(*it)->closing)
            return it->get();
    return nullptr;
}

HWND findDialog(const std::string& moduleName, int id) {
    for (auto& d : dialogs().open)
        if (d->id == id && !d->closing && d->module && d->moduleName == moduleName)
            return d.get();
    return nullptr;
}

HWND findDialog(const Module* module, int id) {
    for (auto& d : dialogs().open)
        if (d->id == id && !d->closing && d->module == module)
            return d.get();
    return nullptr;
}

int dialogId(HWND dialog) {
    HostWindow* d = liveDialog(dialog);
    return d ? d->id : 0;
}

std::string dialogCaption(HWND dialog) {
    HostWindow* d = liveDialog(dialog);
    return d ? d->text : std::string();
}

const Module* dialogModule(HWND dialog) {
    HostWindow* d = liveDialog(dialog);
    return d ? d->module : nullptr;
}

// ------------------------------------------------------------ opening and closing

HWND openDialog(const DialogTemplate& t, HINSTANCE instance, DLGPROC proc, void* context) {
    auto dlg = std::make_unique<HostWindow>();
    dlg->isDialog = true;
    dlg->dialog = dlg.get();
    dlg->id = t.id;
    dlg->text = t.caption;
    dlg->rect = {0, 0, t.width, t.height};
    dlg->instance = instance;
    dlg->module = moduleFromInstance(instance);
    if (dlg->module)
        dlg->moduleName = dlg->module->name();
    dlg->proc = proc;
    dlg->context = context;
    dlg->paintPending = true;

    int group = 0;
    bool previousWasRadio = false;
    for (const ControlTemplate& ct : t.controls) {
        auto c = std::make_unique<HostWindow>();
        c->dialog = dlg.get();
        c->id = ct.id;
        c->kind = ct.kind;
        c->text = ct.caption;
        c->rect = ct.rect;
        c->visible = !ct.hidden;
        c->enabled = !ct.disabled;
        c->checked = ct.checked;
        c->readOnly = ct.readOnly;
        if (ct.kind == ControlKind::Radio) {
            if (!previousWasRadio || ct.groupStart)
                ++group;
            c->radioGroup = group;
        }
        previousWasRadio = ct.kind == ControlKind::Radio;
        if (ct.kind == ControlKind::Picture)
            c->surface = Surface(ct.rect.w, ct.rect.h, window::faceColour);
        window::addWindow(c.get());
        dlg->controls.push_back(std::move(c));
    }

    HostWindow* raw = dlg.get();
    window::indexControls(raw);
    window::addWindow(raw);
    dialogs().open.push_back(std::move(dlg));
    recordEvent(raw, "dialog opened " + std::to_string(t.id));
    deliver(raw, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(context));
    return liveDialog(raw) && !raw->closing ? raw : nullptr;
}

void deliverPaintMessages() {
    std::vector<HostWindow*> due;
    for (auto& d : dialogs().open)
        if (d->paintPending && d->visible && !d->closing)
            due.push_back(d.get());
    for (HostWindow* d : due) {
        if (!liveDialog(d) || d->closing)
            continue;  // closed by an earlier paint handler
        d->paintPending = false;
        deliver(d, WM_PAINT, 0, 0);
    }
}

void closeDialogsOf(const Module* module) {
    std::vector<HostWindow*> doomed;
    for (auto& d : dialogs().open)
        if (d->module == module)
            doomed.push_back(d.get());
    for (HostWindow* d : doomed)
        oapiCloseDialog(d);
}

// ------------------------------------------------------------ reading controls

HWND control(HWND dialog, int id) {
    return liveControl(dialog, id);
}

std::vector<int> controlIds(HWND dialog) {
    std::vector<int> ids;
    if (HostWindow* d = liveDialog(dialog))
        for (const auto& c : d->controls)
            ids.push_back(c->id);
    return ids;
}

std::string controlText(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c ? c->text : std::string();
}

bool controlEnabled(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c && c->enabled;
}

bool controlVisible(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c && c->visible;
}

Rect controlRect(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c ? c->rect : Rect{};
}

bool controlChecked(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c && c->checked;
}

std::vector<std::string> comboItems(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c ? c->items : std::vector<std::string>();
}

int comboSelection(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c ? c->selection : -1;
}

const Surface* pictureSurface(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    return c && c->kind == ControlKind::Picture ? &c->surface : nullptr;
}

// ------------------------------------------------------------ a user's input

const char* describe(InputResult r) {
    switch (r) {
        case InputResult::Done:
            return "done";
        case InputResult::NoDialog:
            return "the dialog is not open";
        case InputResult::NoControl:
            return "the dialog has no such control";
        case InputResult::WrongKind:
            return "the control does not take this input";
        case InputResult::Disabled:
            return "the control is disabled";
        case InputResult::Hidden:
            return "the control is not shown";
        case InputResult::NoSuchEntry:
            return "the list has no such entry";
    }
    return "?";
}

InputResult typeText(HWND dialog, int id, const std::string& text) {
    Target t = inputTarget(dialog, id);
    if (t.problem != InputResult::Done)
        return t.problem;
    if (t.control->kind != ControlKind::Edit || t.control->readOnly)
        return InputResult::WrongKind;
    t.control->text = text;
    command(t.dialog, t.control, EN_CHANGE);
    return InputResult::Done;
}

InputResult click(HWND dialog, int id) {
    Target t = inputTarget(dialog, id);
    if (t.problem != InputResult::Done)
        return t.problem;
    switch (t.control->kind) {
        case ControlKind::Button:
            break;
        case ControlKind::Check:
            t.control->checked = !t.control->checked;
            break;
        case ControlKind::Radio:
            checkInGroup(t.control);
            break;
        default:
            return InputResult::WrongKind;
    }
    command(t.dialog, t.control, BN_CLICKED);
    return InputResult::Done;
}

InputResult check(HWND dialog, int id) {
    HostWindow* c = liveControl(dialog, id);
    if (c && c->kind == ControlKind::Button)
        return InputResult::WrongKind;
    return click(dialog, id);
}

InputResult select(HWND dialog, int id, const std::string& entry) {
    Target t = inputTarget(dialog, id);
    if (t.problem != InputResult::Done)
        return t.problem;
    if (t.control->kind != ControlKind::Combo)
        return InputResult::WrongKind;
    auto& items = t.control->items;
    auto it = std::find(items.begin(), items.end(), entry);
    if (it == items.end())
        return InputResult::NoSuchEntry;
    t.control->selection = static_cast<int>(it - items.begin());
    command(t.dialog, t.control, CBN_SELCHANGE);
    return InputResult::Done;
}

LRESULT window::sendToDialog(HostWindow* dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    return deliver(dialog, msg, wParam, lParam);
}

}  // namespace host

// ------------------------------------------------------------ the simulator's dialog functions

HWND oapiOpenDialog(HINSTANCE hDLLInst, int resourceId, DLGPROC msgProc, void* context) {
    if (HostWindow* existing = host::findOpen(hDLLInst, resourceId))
        return existing;
    const host::ResourceScript& resources = host::window::resourcesOf(hDLLInst);
    const host::DialogTemplate* t = resources.dialog(resourceId);
    if (!t)
        throw host::InputError(resources.path, 0,
                               "no dialog " + std::to_string(resourceId) + " in the resource script");
    return host::openDialog(*t, hDLLInst, msgProc, context);
}

HWND oapiFindDialog(HINSTANCE hDLLInst, int resourceId) {
    return host::findOpen(hDLLInst, resourceId);
}

void oapiCloseDialog(HWND hDlg) {
    HostWindow* d = liveDialog(hDlg);
    if (!d || d->closing)
        return;
    d->closing = true;
    host::deliver(d, WM_DESTROY, 0, 0);

    auto& list = host::dialogs();
    for (auto& c : d->controls)
        host::window::removeWindow(c.get());
    host::window::removeWindow(d);
    auto it = std::find_if(list.open.begin(), list.open.end(), [d](const auto& p) { return p.get() == d; });
    host::recordEvent(d, "dialog closed " + std::to_string(d->id));
    std::unique_ptr<HostWindow> owned = std::move(*it);
    list.open.erase(it);
    if (list.delivering > 0)
        list.closed.push_back(std::move(owned));  // its procedure is still running
}

void* oapiGetDialogContext(HWND hDlg) {
    HostWindow* d = liveDialog(hDlg);
    return d ? d->context : nullptr;
}

INT_PTR oapiDefDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_CLOSE:
            oapiCloseDialog(hDlg);
            return TRUE;
        default:
            return FALSE;
    }
}
