#include "convert/stated_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "content/line_emitter.h"
#include "convert/standard_scales.h"
#include "store/document_store.h"
#include "store/paper_sizes.h"
#include "store/shift_jis.h"

namespace velmora {

StatedScale g_stated_scales[kPageTableSize];

namespace {

constexpr int32_t kLargestStatedDenominator = 100000;
constexpr int kDenominatorDigits = 6;
// Lines and texts that must lie in a viewport for its measure to be the drawing's.
constexpr double kCoveredShare = 0.9;
// A bare "1/100" counts when a scale word or title stands this near (text heights, page diagonal).
constexpr double kNeighbourHeights = 8.0;
constexpr double kNeighbourDiagonal = 0.06;
// Pieces of one shown text: each starts within this many heights of where the one before ended;
// a run is read up to this many bytes.
constexpr double kPieceGapHeights = 1.0;
constexpr size_t kRunBytes = 240;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// One character per position: ASCII as it is (letters in upper case), full-width digits, letters
// and "／：＝（）" as their ASCII forms, any other double-byte character as 1, a half-width kana as 2.
std::string Normalised(const char* text, int32_t length) {
    std::string out;
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        if (IsShiftJisLeadByte(c) && i + 1 < length) {
            const uint8_t t = static_cast<uint8_t>(text[++i]);
            char mapped = '\x01';
            if (c == 0x82 && t >= 0x4F && t <= 0x58) mapped = static_cast<char>('0' + (t - 0x4F));
            else if (c == 0x82 && t >= 0x60 && t <= 0x79) mapped = static_cast<char>('A' + (t - 0x60));
            else if (c == 0x82 && t >= 0x81 && t <= 0x9A) mapped = static_cast<char>('A' + (t - 0x81));
            else if (c == 0x81 && t == 0x5E) mapped = '/';
            else if (c == 0x81 && t == 0x46) mapped = ':';
            else if (c == 0x81 && t == 0x81) mapped = '=';
            else if (c == 0x81 && t == 0x69) mapped = '(';
            else if (c == 0x81 && t == 0x6A) mapped = ')';
            else if (c == 0x81 && t == 0x40) mapped = ' ';
            out.push_back(mapped);
        } else if (c >= 0xA1 && c <= 0xDF) {
            out.push_back('\x02');
        } else {
            out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c));
        }
    }
    return out;
}

// `word` (Shift-JIS) at a character boundary of the text.
bool HoldsWord(const char* text, int32_t length, const char* word) {
    const int32_t n = static_cast<int32_t>(std::strlen(word));
    for (int32_t i = 0; i + n <= length;) {
        if (std::memcmp(text + i, word, static_cast<size_t>(n)) == 0) return true;
        i += IsShiftJisLeadByte(static_cast<uint8_t>(text[i])) ? 2 : 1;
    }
    return false;
}

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HoldsScaleWord(const char* text, int32_t length, const std::string& norm) {
    // The word in the languages the sheets of CAD exports are labelled in.
    static const char* const kWords[] = {"SCALE", "SCALA", "SCARA", "ESCALA", "ECHELLE", "MASSSTAB"};
    if (HoldsWord(text, length, "縮尺") || HoldsWord(text, length, "尺度") || HoldsWord(text, length, "スケール") ||
        HoldsWord(text, length, "ｽｹｰﾙ")) {
        return true;
    }
    for (const char* w : kWords) {
        if (norm.find(w) != std::string::npos) return true;
    }
    return false;
}

// A drawing's title: a Japanese word for a drawing (平面図, 立面図, 配置図, ...) or an English one.
bool HoldsTitleWord(const char* text, int32_t length, const std::string& norm) {
    static const char* const kWords[] = {"PLAN", "ELEVATION", "SECTION", "DETAIL", "LAYOUT", "DRAWING"};
    if (HoldsWord(text, length, "図")) return true;
    for (const char* w : kWords) {
        if (norm.find(w) != std::string::npos) return true;
    }
    return false;
}

// The letters ending just before `end` (blanks skipped first): their start, or -1 when none.
int32_t WordBefore(const std::string& norm, int32_t end) {
    int32_t p = end;
    while (p > 0 && norm[static_cast<size_t>(p - 1)] == ' ') --p;
    int32_t start = p;
    while (start > 0 && IsLetter(norm[static_cast<size_t>(start - 1)])) --start;
    return start < p ? start : -1;
}

// How "1/n" at position `one` is introduced: 2 by a scale word or a paper size, 1 by nothing
// (the start, a blank, a bracket, a Japanese character), 0 by anything that makes it a number.
int32_t Introduction(const std::string& norm, int32_t one, char* paper) {
    int32_t p = one;
    while (p > 0 && norm[static_cast<size_t>(p - 1)] == ' ') --p;
    if (p == 0) return 1;
    const char before = norm[static_cast<size_t>(p - 1)];
    if (before == '(' || before == '[' || before == '\x01' || before == '\x02') return 1;
    int32_t word_end = p;
    if (before == '=' || before == ':') {
        word_end = p - 1;
        while (word_end > 0 && norm[static_cast<size_t>(word_end - 1)] == ' ') --word_end;
        if (word_end == 0) return 1;
        const char c = norm[static_cast<size_t>(word_end - 1)];
        if (c == '\x01' || c == '\x02' || c == '(') return 1;
    }
    // A paper size: "A3 1/200", "A1:1/100".
    const char last = norm[static_cast<size_t>(word_end - 1)];
    if (IsDigit(last) && word_end >= 2 && norm[static_cast<size_t>(word_end - 2)] == 'A' && last <= '4' &&
        (word_end == 2 || !IsLetter(norm[static_cast<size_t>(word_end - 3)]))) {
        paper[0] = 'A';
        paper[1] = last;
        paper[2] = '\0';
        return 2;
    }
    const int32_t word = WordBefore(norm, word_end);
    if (word < 0) return 0;
    const std::string w = norm.substr(static_cast<size_t>(word), static_cast<size_t>(word_end - word));
    const std::string trimmed = w.substr(0, w.find_last_not_of(' ') + 1);
    static const char* const kIntroductions[] = {"S", "SC", "M", "SCALE", "SCALA", "SCARA", "ESCALA", "ECHELLE", "MASSSTAB"};
    for (const char* word_text : kIntroductions) {
        if (trimmed == word_text) return 2;
    }
    return 0;
}

double Distance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

struct PageBox {
    double x0, y0, x1, y1;
};

PageBox DrawingBox(int page) {
    PageBox box{1e300, 1e300, -1e300, -1e300};
    const auto take = [&](double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        box.x0 = std::min(box.x0, x);
        box.y0 = std::min(box.y0, y);
        box.x1 = std::max(box.x1, x);
        box.y1 = std::max(box.y1, y);
    };
    const int32_t lines = std::clamp<int32_t>(g_store.conversion.line_count, 0, kLineCapacity);
    for (int32_t i = 0; i < lines; ++i) {
        const LineRecord& l = g_store.lines[i];
        if (l.page_number != page) continue;
        take(l.x1, l.y1);
        take(l.x2, l.y2);
    }
    const int32_t texts = std::clamp<int32_t>(g_store.conversion.text_count, 0, kTextCapacity);
    for (int32_t i = 0; i < texts; ++i) {
        if (g_store.texts[i].page_number == page) take(g_store.texts[i].x1, g_store.texts[i].y1);
    }
    return box;
}

// The title block of a sheet: its lower right part, or a strip along its right or lower edge.
bool InTitleBlock(const PageBox& box, double x, double y) {
    const double w = box.x1 - box.x0, h = box.y1 - box.y0;
    if (!(w > 0) || !(h > 0)) return false;
    const double rx = (x - box.x0) / w, ry = (y - box.y0) / h;
    return (rx >= 0.55 && ry <= 0.3) || rx >= 0.8 || ry <= 0.12;
}

// The share of the page's line ends that lie inside the viewport's box.
double CoveredShare(int page, const ViewportMeasure& m) {
    const PageRecord& record = g_store.pages[page];
    const Point a = ToPageFrame(record, Point{m.bbox[0], m.bbox[1]});
    const Point b = ToPageFrame(record, Point{m.bbox[2], m.bbox[3]});
    const double x0 = std::min(a.x, b.x) - 1, x1 = std::max(a.x, b.x) + 1;
    const double y0 = std::min(a.y, b.y) - 1, y1 = std::max(a.y, b.y) + 1;
    int64_t inside = 0, all = 0;
    const int32_t lines = std::clamp<int32_t>(g_store.conversion.line_count, 0, kLineCapacity);
    for (int32_t i = 0; i < lines; ++i) {
        const LineRecord& l = g_store.lines[i];
        if (l.page_number != page) continue;
        for (const Point p : {Point{l.x1, l.y1}, Point{l.x2, l.y2}}) {
            ++all;
            if (p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1) ++inside;
        }
    }
    return all == 0 ? 0.0 : static_cast<double>(inside) / static_cast<double>(all);
}

void CopyText(char* out, const char* text, int32_t length) {
    int32_t n = 0;
    while (n < length && n < kStatedScaleTextBytes - 1) {
        const int32_t step = IsShiftJisLeadByte(static_cast<uint8_t>(text[n])) ? 2 : 1;
        if (n + step > kStatedScaleTextBytes - 1 || n + step > length) break;
        n += step;
    }
    std::memcpy(out, text, static_cast<size_t>(n));
    out[n] = '\0';
}

// One shown text, or the pieces it was shown in ("1:" then "1", a title a glyph at a time),
// joined along their base line.
struct TextRun {
    int32_t first;       // its first record
    std::string text;    // Shift-JIS
    bool naming;         // holds a scale word or a drawing title
};

const char* StringOf(const TextRecord& t, int32_t* length) {
    const int64_t end = int64_t{t.string_offset} + t.string_length;
    if (t.string_offset < 0 || t.string_length <= 0 || end > g_store.conversion.pool_used) {
        *length = 0;
        return "";
    }
    *length = t.string_length;
    return g_store.text_pool + t.string_offset;
}

std::vector<TextRun> TextRuns(int page) {
    std::vector<TextRun> runs;
    const int32_t texts = std::clamp<int32_t>(g_store.conversion.text_count, 0, kTextCapacity);
    const TextRecord* last = nullptr;
    double end_x = 0, end_y = 0;
    for (int32_t i = 0; i < texts; ++i) {
        const TextRecord& t = g_store.texts[i];
        if (t.page_number != page || t.duplicate_mark == 1) continue;
        int32_t length = 0;
        const char* text = StringOf(t, &length);
        const bool continues = last != nullptr && !runs.empty() && t.angle == last->angle &&
                               runs.back().text.size() + static_cast<size_t>(length) <= kRunBytes &&
                               Distance(end_x, end_y, t.x1, t.y1) <= kPieceGapHeights * std::fabs(last->size_y);
        if (!continues) runs.push_back(TextRun{i, std::string(), false});
        std::string& run = runs.back().text;
        // A number that ends where a word begins stays apart from it ("1/100" then "PLAN").
        if (continues && length > 0 && !run.empty()) {
            const auto kind = [](char c) { return IsDigit(c) ? 1 : IsLetter(static_cast<char>(c & ~0x20)) ? 2 : 0; };
            const int before = kind(run.back()), after = kind(text[0]);
            if (before != 0 && after != 0 && before != after) run.push_back(' ');
        }
        run.append(text, static_cast<size_t>(length));
        last = &t;
        // Where the piece ends, from its height: half an em a byte, as its base line was laid out.
        const double advance = 0.5 * std::fabs(t.size_y) * length;
        const double radians = t.angle * kRadiansPerDegree;
        end_x = t.x1 + std::cos(radians) * advance;
        end_y = t.y1 + std::sin(radians) * advance;
    }
    for (TextRun& run : runs) {
        const int32_t length = static_cast<int32_t>(run.text.size());
        const std::string norm = Normalised(run.text.c_str(), length);
        run.naming = HoldsScaleWord(run.text.c_str(), length, norm) || HoldsTitleWord(run.text.c_str(), length, norm);
    }
    return runs;
}

void SearchTexts(int page, StatedScale* found) {
    const PageBox box = DrawingBox(page);
    const double diagonal = Distance(box.x0, box.y0, box.x1, box.y1);
    const int32_t paper_index = g_store.pages[page].paper_size_index;
    const char* paper = paper_index >= 0 && paper_index < kPaperSizeCount ? PaperNames[paper_index] : "";
    const std::vector<TextRun> runs = TextRuns(page);
    // Ranked: in the title block, of the page's paper size, larger text.
    double best_rank = -1;
    for (const TextRun& run : runs) {
        const TextRecord& t = g_store.texts[run.first];
        const ScaleInText match = FindScaleInText(run.text.c_str(), static_cast<int32_t>(run.text.size()));
        if (match.strength == 0) continue;
        bool named = match.strength == 2 || match.names_drawing == 1;
        const double reach = std::max(kNeighbourHeights * std::fabs(t.size_y), kNeighbourDiagonal * diagonal);
        for (size_t k = 0; k < runs.size() && !named; ++k) {
            const TextRecord& other = g_store.texts[runs[k].first];
            named = runs[k].naming && runs[k].first != run.first && Distance(t.x1, t.y1, other.x1, other.y1) <= reach;
        }
        if (!named) continue;
        const bool title_block = InTitleBlock(box, t.x1, t.y1);
        const bool paper_matches = match.paper[0] != '\0' && std::strcmp(match.paper, paper) == 0;
        const bool other_paper = match.paper[0] != '\0' && !paper_matches;
        // A title's scale is printed as large as the title; the scale cell of a title block small.
        const double rank = (title_block ? 8.0 : 0.0) + (paper_matches ? 4.0 : other_paper ? 0.0 : 2.0) +
                            std::min(std::fabs(t.size_y), 999.0) / 1000.0;
        if (rank <= best_rank) continue;
        best_rank = rank;
        found->source = StatedScaleSource::kText;
        found->denominator = match.denominator;
        found->ratio = match.denominator;
        CopyText(found->text, run.text.c_str(), static_cast<int32_t>(run.text.size()));
    }
}

}  // namespace

ScaleInText FindScaleInText(const char* text, int32_t length) {
    ScaleInText result{};
    if (text == nullptr || length <= 0) return result;
    const std::string norm = Normalised(text, length);
    const int32_t n = static_cast<int32_t>(norm.size());
    for (int32_t i = 0; i < n && result.strength == 0; ++i) {
        if (norm[static_cast<size_t>(i)] != '1') continue;
        int32_t p = i + 1;
        while (p < n && norm[static_cast<size_t>(p)] == ' ') ++p;
        if (p >= n || (norm[static_cast<size_t>(p)] != '/' && norm[static_cast<size_t>(p)] != ':')) continue;
        ++p;
        while (p < n && norm[static_cast<size_t>(p)] == ' ') ++p;
        int32_t digits = 0;
        int64_t value = 0;
        while (p < n && IsDigit(norm[static_cast<size_t>(p)]) && digits <= kDenominatorDigits) {
            value = value * 10 + (norm[static_cast<size_t>(p++)] - '0');
            ++digits;
        }
        if (digits == 0 || digits > kDenominatorDigits || value < 1 || value > kLargestStatedDenominator) continue;
        // What follows: a decimal, another fraction, an inch or foot mark, a unit or a thread.
        if (p < n) {
            const char after = norm[static_cast<size_t>(p)];
            const char next = p + 1 < n ? norm[static_cast<size_t>(p + 1)] : ' ';
            if (after == '/' || after == '"' || after == '\'' || IsLetter(after)) continue;
            if ((after == '.' || after == ',' || after == '-') && IsDigit(next)) continue;
        }
        char paper[3] = {0, 0, 0};
        const int32_t strength = Introduction(norm, i, paper);
        if (strength == 0) continue;
        result.strength = strength;
        result.denominator = static_cast<int32_t>(value);
        std::memcpy(result.paper, paper, sizeof paper);
    }
    if (result.strength == 0) return result;
    // "SHEET 1/3", "1/2 枚": a sheet's number, not its scale.
    if (result.strength == 1 && (norm.find("SHEET") != std::string::npos || norm.find("PAGE") != std::string::npos ||
                                 HoldsWord(text, length, "枚") || HoldsWord(text, length, "頁"))) {
        return ScaleInText{};
    }
    const bool scale_word = HoldsScaleWord(text, length, norm);
    if (scale_word) result.strength = 2;
    result.names_drawing = scale_word || HoldsTitleWord(text, length, norm) ? 1 : 0;
    return result;
}

void ResetStatedScales() { std::memset(g_stated_scales, 0, sizeof g_stated_scales); }

void FindStatedScale(int page) {
    if (page < 1 || page >= kPageTableSize) return;
    StatedScale& found = g_stated_scales[page];
    found = StatedScale{};
    found.searched = 1;
    found.denominator = 1;
    found.ratio = 1.0;
    if (ReadViewportMeasure(g_store.pages[page].page_object, &found.viewport)) {
        const double millimetres = MillimetresPerMeasureUnit(found.viewport.unit);
        if (millimetres <= 0) {
            found.measure = PageMeasureKind::kWithoutUnit;
        } else if (CoveredShare(page, found.viewport) < kCoveredShare) {
            found.measure = PageMeasureKind::kNotCovering;
        } else {
            found.measure = PageMeasureKind::kWithUnit;
            const double ratio = found.viewport.factor * millimetres / kMmPerPoint;
            if (ratio >= 1.0 && ratio < kFirstRatioTooLarge) {
                found.source = StatedScaleSource::kMeasure;
                found.ratio = ratio;
                found.denominator = RoundedScale(ratio);
                return;
            }
        }
    }
    SearchTexts(page, &found);
}

const StatedScale* PageStatedScale(int page) {
    if (page < 1 || page >= kPageTableSize) return nullptr;
    const StatedScale& s = g_stated_scales[page];
    return s.source == StatedScaleSource::kNone ? nullptr : &s;
}

}  // namespace velmora
