// The live records of the window system and the per-module resource cache.
#include <filesystem>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "Window.h"
#include "Bmp.h"
#include "sim/Module.h"
#include "sim/Simulation.h"

namespace host::window {

namespace {

struct Records {
    std::unordered_set<HostWindow*> windows;
    std::unordered_map<HostDC*, std::unique_ptr<HostDC>> dcs;
    std::unordered_map<HostGdiObject*, std::unique_ptr<HostGdiObject>> bitmaps;
    HostGdiObject stock{std::make_shared<Surface>(1, 1), true};
    std::map<std::string, std::shared_ptr<ResourceScript>> scripts;                   // by script path
    std::map<std::pair<std::string, int>, std::shared_ptr<Surface>> resourceBitmaps;  // by script path and id
};

Records& records() {
    static Records r;
    return r;
}

std::string scriptPathOf(HINSTANCE instance) {
    Module* m = moduleFromInstance(instance);
    if (!m)
        throw InputError("", 0, "resources asked for by an unknown module instance");
    return (std::filesystem::path(m->path()).parent_path() / (m->name() + ".rc.txt")).string();
}

}  // namespace

HostWindow* liveWindow(HWND h) {
    return h && records().windows.count(h) ? h : nullptr;
}

HostWindow* liveDialog(HWND h) {
    HostWindow* w = liveWindow(h);
    return w && w->isDialog ? w : nullptr;
}

HostWindow* liveControl(HWND dialog, int id) {
    HostWindow* d = liveDialog(dialog);
    if (!d)
        return nullptr;
    for (auto& c : d->controls)
        if (c->id == id)
            return c.get();
    return nullptr;
}

HostDC* liveDC(HDC h) {
    return h && records().dcs.count(h) ? h : nullptr;
}

HostGdiObject* liveBitmap(HGDIOBJ h) {
    if (!h)
        return nullptr;
    if (h == &records().stock)
        return h;
    return records().bitmaps.count(h) ? h : nullptr;
}

void addWindow(HostWindow* w) {
    records().windows.insert(w);
}
void removeWindow(HostWindow* w) {
    records().windows.erase(w);
}

HostDC* newDC() {
    auto dc = std::make_unique<HostDC>();
    HostDC* raw = dc.get();
    records().dcs.emplace(raw, std::move(dc));
    return raw;
}

void deleteDC(HostDC* dc) {
    releaseSelection(dc->bitmap);
    records().dcs.erase(dc);
}

HostGdiObject* newBitmap(std::shared_ptr<Surface> pixels) {
    auto b = std::make_unique<HostGdiObject>();
    b->pixels = std::move(pixels);
    HostGdiObject* raw = b.get();
    records().bitmaps.emplace(raw, std::move(b));
    return raw;
}

void deleteBitmap(HostGdiObject* b) {
    if (b->stock)
        return;
    if (b->selections > 0)
        b->deletePending = true;
    else
        records().bitmaps.erase(b);
}

void releaseSelection(HostGdiObject* b) {
    if (!b || b->stock)
        return;
    if (--b->selections <= 0 && b->deletePending)
        records().bitmaps.erase(b);
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

const ResourceScript& resourcesOf(HINSTANCE instance) {
    std::string path = scriptPathOf(instance);
    auto& slot = records().scripts[path];
    if (!slot) {
        try {
            slot = std::make_shared<ResourceScript>(readResourceScript(path));
        } catch (...) {
            records().scripts.erase(path);
            throw;
        }
    }
    return *slot;
}

std::shared_ptr<Surface> resourceBitmap(HINSTANCE instance, int id) {
    const ResourceScript& script = resourcesOf(instance);
    auto file = script.bitmaps.find(id);
    if (file == script.bitmaps.end())
        return nullptr;
    auto& slot = records().resourceBitmaps[{script.path, id}];
    if (!slot) {
        auto image = readBmp(file->second);
        if (!image) {
            records().resourceBitmaps.erase({script.path, id});
            return nullptr;
        }
        slot = std::make_shared<Surface>(std::move(*image));
    }
    return slot;
}

Rgb toRgb(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace host::window
