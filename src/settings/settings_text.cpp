#include "settings/settings_text.h"

#include <cstdint>
#include <cstring>

#include "settings/settings.h"

namespace velmora {

namespace {

using Line = std::string_view;

constexpr size_t kColourNumbers = 3;
constexpr size_t kWidthNumbers = 4;
constexpr int kLargestColourValue = 255;
constexpr int kLargestPenWidth = 255;
constexpr size_t kKeywordNumbersFrom = 9;   // LCOLLOR_x, PCOLLOR_x, FontColor: the 10th character
constexpr size_t kWheelNumberFrom = 5;      // WHEEL: the 6th character
constexpr size_t kPdfLayerNumberFrom = 8;   // PDFLAYER: the 9th character
constexpr size_t kPdfScaleNumberFrom = 8;   // PDFSCALE: the 9th character
constexpr size_t kArcNumberFrom = 3;        // ARC: the 4th character
constexpr size_t kFontChangeFieldFrom = 10;
constexpr size_t kFontDefaultFieldFrom = 11;
constexpr int kReversedWheel = 2;
constexpr size_t kSolidNumberFrom = 5;      // SOLID: the 6th character
constexpr size_t kTextMergeNumberFrom = 9;  // TEXTMERGE: the 10th character
constexpr size_t kTextVerticalNumberFrom = 12;  // TEXTVERTICAL: the 13th character

// A line ends at CR, CR LF or LF; LF alone counts too, so files saved with Unix line ends work.
size_t LineLength(std::string_view rest) {
    const size_t end = rest.find_first_of("\r\n");
    return end == std::string_view::npos ? rest.size() : end;
}

// Bytes from the line's start to the next line's start; always past the line end, so reading
// moves forward on every line.
size_t PastLineEnd(std::string_view rest, size_t length) {
    if (length >= rest.size()) return rest.size();
    if (rest[length] == '\r' && length + 1 < rest.size() && rest[length + 1] == '\n') return length + 2;
    return length + 1;
}

// Keywords are matched case-sensitively at the line's first character.
bool HasKeyword(Line line, std::string_view keyword) { return line.substr(0, keyword.size()) == keyword; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads up to `wanted` numbers from `from` on: every non-digit before a number separates it, so
// no number is negative. The search stops at the line end; the count found is returned, and a
// line with too few numbers is then ignored instead of borrowing them from the next lines.
size_t ReadNumbers(Line line, size_t from, int32_t* values, size_t wanted) {
    size_t found = 0;
    size_t p = from;
    while (found < wanted) {
        while (p < line.size() && !IsDigit(line[p])) ++p;
        if (p >= line.size()) break;
        int32_t value = 0;
        for (; p < line.size() && IsDigit(line[p]); ++p) {
            value = value * 10 + (line[p] - '0');
            if (value > kNumberCeiling) value = kNumberCeiling;
        }
        values[found++] = value;
    }
    return found;
}

// Screen colour entry named by the 9th character: pens 1..8, B background, H scale marks.
int ScreenColourIndex(char name) {
    if (name >= '1' && name <= '8') return name - '0';
    if (name == 'B') return kScreenColourBackground;
    if (name == 'H') return kScreenColourScaleMarks;
    return -1;
}

void ApplyScreenColour(Line line) {
    if (line.size() <= kKeywordNumbersFrom - 1) return;
    const int index = ScreenColourIndex(line[kKeywordNumbersFrom - 1]);
    int32_t rgb[kColourNumbers];
    if (index < 0 || ReadNumbers(line, kKeywordNumbersFrom, rgb, kColourNumbers) < kColourNumbers) return;
    for (int32_t value : rgb) {
        if (value > kLargestColourValue) return;
    }
    g_settings.screen_colours[index] = Rgb{rgb[0], rgb[1], rgb[2]};
}

void ApplyPenWidth(Line line) {
    if (line.size() <= kKeywordNumbersFrom - 1) return;
    const char pen = line[kKeywordNumbersFrom - 1];
    int32_t numbers[kWidthNumbers];
    if (pen < '1' || pen > '8' || ReadNumbers(line, kKeywordNumbersFrom, numbers, kWidthNumbers) < kWidthNumbers) {
        return;
    }
    // Only the fourth number is a width; the first three are read and not used.
    const int32_t width = numbers[kWidthNumbers - 1];
    if (width >= 1 && width <= kLargestPenWidth) g_settings.pen_widths[pen - '1'] = width;
}

void ApplyTextPen(Line line) {
    int32_t pen = 0;
    if (ReadNumbers(line, kKeywordNumbersFrom, &pen, 1) == 1 && pen >= 1 && pen <= kPenCount) g_settings.text_pen = pen;
}

void ApplySolid(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kSolidNumberFrom, &value, 1) == 1) g_settings.solid_fills = value == 1 ? 1 : 0;
}

// TEXTMERGE 1 joins the glyphs a producer placed one by one into the strings they spell.
void ApplyTextMerge(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kTextMergeNumberFrom, &value, 1) == 1) g_settings.text_merge = value == 1 ? 1 : 0;
}

// TEXTVERTICAL 1 writes vertical fonts' strings and glyphs stacked one under another as vertical
// texts (縦字).
void ApplyTextVertical(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kTextVerticalNumberFrom, &value, 1) == 1) g_settings.text_vertical = value == 1 ? 1 : 0;
}

void ApplyWheel(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kWheelNumberFrom, &value, 1) == 1) g_settings.wheel_direction = value == kReversedWheel ? 1 : -1;
}

void ApplyPdfLayers(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kPdfLayerNumberFrom, &value, 1) == 1) g_settings.pdf_layers = value == 1 ? 1 : 0;
}

// PDFSCALE 1: the window offers the scale a PDF states and the report lists it; 0 (or no line): neither.
void ApplyStatedScaleKey(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kPdfScaleNumberFrom, &value, 1) == 1) g_settings.stated_scale = value == 1 ? 1 : 0;
}

// ARC 1 keeps curves that trace circles and ellipses as arcs; ARC 0 (or no line) flattens them.
void ApplyArcs(Line line) {
    int32_t value = 0;
    if (ReadNumbers(line, kArcNumberFrom, &value, 1) == 1) g_settings.arcs = value == 1 ? 1 : 0;
}

// The part of the line after the keyword; of a longer part only its last 295 bytes count.
std::string_view SlashPart(Line line, size_t from) {
    if (from >= line.size()) return {};
    std::string_view part = line.substr(from);
    if (part.size() > kSlashFieldWindow) part.remove_prefix(part.size() - kSlashFieldWindow);
    return part;
}

// A field is stored only whole: a name cut to its 256-byte slot would be another name, and an
// inner NUL would shorten it (an empty fragment would match every font).
bool FitsSlot(std::string_view field) {
    return !field.empty() && field.size() < static_cast<size_t>(kSettingTextBytes) &&
           field.find('\0') == std::string_view::npos;
}

void CopyToSlot(std::string_view field, char* slot) {
    std::memcpy(slot, field.data(), field.size());
    slot[field.size()] = '\0';
}

void ApplyFontChange(Line line) {
    const std::string_view part = SlashPart(line, kFontChangeFieldFrom);
    const size_t first = part.find('/');
    if (first == std::string_view::npos) return;
    const size_t second = part.find('/', first + 1);
    if (second == std::string_view::npos) return;
    const std::string_view fragment = part.substr(first + 1, second - first - 1);
    const std::string_view name = part.substr(second + 1);
    if (!FitsSlot(fragment) || !FitsSlot(name)) return;
    if (g_settings.font_change_count < 0 || g_settings.font_change_count >= kFontChangeCapacity) return;
    CopyToSlot(fragment, g_settings.font_change_pdf[g_settings.font_change_count]);
    CopyToSlot(name, g_settings.font_change_jww[g_settings.font_change_count]);
    ++g_settings.font_change_count;
}

void ApplyFontDefault(Line line) {
    const std::string_view part = SlashPart(line, kFontDefaultFieldFrom);
    const size_t slash = part.find('/');
    if (slash == std::string_view::npos || part.find('/', slash + 1) != std::string_view::npos) return;
    const std::string_view name = part.substr(slash + 1);
    if (FitsSlot(name)) CopyToSlot(name, g_settings.font_default);
}

void ApplyLine(Line line) {
    // "FontDefault" is recognised by its first ten characters, as the window program does.
    if (HasKeyword(line, "LCOLLOR_")) ApplyScreenColour(line);
    else if (HasKeyword(line, "PCOLLOR_")) ApplyPenWidth(line);
    else if (HasKeyword(line, "FontChange")) ApplyFontChange(line);
    else if (HasKeyword(line, "FontDefaul")) ApplyFontDefault(line);
    else if (HasKeyword(line, "FontColor")) ApplyTextPen(line);
    else if (HasKeyword(line, "WHEEL")) ApplyWheel(line);
    else if (HasKeyword(line, "PDFLAYER")) ApplyPdfLayers(line);
    else if (HasKeyword(line, "PDFSCALE")) ApplyStatedScaleKey(line);
    else if (HasKeyword(line, "ARC")) ApplyArcs(line);
    else if (HasKeyword(line, "SOLID")) ApplySolid(line);
    else if (HasKeyword(line, "TEXTMERGE")) ApplyTextMerge(line);
    else if (HasKeyword(line, "TEXTVERTICAL")) ApplyTextVertical(line);
}

}  // namespace

void ApplySettingsText(std::string_view text) {
    while (!text.empty()) {
        const size_t length = LineLength(text);
        const Line line = text.substr(0, length);
        if (HasKeyword(line, "END")) return;
        ApplyLine(line);
        text.remove_prefix(PastLineEnd(text, length));
    }
}

}  // namespace velmora
