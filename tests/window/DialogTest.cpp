// Dialogs opened from templates: message delivery, control state, a user's
// input, handles that outlive their dialog, and PNG output.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "Orbitersdk.h"
#include "window/Dialogs.h"
#include "window/Window.h"

using namespace host;

namespace {

struct Message {
    UINT msg;
    int id;     // control id of a WM_COMMAND
    int code;   // notification code of a WM_COMMAND
    HWND from;  // control handle of a WM_COMMAND
};

struct Recorder {
    std::vector<Message> messages;
    LPARAM initParam = 0;
    bool closeOnClick = false;
};

INT_PTR CALLBACK recordingProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG)
        static_cast<Recorder*>(reinterpret_cast<void*>(lParam))->initParam = lParam;
    auto* r = static_cast<Recorder*>(oapiGetDialogContext(hDlg));
    if (!r)
        return FALSE;
    Message m{msg, 0, 0, nullptr};
    if (msg == WM_COMMAND)
        m = {msg, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
    r->messages.push_back(m);
    if (msg == WM_COMMAND && m.id == 20 && r->closeOnClick) {
        oapiCloseDialog(hDlg);
        SetDlgItemTextA(hDlg, 10, "too late");  // a dead handle: ignored
        EXPECT_FALSE(IsWindow(hDlg));
    }
    return oapiDefDialogProc(hDlg, msg, wParam, lParam);
}

DialogTemplate sampleDialog() {
    return parseResourceScript(
               "dialog 7 \"Sample\" 120 90\n"
               "  edit 10 \"start\" 2 2 60 14\n"
               "  button 20 \"Go\" 64 2 30 14\n"
               "  radio 31 \"A\" 2 20 20 10 group\n"
               "  radio 32 \"B\" 24 20 20 10 checked\n"
               "  radio 33 \"C\" 46 20 20 10 group\n"
               "  check 40 \"Opt\" 2 32 40 10\n"
               "  combo 41 \"\" 2 44 60 14\n"
               "  picture 50 \"\" 70 44 16 8\n"
               "  edit 60 \"\" 2 60 20 14 hidden\n"
               "  button 61 \"Off\" 30 60 20 14 disabled\n"
               "  edit 62 \"\" 52 60 30 14 readonly\n"
               "  static 63 \"one two three\" 2 76 48 16\n"
               "end\n",
               "sample.rc.txt")
        .dialogs[0];
}

std::vector<Message> commandsOf(const Recorder& r) {
    std::vector<Message> out;
    for (const Message& m : r.messages)
        if (m.msg == WM_COMMAND)
            out.push_back(m);
    return out;
}

}  // namespace

TEST(Dialog, OpensWithInitAndClosesWithDestroy) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(r.initParam, reinterpret_cast<LPARAM>(&r));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].msg, (UINT)WM_INITDIALOG);
    EXPECT_EQ(findDialog(7), dlg);
    EXPECT_EQ(dialogCaption(dlg), "Sample");

    HWND edit = GetDlgItem(dlg, 10);
    oapiCloseDialog(dlg);
    EXPECT_EQ(r.messages.back().msg, (UINT)WM_DESTROY);
    EXPECT_EQ(findDialog(7), nullptr);
    // Handles of a closed dialog are dead, and every call on them is harmless.
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetDlgItem(dlg, 10), nullptr);
    char text[8] = "x";
    EXPECT_EQ(GetWindowTextA(edit, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(SetWindowTextA(edit, "y"));
    oapiCloseDialog(dlg);
    EXPECT_EQ(r.messages.back().msg, (UINT)WM_DESTROY);
    EXPECT_EQ(r.messages.size(), 2u);
}

TEST(Dialog, UserInputArrivesAsWindowMessages) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);

    EXPECT_EQ(typeText(dlg, 10, "300"), InputResult::Done);
    EXPECT_EQ(controlText(dlg, 10), "300");
    EXPECT_EQ(click(dlg, 20), InputResult::Done);
    EXPECT_EQ(check(dlg, 31), InputResult::Done);
    EXPECT_EQ(check(dlg, 40), InputResult::Done);

    auto commands = commandsOf(r);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].id, 10);
    EXPECT_EQ(commands[0].code, EN_CHANGE);
    EXPECT_EQ(commands[0].from, GetDlgItem(dlg, 10));
    EXPECT_EQ(commands[1].id, 20);
    EXPECT_EQ(commands[1].code, BN_CLICKED);
    EXPECT_EQ(commands[2].id, 31);
    EXPECT_EQ(commands[3].id, 40);

    // Radio groups: 31 and 32 form one, 33 starts another.
    EXPECT_TRUE(controlChecked(dlg, 31));
    EXPECT_FALSE(controlChecked(dlg, 32));
    EXPECT_EQ(check(dlg, 33), InputResult::Done);
    EXPECT_TRUE(controlChecked(dlg, 31));
    EXPECT_TRUE(controlChecked(dlg, 33));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 40), (UINT)BST_CHECKED);
    click(dlg, 40);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 40), (UINT)BST_UNCHECKED);

    // Input the window system would not deliver is refused without a message.
    size_t before = r.messages.size();
    EXPECT_EQ(typeText(dlg, 60, "x"), InputResult::Hidden);
    EXPECT_EQ(click(dlg, 61), InputResult::Disabled);
    EXPECT_EQ(typeText(dlg, 20, "x"), InputResult::WrongKind);
    EXPECT_EQ(check(dlg, 20), InputResult::WrongKind);
    EXPECT_EQ(click(dlg, 99), InputResult::NoControl);
    EXPECT_EQ(select(dlg, 41, "Venus"), InputResult::NoSuchEntry);
    EXPECT_EQ(r.messages.size(), before);
    ShowWindow(dlg, SW_HIDE);
    EXPECT_EQ(click(dlg, 20), InputResult::Hidden);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 20)));
    ShowWindow(dlg, SW_SHOW);

    oapiCloseDialog(dlg);
    EXPECT_EQ(click(dlg, 20), InputResult::NoDialog);
}

TEST(Dialog, ComboListsAndSelections) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    HWND combo = GetDlgItem(dlg, 41);
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "ISS"), 0);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 41, CB_ADDSTRING, 0, (LPARAM) "Mir"), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "mir"), 1);

    EXPECT_EQ(select(dlg, 41, "Mir"), InputResult::Done);
    EXPECT_EQ(commandsOf(r).back().code, CBN_SELCHANGE);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    char text[16];
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, (LPARAM)text), 3);
    EXPECT_STREQ(text, "Mir");
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 5, (LPARAM)text), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, (WPARAM)-1, (LPARAM)text), CB_ERR);

    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(comboSelection(dlg, 41), -1);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    oapiCloseDialog(dlg);
}

TEST(Dialog, ControlCallsFollowTheWindowSystem) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);

    char small[4];
    EXPECT_EQ(GetDlgItemTextA(dlg, 10, small, sizeof small), 3u);  // "start" cut to fit
    EXPECT_STREQ(small, "sta");
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dlg, 20)), 20);

    CheckRadioButton(dlg, 31, 33, 32);
    EXPECT_FALSE(controlChecked(dlg, 31));
    EXPECT_TRUE(controlChecked(dlg, 32));
    EXPECT_FALSE(controlChecked(dlg, 33));

    HWND button = GetDlgItem(dlg, 20);
    EXPECT_FALSE(EnableWindow(button, FALSE));  // was enabled
    EXPECT_TRUE(EnableWindow(button, TRUE));    // was disabled
    EXPECT_TRUE(IsWindowEnabled(button));
    EXPECT_TRUE(ShowWindow(dlg, SW_HIDE));
    EXPECT_FALSE(ShowWindow(dlg, SW_SHOWNORMAL));

    // Programmatic changes send no notifications, as in the window system.
    SetDlgItemTextA(dlg, 10, "quiet");
    CheckDlgButton(dlg, 40, BST_CHECKED);
    SendDlgItemMessageA(dlg, 41, CB_SETCURSEL, 0, 0);
    EXPECT_TRUE(commandsOf(r).empty());
    oapiCloseDialog(dlg);
}

TEST(Dialog, ReadOnlyEditsShowWhatTheModuleWrites) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    EXPECT_EQ(typeText(dlg, 62, "typed"), InputResult::WrongKind);
    EXPECT_TRUE(commandsOf(r).empty());
    EXPECT_TRUE(SetDlgItemTextA(dlg, 62, "7712.55"));
    EXPECT_EQ(controlText(dlg, 62), "7712.55");
    // A read-out written again with the text it shows keeps it; one that is a
    // prefix of it, or goes on past it, replaces it.
    for (const char* text : {"7712.55", "7712.5", "7712.55", "7712.550", "", "", "7"}) {
        SetDlgItemTextA(dlg, 62, text);
        EXPECT_EQ(controlText(dlg, 62), text);
    }

    // Drawn on the face colour with black text. A static two lines high wraps
    // at a blank: "three" does not fit the eight columns of line one.
    Surface s = renderDialog(dlg);
    const int top = 14;  // the caption bar
    EXPECT_EQ(s.pixel(53, top + 61), window::faceColour);
    auto inked = [&](int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (s.pixel(x, y) == Rgb{0, 0, 0})
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(54, top + 63, 28, 8));
    EXPECT_TRUE(inked(2, top + 76, 48, 8));  // "one two"
    EXPECT_TRUE(inked(2, top + 84, 48, 8));  // "three"
    oapiCloseDialog(dlg);
}

TEST(Dialog, RadioButtonsAreDrawnRoundAndCheckBoxesSquare) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    CheckDlgButton(dlg, 40, BST_CHECKED);
    const Surface s = renderDialog(dlg);
    const int top = 14 + 20 + (10 - 8) / 2;  // the caption bar, the row, the mark centred on the text line
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    // Radio 32 is checked, 31 is not: a disc with its rim, the corners of
    // its square left to the dialog's face, a dot in the middle when checked.
    for (int left : {2, 24}) {
        SCOPED_TRACE(left);
        EXPECT_EQ(s.pixel(left, top), window::faceColour) << "a radio button is not square";
        EXPECT_EQ(s.pixel(left + 8, top + 8), window::faceColour);
        EXPECT_NE(s.pixel(left, top + 4), window::faceColour) << "its rim";
        EXPECT_NE(s.pixel(left + 4, top), window::faceColour);
    }
    EXPECT_EQ(s.pixel(2 + 4, top + 4), white);
    EXPECT_EQ(s.pixel(24 + 4, top + 4), black);
    // The check box keeps its square frame and square mark.
    const int box = 14 + 32 + 1;
    EXPECT_NE(s.pixel(2, box), window::faceColour) << "a check box is square";
    EXPECT_NE(s.pixel(2 + 7, box + 7), window::faceColour);
    EXPECT_EQ(s.pixel(2 + 2, box + 2), black);
    oapiCloseDialog(dlg);
}

TEST(Dialog, PaintFollowsOpeningShowingAndInvalidating) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    auto paints = [&] {
        return std::count_if(r.messages.begin(), r.messages.end(), [](auto& m) { return m.msg == WM_PAINT; });
    };
    deliverPaintMessages();
    deliverPaintMessages();
    EXPECT_EQ(paints(), 1);
    ShowWindow(dlg, SW_HIDE);
    ShowWindow(dlg, SW_SHOW);
    InvalidateRect(dlg, nullptr, TRUE);
    deliverPaintMessages();
    EXPECT_EQ(paints(), 2);
    InvalidateRect(dlg, nullptr, TRUE);
    ShowWindow(dlg, SW_HIDE);
    deliverPaintMessages();  // hidden dialogs are not painted
    EXPECT_EQ(paints(), 2);
    oapiCloseDialog(dlg);
}

TEST(Dialog, ClosingFromInsideItsProcedureIsSafe) {
    Recorder r;
    r.closeOnClick = true;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    EXPECT_EQ(click(dlg, 20), InputResult::Done);
    EXPECT_EQ(findDialog(7), nullptr);
    EXPECT_EQ(r.messages.back().msg, (UINT)WM_DESTROY);

    // WM_CLOSE through the default procedure closes too.
    HWND second = openDialog(sampleDialog(), 0, recordingProc, &r);
    SendMessageA(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(second));
}

TEST(Dialog, PictureDrawingAndPngOutput) {
    Recorder r;
    HWND dlg = openDialog(sampleDialog(), 0, recordingProc, &r);
    HWND picture = GetDlgItem(dlg, 50);
    HDC dc = GetDC(picture);
    SetBkColor(dc, RGB(0, 0, 255));
    SetTextColor(dc, RGB(255, 255, 0));
    TextOutA(dc, 14, 0, "A", 1);  // only two of its six columns fit in the 16-pixel picture
    HDC memory = CreateCompatibleDC(0);
    EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(memory)), nullptr);  // not a bitmap handle
    DeleteDC(memory);
    ReleaseDC(picture, dc);

    const Surface* s = pictureSurface(dlg, 50);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width(), 16);
    EXPECT_EQ(s->pixel(14, 0), (Rgb{0, 0, 255}));  // glyph A row 0: ".###."
    EXPECT_EQ(s->pixel(15, 0), (Rgb{255, 255, 0}));

    std::string path =
        (std::filesystem::temp_directory_path() / ("tarvik-window-" + std::to_string(getpid()) + "-dialog.png"))
            .string();
    std::string problem;
    ASSERT_TRUE(writePng(dlg, path, &problem)) << problem;

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    Surface expected = renderDialog(dlg);
    EXPECT_EQ(static_cast<int>(image.width), 120);
    EXPECT_EQ(static_cast<int>(image.width), expected.width());
    EXPECT_EQ(static_cast<int>(image.height), expected.height());
    EXPECT_EQ(rgb, expected.rgb());
    // The picture's pixels appear in the image at the control's place below the caption bar.
    Rgb yellow{255, 255, 0};
    bool found = false;
    for (int y = 0; y < expected.height() && !found; ++y)
        found = expected.pixel(70 + 15, y) == yellow;
    EXPECT_TRUE(found);

    EXPECT_FALSE(writePng(dlg, "/nonexistent/dir/x.png", &problem));
    EXPECT_FALSE(problem.empty());
    oapiCloseDialog(dlg);
    EXPECT_FALSE(writePng(dlg, path, &problem));
    std::filesystem::remove(path);
}
