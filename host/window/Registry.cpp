// The live records of the window system and the per-module resource cache.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "Window.h"
#include "Bmp.h"
#include "sim/Module.h"
#include "sim/Simulation.h"

namespace host::window {

namespace {

// Records handed out and taken back again, each kept for reuse.
template <class T>
struct Pool {
    std::vector<std::unique_ptr<T>> store;
    std::unordered_set<T*> known;  // every record ever made, live or not
    std::vector<T*> unused;

    T* take() {
        T* t = nullptr;
        if (unused.empty()) {
            store.push_back(std::make_unique<T>());
            t = store.back().get();
            known.insert(t);
        } else {
            t = unused.back();
            unused.pop_back();
            *t = T{};
        }
        t->live = true;
        return t;
    }
    void give(T* t) {
        t->live = false;
        unused.push_back(t);
    }
    // A record once made stays known, so the few last found are asked first:
    // a module drawing every frame takes and gives back the same ones.
    bool live(const T* t) const {
        for (const T* k : recent)
            if (k == t)
                return t->live;
        if (!known.count(const_cast<T*>(t)))
            return false;
        recent[nextRecent++ % std::size(recent)] = t;
        return t->live;
    }
    mutable const T* recent[4] = {};
    mutable unsigned nextRecent = 0;
};

// What a module's resource script and bitmaps are, found once per module.
struct ModuleResources {
    const Module* module = nullptr;
    unsigned long long loadNumber = 0;  // with the module pointer, tells a module loaded again at the same place
    std::shared_ptr<ResourceScript> script;
    std::map<int, std::shared_ptr<Surface>> bitmaps;  // null for a file that cannot be read
};

struct Records {
    std::unordered_set<HostWindow*> windows;
    HostWindow* recentWindows[4] = {};  // live windows last found, asked before the set
    Pool<HostDC> dcs;
    Pool<HostGdiObject> bitmaps;
    HostGdiObject stock{std::make_shared<Surface>(1, 1), true, 0, false, true};
    std::map<std::string, std::shared_ptr<ResourceScript>> scripts;  // by script path
    std::unordered_map<HINSTANCE, ModuleResources> modules;
};

// Made on first use and gone at exit (after everything made before it), and
// reached through a plain pointer: every window call asks for them.
Records* theRecords = nullptr;

[[gnu::noinline]] Records* makeRecords() {
    static Records r;
    return &r;
}

Records& records() {
    if (!theRecords)
        theRecords = makeRecords();
    return *theRecords;
}

std::string scriptPathOf(HINSTANCE instance) {
    Module* m = moduleFromInstance(instance);
    if (!m)
        throw InputError("", 0, "resources asked for by an unknown module instance");
    return (std::filesystem::path(m->path()).parent_path() / (m->name() + ".rc.txt")).string();
}

}  // namespace

HostWindow* liveWindow(HWND h) {
    if (!h)
        return nullptr;
    Records& r = records();
    for (HostWindow* w : r.recentWindows)
        if (w == h)
            return h;
    if (!r.windows.count(h))
        return nullptr;
    std::rotate(std::begin(r.recentWindows), std::end(r.recentWindows) - 1, std::end(r.recentWindows));
    r.recentWindows[0] = h;
    return h;
}

HostWindow* liveDialog(HWND h) {
    HostWindow* w = liveWindow(h);
    return w && w->isDialog ? w : nullptr;
}

HostWindow* liveControl(HWND dialog, int id) {
    HostWindow* d = liveDialog(dialog);
    if (!d)
        return nullptr;
    if (!d->controlTable.empty()) {
        const long slot = static_cast<long>(id) - d->lowestControlId;
        return slot >= 0 && slot < static_cast<long>(d->controlTable.size()) ? d->controlTable[slot] : nullptr;
    }
    const auto& index = d->controlsById;
    auto found = std::lower_bound(index.begin(), index.end(), id, [](const auto& e, int key) { return e.first < key; });
    return found != index.end() && found->first == id ? found->second : nullptr;
}

void indexControls(HostWindow* dialog) {
    auto& index = dialog->controlsById;
    index.clear();
    for (auto& c : dialog->controls)
        index.emplace_back(c->id, c.get());
    // Stable: of several controls with one id, the first in the template is found.
    std::stable_sort(index.begin(), index.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    index.erase(
        std::unique(index.begin(), index.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        index.end());
    constexpr long kLargestTable = 4096;
    dialog->controlTable.clear();
    if (!index.empty() && static_cast<long>(index.back().first) - index.front().first < kLargestTable) {
        dialog->lowestControlId = index.front().first;
        dialog->controlTable.assign(static_cast<size_t>(index.back().first - index.front().first + 1), nullptr);
        for (const auto& [id, control] : index)
            dialog->controlTable[static_cast<size_t>(id - dialog->lowestControlId)] = control;
    }
}

HostDC* liveDC(HDC h) {
    return h && records().dcs.live(h) ? h : nullptr;
}

HostGdiObject* liveBitmap(HGDIOBJ h) {
    if (!h)
        return nullptr;
    if (h == &records().stock)
        return h;
    return records().bitmaps.live(h) ? h : nullptr;
}

void addWindow(HostWindow* w) {
    records().windows.insert(w);
}
void removeWindow(HostWindow* w) {
    Records& r = records();
    r.windows.erase(w);
    for (HostWindow*& recent : r.recentWindows)
        if (recent == w)
            recent = nullptr;
}

HostDC* newDC() {
    return records().dcs.take();
}

void deleteDC(HostDC* dc) {
    releaseSelection(dc->bitmap);
    records().dcs.give(dc);
}

HostGdiObject* newBitmap(std::shared_ptr<Surface> pixels) {
    HostGdiObject* b = records().bitmaps.take();
    b->pixels = std::move(pixels);
    return b;
}

namespace {
void freeBitmap(HostGdiObject* b) {
    b->pixels.reset();
    records().bitmaps.give(b);
}
}  // namespace

void deleteBitmap(HostGdiObject* b) {
    if (b->stock)
        return;
    if (b->selections > 0)
        b->deletePending = true;
    else
        freeBitmap(b);
}

void releaseSelection(HostGdiObject* b) {
    if (!b || b->stock)
        return;
    if (--b->selections <= 0 && b->deletePending)
        freeBitmap(b);
}

HostGdiObject* stockBitmap() {
    return &records().stock;
}

Surface* targetSurface(HostDC* dc) {
    if (dc->windowDC) {
        HostWindow* w = liveWindow(dc->window);
        return w && w->kind == ControlKind::Picture && !w->isDialog ? &w->surface : nullptr;
    }
    HostGdiObject* b = dc->bitmap;
    if (!b)
        return nullptr;
    if (b->pixels.use_count() > 1)
        b->pixels = std::make_shared<Surface>(*b->pixels);  // copy on first write
    return b->pixels.get();
}

const Surface* sourceSurface(HostDC* dc) {
    if (dc->windowDC) {
        HostWindow* w = liveWindow(dc->window);
        return w && w->kind == ControlKind::Picture && !w->isDialog ? &w->surface : nullptr;
    }
    return dc->bitmap ? dc->bitmap->pixels.get() : nullptr;
}

std::shared_ptr<const Surface> bitmapPixels(HostDC* dc) {
    if (dc->windowDC || !dc->bitmap)
        return nullptr;
    return dc->bitmap->pixels;
}

namespace {

ModuleResources& moduleResources(HINSTANCE instance) {
    const Module* m = moduleFromInstance(instance);
    if (!m)
        throw InputError("", 0, "resources asked for by an unknown module instance");
    ModuleResources& entry = records().modules[instance];
    if (entry.script && entry.module == m && entry.loadNumber == m->loadNumber())
        return entry;
    const std::string path = scriptPathOf(instance);
    auto& slot = records().scripts[path];
    if (!slot) {
        try {
            slot = std::make_shared<ResourceScript>(readResourceScript(path));
        } catch (...) {
            records().scripts.erase(path);
            throw;
        }
    }
    entry = ModuleResources{m, m->loadNumber(), slot, {}};
    return entry;
}

}  // namespace

const ResourceScript& resourcesOf(HINSTANCE instance) {
    return *moduleResources(instance).script;
}

std::shared_ptr<Surface> resourceBitmap(HINSTANCE instance, int id) {
    ModuleResources& resources = moduleResources(instance);
    if (auto known = resources.bitmaps.find(id); known != resources.bitmaps.end())
        return known->second;
    std::shared_ptr<Surface> pixels;
    auto file = resources.script->bitmaps.find(id);
    if (file != resources.script->bitmaps.end())
        if (auto image = readBmp(file->second))
            pixels = std::make_shared<Surface>(std::move(*image));
    resources.bitmaps[id] = pixels;
    return pixels;
}

Rgb toRgb(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace host::window
