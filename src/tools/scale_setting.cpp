#include "tools/scale_setting.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "store/document_store.h"
#include "tools/choice_flags.h"
#include "tools/page_scale.h"
#include "tools/scale_pick.h"
#include "tools/tool_state.h"

namespace velmora {

namespace {

constexpr char kScaleTitle[] = "縮尺設定";
// "%5.2f" of the largest double is 312 characters.
constexpr int kDistanceTextBytes = 400;

bool CurrentPageInTable() { return g_store.current_page >= 1 && g_store.current_page < kPageTableSize; }

void SayScale(WindowHandle window, const char* format, int32_t denominator) {
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<int>(denominator));
    ShowMessage(window, text, kScaleTitle, MessageButtons::Ok);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void ApplyScale(WindowHandle window, double ratio) {
    const int page = g_store.current_page;
    if (!(ratio >= 1.0) || !(ratio < kFirstRatioTooLarge)) {
        // A denominator of 0 would divide the written geometry by zero; one beyond 32 bits has
        // no value at all. The page keeps no scale rather than a broken one.
        ClearPageScale(page);
        ShowMessage(window,
                    ratio >= kFirstRatioTooLarge ? "２点間の寸法が大きすぎるため縮尺を設定できません\r\nこの頁の縮尺は 1/1 です"
                                                 : "２点間の寸法が小さすぎるため縮尺を設定できません\r\nこの頁の縮尺は 1/1 です",
                    kScaleTitle, MessageButtons::Ok);
        return;
    }
    const int32_t n = RoundedScale(ratio);
    if (ThisPageOnlyChosen()) {
        SetPageScale(page, n, ratio);
        SayScale(window, "この頁の縮尺を 1/%d に設定しました", n);
        return;
    }
    const ScaleMarks marks = PageScaleMarks(page);
    const int last = g_store.page_count < kMaxPages ? g_store.page_count : kMaxPages;
    for (int other = 1; other <= last; ++other) {
        SetPageScale(other, n, ratio);
        SetPageScaleMarks(other, marks);
    }
    SayScale(window, "全ての頁の縮尺を 1/%d に設定しました", n);
}

std::string LastDistanceText() {
    char text[kDistanceTextBytes];
    std::snprintf(text, sizeof text, "%5.2f", g_tool_state.last_entered_distance);
    return text;
}

double LeadingDecimalNumber(const char* text) {
    if (text == nullptr) return 0.0;
    char bounded[kDistanceFieldChars + 1];
    std::snprintf(bounded, sizeof bounded, "%s", text);
    char* at = bounded;
    while (std::isspace(static_cast<unsigned char>(*at))) ++at;
    char* const number = at;
    if (*at == '+' || *at == '-') ++at;
    // The decimal number's own characters only: strtod alone would also read hexadecimal
    // numbers, "inf" and "nan".
    const char* const digits = at;
    while (IsDigit(*at)) ++at;
    bool any_digit = at > digits;
    if (*at == '.') {
        const char* const fraction = ++at;
        while (IsDigit(*at)) ++at;
        any_digit = any_digit || at > fraction;
    }
    if (!any_digit) return 0.0;
    if (*at == 'e' || *at == 'E') {
        char* exponent = at + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (IsDigit(*exponent)) {
            at = exponent;
            while (IsDigit(*at)) ++at;
        }
    }
    *at = '\0';
    return std::strtod(number, nullptr);
}

void AcceptScaleDistance(WindowHandle window, const char* text, bool this_page_checked, bool all_pages_checked) {
    g_pen_choice[0] = this_page_checked;
    g_pen_choice[1] = all_pages_checked;
    const double distance = LeadingDecimalNumber(text);
    // A number beyond the doubles (1e999) is refused below as too large; the field then starts empty.
    g_tool_state.last_entered_distance = std::isfinite(distance) ? distance : 0.0;
    if (!(distance > 0.0)) {
        CancelScaleDistance();
        return;
    }
    if (!CurrentPageInTable()) return;
    ScaleMarks marks = PageScaleMarks(g_store.current_page);
    marks.distance = distance;
    SetPageScaleMarks(g_store.current_page, marks);
    ApplyScale(window, distance / g_scale_pick.paper_distance);
}

void CancelScaleDistance() { ClearPageScale(g_store.current_page); }

}  // namespace velmora
