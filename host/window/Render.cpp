// A dialog drawn the way a user would see it, and its PNG file.
#include <algorithm>
#include <stdexcept>

#include "Dialogs.h"
#include "Font.h"
#include "Window.h"
#include "sim/FileIO.h"

namespace host {

namespace {

constexpr int captionHeight = 14;
constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb shadow{128, 128, 128};
constexpr Rgb greyText{150, 150, 150};
constexpr Rgb captionBlue{10, 36, 106};

int textTop(const Rect& r) {
    return r.y + (r.h - font::cellHeight) / 2;
}

// A static text one line high is cut at its right edge; a taller one wraps at
// blanks (a word longer than the line is cut) and shows the lines that fit.
void drawStaticText(Surface& canvas, const Rect& r, std::string_view text, Rgb ink) {
    const size_t columns = static_cast<size_t>(std::max(1, r.w / font::cellWidth));
    const int lines = r.h / font::cellHeight;
    if (lines < 2) {
        canvas.text(r.x, r.y, text, ink, nullptr, r);
        return;
    }
    for (int line = 0; line < lines && !text.empty(); ++line) {
        size_t take = text.size();
        if (take > columns) {
            size_t blank = text.rfind(' ', columns);
            take = blank == std::string_view::npos || blank == 0 ? columns : blank;
        }
        canvas.text(r.x, r.y + line * font::cellHeight, text.substr(0, take), ink, nullptr, r);
        text.remove_prefix(take);
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
    }
}

// A radio button's mark: a white disc 9 pixels across with its rim, and a
// dot in it when checked, its top-left corner at (x, y). A check box is square.
void drawRadioMark(Surface& canvas, int x, int y, bool checked, Rgb ink) {
    constexpr int radius = 4;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 > radius * radius + 2)
                continue;  // outside the disc: the corners stay the dialog's face
            const bool rim = d2 > (radius - 1) * (radius - 1) + 1;
            const bool dot = checked && d2 <= 5;
            canvas.setPixel(x + radius + dx, y + radius + dy, rim ? shadow : dot ? ink : white);
        }
}

void drawControl(Surface& canvas, const HostWindow& c) {
    Rect r = c.rect;
    r.y += captionHeight;
    const Rgb ink = c.enabled ? black : greyText;
    const std::string_view text = c.text;
    switch (c.kind) {
        case ControlKind::Edit:
            // A read-only edit is a display: face-coloured, its text as legible as any.
            canvas.fill(r, c.enabled && !c.readOnly ? white : window::faceColour);
            canvas.frame(r, shadow);
            canvas.text(r.x + 2, textTop(r), text, ink, nullptr, r);
            break;
        case ControlKind::Button: {
            canvas.frame(r, black);
            int width = static_cast<int>(text.size()) * font::cellWidth;
            canvas.text(r.x + (r.w - width) / 2, textTop(r), text, ink, nullptr, r);
            break;
        }
        case ControlKind::Check: {
            Rect box{r.x, textTop(r), 8, 8};
            canvas.fill(box, white);
            canvas.frame(box, shadow);
            if (c.checked)
                canvas.fill({box.x + 2, box.y + 2, 4, 4}, ink);
            canvas.text(r.x + 11, textTop(r), text, ink, nullptr, r);
            break;
        }
        case ControlKind::Radio:
            drawRadioMark(canvas, r.x, textTop(r), c.checked, ink);
            canvas.text(r.x + 11, textTop(r), text, ink, nullptr, r);
            break;
        case ControlKind::Combo: {
            canvas.fill(r, white);
            canvas.frame(r, shadow);
            Rect arrow{r.x + r.w - 10, r.y, 10, r.h};
            canvas.fill(arrow, window::faceColour);
            canvas.frame(arrow, shadow);
            for (int i = 0; i < 3; ++i)
                canvas.fill({arrow.x + 2 + i, textTop(r) + 3 + i, 6 - 2 * i, 1}, ink);
            Rect field{r.x, r.y, r.w - 10, r.h};
            if (c.selection >= 0 && c.selection < static_cast<int>(c.items.size()))
                canvas.text(r.x + 2, textTop(r), c.items[c.selection], ink, nullptr, field);
            break;
        }
        case ControlKind::Static:
            drawStaticText(canvas, r, text, ink);
            break;
        case ControlKind::Picture:
            canvas.blit(r.x, r.y, r.w, r.h, c.surface, 0, 0, BlitOp::Copy);
            break;
    }
}

}  // namespace

Surface renderDialog(HWND dialog) {
    HostWindow* d = window::liveDialog(dialog);
    if (!d)
        return {};
    Surface canvas(d->rect.w, d->rect.h + captionHeight, window::faceColour);
    canvas.fill({0, 0, d->rect.w, captionHeight}, captionBlue);
    canvas.text(3, 3, d->text, white, nullptr);
    for (const auto& c : d->controls)
        if (c->visible)
            drawControl(canvas, *c);
    canvas.frame({0, 0, canvas.width(), canvas.height()}, shadow);
    return canvas;
}

// The picture goes through the one output path: a temporary beside the
// file, renamed once whole, never into a device, a pipe or an input.
bool writePng(const Surface& s, const std::string& path, std::string* problem) {
    try {
        writeFileWhole(path, encodePng(s), "picture");
        return true;
    } catch (const std::exception& e) {
        if (problem)
            *problem = e.what();
        return false;
    }
}

bool writePng(HWND dialog, const std::string& path, std::string* problem) {
    if (!window::liveDialog(dialog)) {
        if (problem)
            *problem = "the dialog is not open";
        return false;
    }
    return writePng(renderDialog(dialog), path, problem);
}

}  // namespace host
