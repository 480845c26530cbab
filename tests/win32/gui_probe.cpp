// velmora_gui_probe.exe: test equipment that drives a running Velmora.exe under Wine the way a
// user's actions reach it - posted commands, mouse and wheel messages, a dropped HDROP - and
// reads what the user sees: message boxes (answered), file dialogs (a name typed in), the status
// bar. Never shipped. Steps run in the order given; every wait times out and fails.
//
//   wait-window                  the main window (class and title "Velmora")
//   command ID                   WM_COMMAND as the menu and toolbar send it
//   answer TITLE BUTTON          a message box titled TITLE: prints its text, presses ok|yes|no|cancel
//   answer-after-errors TITLE BUTTON   the same, answering OK to the error and information boxes
//                                shown before it (each printed as a message)
//   file TITLE PATH              a file dialog titled TITLE: PATH typed in, OK pressed
//   drop PATH...                 WM_DROPFILES with an HDROP built inside Velmora's process
//   expect-status PART TEXT      status bar part 0 or 1 shows TEXT (as last drawn)
//   mouse KIND X Y KEYS          KIND l-down|l-up|r-down|r-up|move at client X, Y; KEYS: l, r, lr or -
//   wheel DELTA X Y              WM_MOUSEWHEEL at client X, Y
//   client                       prints "client SCREEN_X SCREEN_Y WIDTH HEIGHT"
//   settle                       the window has handled what was sent and painted
//   no-dialog                    fails when a message box or dialog of Velmora is open
//   time-paint N                 N whole repaints of the window, each timed (milliseconds)
//   dialog TITLE                 waits for Velmora's dialog titled TITLE; text, set-text, click,
//                                checks, rows and gone act on it
//   press TITLE ID               its control ID clicked (a check box changes its check first)
//   select-row TITLE ID ROW      its list box ID's row ROW selected, as a click selects it
//   control TITLE ID             prints the control's text ("control ID: TEXT")
//   list-row TITLE ID ROW        prints a row of its list box ("row ROW: TEXT")
//   enabled TITLE ID             prints whether the control is enabled ("enabled ID: 0|1")
//   move-dialog TITLE X Y        moves the dialog's top-left corner to screen X, Y
//   dialog-rect TITLE            prints "dialog at LEFT TOP RIGHT BOTTOM" (screen coordinates)
//   close                        WM_CLOSE
//   text ID                      prints the text of the dialog's control ID
//   set-text ID TEXT             types TEXT into the dialog's control ID
//   click ID                     clicks the dialog's button (or radio button) ID
//   checks FIRST LAST            prints which of the buttons FIRST..LAST are checked
//   rows ID                      prints the rows of the dialog's list box ID and the selected row
//   gone                         waits until the dialog has closed
//
// Output: one line per observation, UTF-8. Exit status 0 when every step passed. A failing step
// closes Velmora's open dialogs and message boxes first, so no modal loop is left waiting.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMilliseconds = 30000;
constexpr DWORD kPollMilliseconds = 100;
constexpr UINT kClickMilliseconds = 2000;
constexpr int kStatusBytes = 256;
constexpr int kFileNameCombo = 0x47c;  // cmb13 of the Explorer-style file dialog
constexpr int kFileNameEdit = 0x480;   // edt1 of the old-style one

HWND g_main = nullptr;
DWORD g_process_id = 0;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return "";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

void Say(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

[[noreturn]] void Fail(const std::string& why);

std::wstring TextOf(HWND window) {
    wchar_t text[2048] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

// Visible top-level windows of Velmora's process other than the main window.
std::vector<HWND> VelmoraDialogs() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == g_process_id && window != g_main && IsWindowVisible(window) &&
                ClassOf(window) == L"#32770") {
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Cancel, then No (a yes/no box has no Cancel), for every dialog still open, innermost first.
void CloseDialogs() {
    for (int round = 0; round < 5; ++round) {
        const std::vector<HWND> open = VelmoraDialogs();
        if (open.empty()) return;
        for (HWND dialog : open) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        }
        Sleep(500);
    }
}

[[noreturn]] void Fail(const std::string& why) {
    Say("FAIL: " + why);
    for (HWND dialog : VelmoraDialogs()) Say("  open dialog: " + Utf8(TextOf(dialog)));
    CloseDialogs();
    std::exit(1);
}

void Answer(HWND dialog, const std::wstring& title, const std::wstring& button);

// The dialog titled `title`; with `errors_first`, error boxes that come before it are answered.
HWND WaitForDialog(const std::wstring& title, bool errors_first = false) {
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        for (HWND dialog : VelmoraDialogs()) {
            const std::wstring text = TextOf(dialog);
            if (text == title) return dialog;
            if (errors_first && (text == L"エラー" || text == L"情報")) {
                Answer(dialog, text, L"ok");
                waited = 0;
            }
        }
        Sleep(kPollMilliseconds);
    }
    Fail("no dialog titled " + Utf8(title) + " within 30 s");
}

void WaitUntilGone(HWND window) {
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return;
        Sleep(kPollMilliseconds);
    }
    Fail("dialog " + Utf8(TextOf(window)) + " did not close");
}

void Settle() {
    // Sent messages wait until the window's thread has handled what was posted before them;
    // the pause lets the paints that follow run.
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &result)) {
            Fail("the window does not answer");
        }
        Sleep(150);
    }
}

void WaitWindow() {
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        g_main = FindWindowW(L"Velmora", L"Velmora");
        if (g_main != nullptr && IsWindowVisible(g_main)) {
            GetWindowThreadProcessId(g_main, &g_process_id);
            Say("window found");
            return;
        }
        Sleep(kPollMilliseconds);
    }
    Fail("no window titled Velmora within 30 s");
}

void Answer(HWND dialog, const std::wstring& title, const std::wstring& button) {
    std::wstring text;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            if (ClassOf(child) == L"Static") {
                const std::wstring piece = TextOf(child);
                auto* all = reinterpret_cast<std::wstring*>(data);
                if (!piece.empty()) *all += (all->empty() ? L"" : L"|") + piece;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    Say("message " + Utf8(title) + ": " + Utf8(text));
    int id = IDOK;
    if (button == L"yes") id = IDYES;
    if (button == L"no") id = IDNO;
    if (button == L"cancel") id = IDCANCEL;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    WaitUntilGone(dialog);
}

void TypeFileName(const std::wstring& title, const std::wstring& path) {
    HWND dialog = WaitForDialog(title);
    // The name field is the only edit control, inside the name combo box (or on its own in the
    // old-style dialog).
    HWND field = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            const int id = GetDlgCtrlID(child);
            if (ClassOf(child) == L"Edit" && (id == kFileNameCombo || id == kFileNameEdit)) {
                *reinterpret_cast<HWND*>(data) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&field));
    if (field == nullptr) {
        EnumChildWindows(
            dialog,
            [](HWND child, LPARAM) -> BOOL {
                Say("  control " + std::to_string(GetDlgCtrlID(child)) + " " + Utf8(ClassOf(child)) + " '" +
                    Utf8(TextOf(child)) + "'");
                return TRUE;
            },
            0);
        Fail("no file name field in " + Utf8(title));
    }
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitUntilGone(dialog);
    Say("file " + Utf8(title) + ": " + Utf8(path));
}

// The HDROP lives in Velmora's memory, where DragQueryFile reads it: a fixed block holding
// DROPFILES and the code page 932 names, each NUL-terminated, then one more NUL.
void Drop(const std::vector<std::wstring>& paths) {
    std::string names;
    for (const std::wstring& path : paths) {
        char bytes[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
        names += bytes;
        names += '\0';
    }
    names += '\0';
    DROPFILES header = {};
    header.pFiles = sizeof header;
    header.fWide = FALSE;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block += names;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, g_process_id);
    if (process == nullptr) Fail("cannot open Velmora's process");
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    if (remote == nullptr || !WriteProcessMemory(process, remote, block.data(), block.size(), &written)) {
        Fail("cannot write the drop into Velmora's process");
    }
    CloseHandle(process);
    PostMessageW(g_main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    Say("dropped " + std::to_string(paths.size()) + " file(s)");
}

HWND StatusBar() {
    HWND bar = FindWindowExW(g_main, nullptr, STATUSCLASSNAMEW, nullptr);
    if (bar == nullptr) Fail("no status bar");
    return bar;
}

// An owner-drawn part's data is the address of the text the window drew last in it.
std::wstring StatusText(int part) {
    DWORD_PTR address = 0;
    SendMessageTimeoutW(StatusBar(), SB_GETTEXTW, part, 0, SMTO_NORMAL, kWaitMilliseconds, &address);
    if (address == 0) return L"(no text)";
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, g_process_id);
    char bytes[kStatusBytes + 1] = "";
    SIZE_T read = 0;
    if (process == nullptr || !ReadProcessMemory(process, reinterpret_cast<void*>(address), bytes, kStatusBytes, &read)) {
        Fail("cannot read the status bar's text");
    }
    CloseHandle(process);
    bytes[kStatusBytes] = '\0';
    wchar_t wide[kStatusBytes + 1] = L"";
    MultiByteToWideChar(932, 0, bytes, -1, wide, kStatusBytes + 1);
    return wide;
}

void ExpectStatus(int part, const std::wstring& expected) {
    std::wstring seen;
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        InvalidateRect(StatusBar(), nullptr, TRUE);
        Settle();
        seen = StatusText(part);
        if (seen == expected) {
            Say("status" + std::to_string(part) + " " + Utf8(seen));
            return;
        }
    }
    Fail("status part " + std::to_string(part) + " shows '" + Utf8(seen) + "', expected '" + Utf8(expected) + "'");
}

void Mouse(const std::wstring& kind, int x, int y, const std::wstring& keys) {
    UINT message = WM_MOUSEMOVE;
    if (kind == L"l-down") message = WM_LBUTTONDOWN;
    if (kind == L"l-up") message = WM_LBUTTONUP;
    if (kind == L"r-down") message = WM_RBUTTONDOWN;
    if (kind == L"r-up") message = WM_RBUTTONUP;
    WPARAM held = 0;
    if (keys.find(L'l') != std::wstring::npos) held |= MK_LBUTTON;
    if (keys.find(L'r') != std::wstring::npos) held |= MK_RBUTTON;
    PostMessageW(g_main, message, held, MAKELPARAM(x, y));
}

void Wheel(int delta, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(g_main, &at);
    PostMessageW(g_main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(at.x, at.y));
}

// From the invalidation until the window has finished painting: its update region empties when
// the paint begins, and a message sent after that is handled only when the paint has ended.
void TimePaint(int repeats) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::string times;
    for (int i = 0; i < repeats; ++i) {
        Settle();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        InvalidateRect(g_main, nullptr, TRUE);
        for (DWORD waited = 0; GetUpdateRect(g_main, nullptr, FALSE); ++waited) {
            if (waited > kWaitMilliseconds * 10) Fail("the window did not begin to paint");
            Sleep(0);
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, 10 * kWaitMilliseconds, &result);
        QueryPerformanceCounter(&end);
        times += " " + std::to_string((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
    }
    Say("paint ms:" + times);
}

HWND g_dialog = nullptr;  // the dialog the text, set-text, click, checks, rows and gone steps act on

HWND Control(HWND dialog, int id) {
    if (dialog == nullptr || !IsWindow(dialog)) Fail("no dialog for control " + std::to_string(id));
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) Fail("no control " + std::to_string(id) + " in " + Utf8(TextOf(dialog)));
    return control;
}

HWND Control(int id) { return Control(g_dialog, id); }

std::wstring ListRow(HWND dialog, int id, int row) {
    HWND list = Control(dialog, id);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXTLEN, row, 0, SMTO_NORMAL, kWaitMilliseconds, &length);
    if (static_cast<LRESULT>(length) == LB_ERR) Fail("no row " + std::to_string(row));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageTimeoutW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, kWaitMilliseconds,
                        &length);
    text.resize(static_cast<size_t>(length));
    return text;
}

void Rows(int id) {
    HWND list = Control(id);
    DWORD_PTR count = 0;
    DWORD_PTR selected = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &count);
    SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &selected);
    for (int row = 0; row < static_cast<int>(count); ++row) {
        Say("row " + std::to_string(row) + ": " + Utf8(ListRow(g_dialog, id, row)));
    }
    Say("selected " + std::to_string(static_cast<int>(selected)));
}

// Sent, as for a click: the dialog has answered the change when the next step looks (a page list
// that closes on the click returns at once).
void SelectRow(HWND dialog, int id, int row) {
    HWND list = Control(dialog, id);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, LB_SETCURSEL, row, 0, SMTO_NORMAL, kWaitMilliseconds, &result);
    if (static_cast<LRESULT>(result) == LB_ERR) Fail("no row " + std::to_string(row));
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list),
                        SMTO_NORMAL, kClickMilliseconds, &result);
    Say("selected row " + std::to_string(row));
}

void Checks(int first, int last) {
    std::string line = "checked";
    for (int id = first; id <= last; ++id) {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(Control(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &state);
        if (state == BST_CHECKED) line += " " + std::to_string(id);
    }
    Say(line);
}

// Clicks reach a modeless dialog as its procedure sees them: the control's notification in WM_COMMAND.
void Press(HWND dialog, int id) {
    HWND control = Control(dialog, id);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) {
        const LRESULT checked = SendMessageW(control, BM_GETCHECK, 0, 0);
        SendMessageW(control, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    Say("pressed " + std::to_string(id));
}

void SayDialogRect(HWND dialog) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    Say("dialog at " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) +
        " " + std::to_string(rect.bottom));
}

void Client() {
    RECT client;
    GetClientRect(g_main, &client);
    POINT origin = {0, 0};
    ClientToScreen(g_main, &origin);
    Say("client " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " + std::to_string(client.right) +
        " " + std::to_string(client.bottom));
}

}  // namespace

int main() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args(argv + 1, argv + count);
    size_t at = 0;
    auto next = [&]() -> std::wstring {
        if (at >= args.size()) Fail("a step lacks its arguments");
        return args[at++];
    };
    auto number = [&]() { return static_cast<int>(std::wcstol(next().c_str(), nullptr, 10)); };
    while (at < args.size()) {
        const std::wstring step = next();
        if (step != L"wait-window" && g_main == nullptr) Fail("wait-window must come first");
        if (step == L"wait-window") {
            WaitWindow();
        } else if (step == L"command") {
            const int id = number();
            PostMessageW(g_main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
            Say("command " + std::to_string(id));
        } else if (step == L"answer" || step == L"answer-after-errors") {
            const std::wstring title = next();
            const std::wstring button = next();
            Answer(WaitForDialog(title, step == L"answer-after-errors"), title, button);
        } else if (step == L"file") {
            const std::wstring title = next();
            TypeFileName(title, next());
        } else if (step == L"drop") {
            std::vector<std::wstring> paths;
            while (at < args.size() && args[at].find(L'\\') != std::wstring::npos) paths.push_back(args[at++]);
            Drop(paths);
        } else if (step == L"expect-status") {
            const int part = number();
            ExpectStatus(part, next());
        } else if (step == L"mouse") {
            const std::wstring kind = next();
            const int x = number();
            const int y = number();
            Mouse(kind, x, y, next());
        } else if (step == L"wheel") {
            const int delta = number();
            const int x = number();
            Wheel(delta, x, number());
        } else if (step == L"client") {
            Client();
        } else if (step == L"settle") {
            Settle();
        } else if (step == L"no-dialog") {
            Settle();
            if (!VelmoraDialogs().empty()) Fail("a dialog is open");
            Say("no dialog open");
        } else if (step == L"time-paint") {
            TimePaint(number());
        } else if (step == L"dialog") {
            g_dialog = WaitForDialog(next());
            Say("dialog " + Utf8(TextOf(g_dialog)));
        } else if (step == L"press") {
            HWND dialog = WaitForDialog(next());
            Press(dialog, number());
        } else if (step == L"select-row") {
            HWND dialog = WaitForDialog(next());
            const int id = number();
            SelectRow(dialog, id, number());
        } else if (step == L"control") {
            HWND dialog = WaitForDialog(next());
            const int id = number();
            Settle();
            Say("control " + std::to_string(id) + ": " + Utf8(TextOf(Control(dialog, id))));
        } else if (step == L"list-row") {
            HWND dialog = WaitForDialog(next());
            const int id = number();
            const int row = number();
            Settle();
            Say("row " + std::to_string(row) + ": " + Utf8(ListRow(dialog, id, row)));
        } else if (step == L"enabled") {
            HWND dialog = WaitForDialog(next());
            const int id = number();
            Settle();
            Say("enabled " + std::to_string(id) + ": " + (IsWindowEnabled(Control(dialog, id)) ? "1" : "0"));
        } else if (step == L"move-dialog") {
            HWND dialog = WaitForDialog(next());
            const int x = number();
            const int y = number();
            SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SayDialogRect(dialog);
        } else if (step == L"dialog-rect") {
            SayDialogRect(WaitForDialog(next()));
        } else if (step == L"close") {
            PostMessageW(g_main, WM_CLOSE, 0, 0);
            Say("close");
        } else if (step == L"text") {
            const int id = number();
            Say("text " + std::to_string(id) + ": " + Utf8(TextOf(Control(id))));
        } else if (step == L"set-text") {
            const int id = number();
            const std::wstring text = next();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                                kWaitMilliseconds, &result);
            Say("typed " + std::to_string(id) + ": " + Utf8(text));
        } else if (step == L"click") {
            const int id = number();
            // Sent, so what the click does has happened when the next step looks; a click that
            // opens a message box holds the probe only until the timeout.
            DWORD_PTR result = 0;
            SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, kClickMilliseconds, &result);
            Say("clicked " + std::to_string(id));
        } else if (step == L"checks") {
            const int first = number();
            Checks(first, number());
        } else if (step == L"rows") {
            Rows(number());
        } else if (step == L"gone") {
            if (g_dialog != nullptr) WaitUntilGone(g_dialog);
            g_dialog = nullptr;
            Say("dialog closed");
        } else {
            Fail("unknown step " + Utf8(step));
        }
    }
    return 0;
}
