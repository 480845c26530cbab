// The password box of a protected file, built from a template in memory: it belongs to the seam,
// which lies below the window's resource scripts.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace velmora {

namespace {

constexpr int kPasswordField = 101;
constexpr int kPasswordPrompt = 102;
constexpr int kPasswordBytes = 256;

// The template's words: DLGTEMPLATE and DLGITEMTEMPLATE records, each item on a DWORD boundary.
class DialogTemplate {
public:
    void Word(WORD value) { words_.push_back(value); }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<WORD>(c));
        Word(0);
    }
    void Align() {
        if (words_.size() % 2 != 0) Word(0);
    }
    void Long(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& text) {
        Align();
        Long(style | WS_CHILD | WS_VISIBLE);
        Long(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const WORD* Data() const { return words_.data(); }

private:
    std::vector<WORD> words_;
};

std::wstring Wide(const char* shift_jis) {
    const int length = MultiByteToWideChar(932, 0, shift_jis, -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(932, 0, shift_jis, -1, text.data(), length);
    text.resize(text.size() - 1);
    return text;
}

struct PasswordBox {
    std::wstring typed;
};

INT_PTR CALLBACK PasswordBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        SendDlgItemMessageW(dialog, kPasswordField, EM_LIMITTEXT, kPasswordBytes - 1, 0);
        SetFocus(GetDlgItem(dialog, kPasswordField));
        return FALSE;  // the focus is set
    }
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        if (LOWORD(wparam) == IDOK) {
            wchar_t text[kPasswordBytes] = L"";
            GetDlgItemTextW(dialog, kPasswordField, text, kPasswordBytes);
            reinterpret_cast<PasswordBox*>(GetWindowLongPtrW(dialog, DWLP_USER))->typed = text;
        }
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

PasswordAnswer AskPassword(WindowHandle window, bool after_wrong, std::string* password) {
    const std::wstring prompt =
        Wide(after_wrong ? "パスワードが違います。もう一度入力してください" : "パスワードで保護されたPDFです。パスワードを入力してください");
    DialogTemplate form;
    form.Long(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    form.Long(0);
    form.Word(4);  // items
    for (short v : {0, 0, 230, 70}) form.Word(static_cast<WORD>(v));
    form.Word(0);  // no menu
    form.Word(0);  // the standard class
    form.Text(Wide("パスワード"));
    form.Word(10);
    form.Text(Wide("ＭＳ ゴシック"));
    form.Item(SS_LEFT, 10, 8, 210, 20, kPasswordPrompt, 0x0082, prompt);
    form.Item(ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 30, 210, 13, kPasswordField, 0x0081, L"");
    form.Item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 50, 50, 55, 14, IDOK, 0x0080, L"OK");
    form.Item(BS_PUSHBUTTON | WS_TABSTOP, 125, 50, 55, 14, IDCANCEL, 0x0080, Wide("ｷｬﾝｾﾙ"));
    PasswordBox box;
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(form.Data()),
                                static_cast<HWND>(window), PasswordBoxProc, reinterpret_cast<LPARAM>(&box));
    if (result != IDOK) return PasswordAnswer::Cancelled;
    // Revision 5 and 6 passwords are UTF-8; the older ones are bytes, the same for ASCII.
    const int length = WideCharToMultiByte(CP_UTF8, 0, box.typed.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, box.typed.c_str(), -1, bytes.data(), length, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    *password = bytes;
    return PasswordAnswer::Given;
}

}  // namespace velmora
