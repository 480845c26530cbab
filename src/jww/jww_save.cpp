#include "jww/jww_save.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "jww/jww_writer.h"
#include "store/document_store.h"
#include "store/file_names.h"
#include "settings/settings.h"

namespace velmora {

namespace {

constexpr char kErrorTitle[] = "エラー";
constexpr char kSxfMissing[] = "JWsxf.dat ファイルが見つかりません ";
constexpr char kSxfBroken[] = "JWsxf.dat の内容が正しくないため JWW ファイルを保存できません";
constexpr char kOpenFailedTitle[] = "ファイルオープンに失敗しました。\n";
constexpr char kWriteFailedTitle[] = "ファイルの書き込みに失敗しました。";

}  // namespace

bool BeginJwwSave(WindowHandle window) {
    if (g_settings.sxf_length < 0) {
        ShowMessage(window, kSxfMissing, kErrorTitle, MessageButtons::Ok);
        return false;
    }
    // Any other content would be copied into every file and make it unreadable.
    if (g_settings.sxf_length > kSxfDataCapacity || !SxfBlockIsValid(g_settings.sxf_data, g_settings.sxf_length)) {
        ShowMessage(window, kSxfBroken, kErrorTitle, MessageButtons::Ok);
        return false;
    }
    if (g_store.conversion.text_count != 0) MarkDuplicateTexts();
    return true;
}

bool JwwDefaultFileName(char* name, size_t size) {
    if (name == nullptr || size == 0) return false;
    const char* stem = g_file_names.pdf_stem;
    size_t stem_length = 0;
    while (stem_length < sizeof g_file_names.pdf_stem && stem[stem_length] != '\0') ++stem_length;
    if (stem_length >= size) {
        name[0] = '\0';
        return false;
    }
    std::memcpy(name, stem, stem_length);
    name[stem_length] = '\0';
    if (g_store.page_count <= 1) return true;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%02d", g_store.current_page);
    const size_t suffix_length = std::strlen(suffix);
    if (stem_length + suffix_length >= size) return false;
    std::memcpy(name + stem_length, suffix, suffix_length + 1);
    return true;
}

bool WriteJwwFile(WindowHandle window, const char* path, int page) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        // Reported and returned instead of ending the program, which would lose the page's edits.
        ShowMessage(window, path, kOpenFailedTitle, MessageButtons::Ok);
        return false;
    }
    const bool written = WriteJww(file, page);
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::remove(path);
    ShowMessage(window, path, kWriteFailedTitle, MessageButtons::Ok);
    return false;
}

bool SaveJwwPage(WindowHandle window, const char* path, int page) {
    return BeginJwwSave(window) && WriteJwwFile(window, path, page);
}

}  // namespace velmora
