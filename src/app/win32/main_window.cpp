// WinMain and the main window of Velmora.exe: each message is one call into the portable
// window code; the command table binds the commands to the window's own dialogs.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/program_name.h"
#include "settings/settings_file.h"
#include "app/window_commands.h"
#include "app/window_texts.h"
#include "app/win32/file_dialogs.h"
#include "app/win32/gdi_surface.h"
#include "app/win32/layer_dialog.h"
#include "app/win32/mouse_input.h"
#include "app/control_ids.h"
#include "app/win32/tool_dialogs.h"
#include "convert/document_reset.h"
#include "platform/platform.h"
#include "store/document_store.h"
#include "store/file_names.h"
#include "view/page_drawing.h"
#include "view/preview_state.h"

namespace velmora {

namespace {

constexpr int kToolbarButtons = 9;
constexpr int kToolbarPictureSize = 16;
// Right edges of the status bar's parts; the third takes the rest of the bar.
constexpr int kStatusPartEdges[] = {100, 600, -1};
constexpr int kStatusFontHeight = 14;
constexpr int kStatusTextBytes = 256;

HWND g_status_bar = nullptr;
HWND g_toolbar = nullptr;
// What the owner-drawn parts showed last; the parts carry these buffers as their data.
char g_status_texts[2][kStatusTextBytes];

void CloseMainWindow(WindowHandle window) { SendMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0); }

const WindowDialogs kDialogs = {
    ChoosePdfFile,      ChooseJwwFile,       ChooseReportFile,    CloseMainWindow,
    RunPageListCommand, RunLayerToolCommand, RunPenChangeCommand,
};

void CreateToolbar(HWND window, HINSTANCE instance) {
    const int commands[kToolbarButtons] = {kCommandOpenButton, kCommandSaveButton, kCommandBackTen,
                                           kCommandPrevious,   kCommandNext,       kCommandForwardTen,
                                           kCommandPageList,   kCommandLayerTool,  kCommandPenChange};
    TBBUTTON buttons[kToolbarButtons] = {};
    for (int i = 0; i < kToolbarButtons; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = commands[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
    }
    g_toolbar = CreateToolbarEx(window, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, IDC_TOOLBAR, kToolbarButtons,
                                instance, IDB_TOOLBAR, buttons, kToolbarButtons, kToolbarPictureSize,
                                kToolbarPictureSize, kToolbarPictureSize, kToolbarPictureSize, sizeof(TBBUTTON));
    // Separators after "save" and after "10 forward".
    TBBUTTON separator = {};
    separator.fsStyle = TBSTYLE_SEP;
    SendMessageA(g_toolbar, TB_INSERTBUTTONA, 2, reinterpret_cast<LPARAM>(&separator));
    SendMessageA(g_toolbar, TB_INSERTBUTTONA, 7, reinterpret_cast<LPARAM>(&separator));
}

void CreateStatusBar(HWND window, HINSTANCE instance) {
    g_status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0,
                                   0, 0, window, reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance, nullptr);
    int edges[3];
    std::memcpy(edges, kStatusPartEdges, sizeof edges);
    SendMessageA(g_status_bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    for (WPARAM part = 0; part < 2; ++part) {
        SendMessageA(g_status_bar, SB_SETTEXTA, part | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(g_status_texts[part]));
    }
}

void OnCreate(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    InitCommonControls();
    CreateStatusBar(window, instance);
    CreateToolbar(window, instance);
    // Started by "Open with" or another program, the current folder is rarely the program's own.
    g_settings_fallback_directory = ProgramDirectory();
    ReadSettings(window);
    ReadSxfData(window);
    static std::string source;  // the status bar keeps the pointer
    source = SettingsSourceText();
    SendMessageA(g_status_bar, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(source.c_str()));
    DragAcceptFiles(window, TRUE);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    static GdiSurface surface;  // large (the batch of segments); one paint at a time
    BeginGdiSurface(&surface, dc);
    PaintPreview(window, GdiDrawingSurface(&surface), ClientSize{client.right - client.left, client.bottom - client.top});
    EndGdiSurface(&surface);
    EndPaint(window, &paint);
}

// Parts 0 and 1 of the status bar: the route in its colour, the page line in black.
LRESULT OnDrawItem(const DRAWITEMSTRUCT* item) {
    if (item->CtlID != IDC_STATUS_BAR) return 0;
    const int part = static_cast<int>(item->itemID);
    char* text = part >= 0 && part < 2 ? g_status_texts[part] : nullptr;
    if (text == nullptr) return 1;
    COLORREF colour = RGB(0, 0, 0);
    text[0] = '\0';
    if (part == 0) {
        RouteLabel label;
        if (RouteStatus(g_store.conversion_route, &label)) {
            std::strncpy(text, label.text, kStatusTextBytes - 1);
            colour = RGB(label.colour.red, label.colour.green, label.colour.blue);
        }
    } else {
        std::strncpy(text, PageStatusText().c_str(), kStatusTextBytes - 1);
    }
    text[kStatusTextBytes - 1] = '\0';
    HFONT font = CreateFontA(kStatusFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN,
                             "ＭＳ ゴシック");
    HGDIOBJ previous = SelectObject(item->hDC, font);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, colour);
    TextOutA(item->hDC, item->rcItem.left, item->rcItem.top, text, static_cast<int>(std::strlen(text)));
    SelectObject(item->hDC, previous);
    DeleteObject(font);
    return 1;
}

void OnNotify(NMHDR* header) {
    const int string_id = TooltipStringId(static_cast<int>(header->idFrom));
    if (string_id == 0) return;
    if (header->code == TTN_NEEDTEXTA) {
        TOOLTIPTEXTA* tip = reinterpret_cast<TOOLTIPTEXTA*>(header);
        tip->hinst = GetModuleHandleA(nullptr);
        tip->lpszText = MAKEINTRESOURCEA(string_id);
    } else if (header->code == TTN_NEEDTEXTW) {
        // A toolbar that speaks Unicode asks this way; the same string resource answers.
        TOOLTIPTEXTW* tip = reinterpret_cast<TOOLTIPTEXTW*>(header);
        tip->hinst = GetModuleHandleA(nullptr);
        tip->lpszText = MAKEINTRESOURCEW(string_id);
    }
}

void OnDropFiles(HWND window, HDROP drop) {
    const int count = static_cast<int>(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
    char path[kPathBytes] = "";
    if (count > 0) DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    DropFiles(window, count, path);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(window);
            return 0;
        case WM_SIZE:
            SendMessageA(g_status_bar, WM_SIZE, wparam, lparam);
            SendMessageA(g_toolbar, WM_SIZE, wparam, lparam);
            return 0;
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_CLOSE:
            FreeDocument();
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_DRAWITEM:
            return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        case WM_NOTIFY:
            OnNotify(reinterpret_cast<NMHDR*>(lparam));
            return 0;
        case WM_COMMAND:
            RunCommand(window, LOWORD(wparam), kDialogs);
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEWHEEL:
            OnMouseMessage(window, message, wparam, lparam);
            return 0;
        case WM_DROPFILES:
            OnDropFiles(window, reinterpret_cast<HDROP>(wparam));
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = MainWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, "MYICON");
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszMenuName = "resource";
    window_class.lpszClassName = kProgramName;
    return RegisterClassA(&window_class) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int show_command) {
    // The window is sized from the desktop's height so it fits any screen the same way.
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int height = desktop.bottom - desktop.top;
    HWND window = CreateWindowA(kProgramName, kProgramName, WS_OVERLAPPEDWINDOW, static_cast<int>(0.2 * height),
                                static_cast<int>(0.15 * height), height, static_cast<int>(0.7 * height), nullptr,
                                nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    ShowWindow(window, show_command);
    UpdateWindow(window);
    return window;
}

}  // namespace

}  // namespace velmora

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    using namespace velmora;
    // Start values of the run (zoom 1, fit pending, tools idle) before the first paint.
    ResetForFile();
    ResetPreviewState();
    ResetViewAndToolsForFile();
    g_file_names.pdf_path[0] = '\0';
    g_file_names.pdf_stem[0] = '\0';
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance, show_command);
    if (window == nullptr) return 0;

    if (!AllocateStoreTables()) {
        MessageBoxA(window, "メモリーが確保できないため終了します", kProgramName, MB_OK | MB_ICONERROR);
        ReleaseStoreTables();
        return 1;
    }
    // Ghostscript's output goes beside the program.
    SetIntermediateDirectory(ProgramDirectory().c_str());
    // "Velmora.exe plan.pdf" (also "Open with" and a drop on the program's icon) opens the file
    // as a drop on the window would.
    if (__argc > 1) DropFiles(window, __argc - 1, __argv[1]);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsLayerToolMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ReleaseStoreTables();
    return static_cast<int>(msg.wParam);
}
