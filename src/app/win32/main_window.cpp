// WinMain and the main window of Velmora.exe.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/settings_file.h"
#include "convert/document_reset.h"
#include "platform/platform.h"
#include "store/document_store.h"
#include "convert/driver.h"

namespace {

constexpr char kClassName[] = "Velmora";
constexpr char kWindowTitle[] = "Velmora";

HINSTANCE g_instance = nullptr;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        InitCommonControls();
        velmora::ReadSettings(hwnd);
        velmora::ReadSxfData(hwnd);
        DragAcceptFiles(hwnd, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_CLOSE:
        velmora::FreeDocument();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wparam, lparam);
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
    // The menu resource arrives with the menus; until then the window simply has none.
    window_class.lpszMenuName = "resource";
    window_class.lpszClassName = kClassName;
    return RegisterClassA(&window_class) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int show_command) {
    // The window is sized from the desktop's height so it fits any screen the same way.
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int height = desktop.bottom - desktop.top;
    HWND hwnd = CreateWindowA(kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, static_cast<int>(0.2 * height),
                              static_cast<int>(0.15 * height), height, static_cast<int>(0.7 * height), nullptr,
                              nullptr, instance, nullptr);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, show_command);
    UpdateWindow(hwnd);
    return hwnd;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    g_instance = instance;
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND hwnd = CreateMainWindow(instance, show_command);
    if (!hwnd) return 0;

    if (!velmora::AllocateStoreTables()) {
        MessageBoxA(hwnd, "メモリーが確保できないため終了します", kWindowTitle, MB_OK | MB_ICONERROR);
        velmora::ReleaseStoreTables();
        return 1;
    }
    // Ghostscript's output goes beside the program; no PDF is chosen yet.
    velmora::SetIntermediateDirectory(velmora::ProgramDirectory().c_str());
    velmora::g_file_names.pdf_path[0] = '\0';
    velmora::g_file_names.pdf_stem[0] = '\0';

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    velmora::ReleaseStoreTables();
    return static_cast<int>(msg.wParam);
}
