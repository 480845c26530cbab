#include "content/text_merge.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "content/text_emitter.h"
#include "settings/settings.h"
#include "store/capacities.h"
#include "store/document_store.h"
#include "store/shift_jis.h"

namespace velmora {

namespace {

constexpr int kDownward = 3;  // Continuation's answers are 0, 1 and 2: this one joins a column

// A column's left edge, its top and its foot, and the characters standing in it.
struct Column {
    double left, top, foot;
    int32_t characters;
};

// Where the run being built stands: its record in the compacted table and its last piece.
struct Run {
    int32_t record;
    double last_x, last_y;  // start of the last piece joined
    int32_t last_bytes;
    bool undecoded;  // a piece of it is marks only, counted as an undecoded text
    int32_t pieces;
    bool vertical;       // a column: a vertical text, or glyphs stacked from the second piece on
    Column column;       // its box so far
};

// Strings are appended in table order, each followed by its NUL; merging relies on that to
// compact in place, so a table that says otherwise is left as it is.
bool PoolInTableOrder() {
    const ConversionState& c = g_store.conversion;
    int64_t next = 0;
    for (int32_t i = 0; i < c.text_count; ++i) {
        const TextRecord& t = g_store.texts[i];
        if (t.string_offset != next || t.string_length < 0) return false;
        next += static_cast<int64_t>(t.string_length) + 1;
    }
    return next <= c.pool_used && c.pool_used <= kTextPoolBytes;
}

// Pieces in two PDF fonts that are written in one Jw_cad font (a half-width bracket beside
// full-width letters) still spell one string.
bool SameWrittenFont(int32_t a, int32_t b) {
    if (a == b) return true;
    if (a < 0 || b < 0 || a >= kFontCapacity || b >= kFontCapacity) return false;
    const char* first = g_store.jww_font_names[a][0] != '\0' ? g_store.jww_font_names[a] : g_settings.font_default;
    const char* second = g_store.jww_font_names[b][0] != '\0' ? g_store.jww_font_names[b] : g_settings.font_default;
    return std::strncmp(first, second, kFontNameBytes) == 0;
}

// Both non-empty, on one page and PDF layer, in one written font, pen and size.
bool SameKind(const TextRecord& head, const TextRecord& next) {
    if (next.string_length <= 0 || head.string_length <= 0) return false;
    if (next.page_number != head.page_number || next.pdf_layer != head.pdf_layer ||
        !SameWrittenFont(next.font_number, head.font_number) || next.pen_colour != head.pen_colour) {
        return false;
    }
    const double size = head.size_x;
    return size > 0.0 && std::fabs(next.size_x - size) <= kMergeSizeTolerance * size;
}

// 0: `next` starts a text of its own; 1: it continues the run directly; 2: after a space.
int Continuation(const Run& run, const TextRecord& next) {
    const TextRecord& head = g_store.texts[run.record];
    if (!SameKind(head, next)) return 0;
    const double size = head.size_x;
    if (!(std::fabs(next.angle - head.angle) <= kMergeAngleTolerance)) return 0;

    const double dx = head.x2 - head.x1;
    const double dy = head.y2 - head.y1;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length)) return 0;
    const double ux = dx / length;
    const double uy = dy / length;
    const double vx = next.x1 - run.last_x;
    const double vy = next.y1 - run.last_y;
    const double along = vx * ux + vy * uy;
    const double across = vy * ux - vx * uy;
    if (!(std::fabs(across) <= kMergeBaseLineOffset * size)) return 0;

    const double width = 0.5 * size * run.last_bytes;
    // A piece that starts on or just after the last one's start overprints it (a bold copy).
    if (!(along > 0.25 * width)) return 0;
    const double gap = along - width;
    if (!(gap <= kMergeSpaceGap * size)) return 0;
    if (gap <= kMergeJoinGap * size) return 1;
    const char* pool = g_store.text_pool;
    const bool spaced = pool[head.string_offset + head.string_length - 1] == ' ' || pool[next.string_offset] == ' ';
    return spaced ? 1 : 2;
}

// One full-width character: a Shift-JIS lead byte and its trail byte. Vertical writing stacks
// those; half-width digits and letters one under another are pin numbers and table rows.
bool IsOneFullWidthCharacter(const TextRecord& t) {
    return t.string_length == 2 && IsShiftJisLeadByte(static_cast<uint8_t>(g_store.text_pool[t.string_offset]));
}

bool IsVertical(const TextRecord& t) { return (t.flags & kTextFlagVertical) != 0; }

// A piece a column may hold: a vertical text running down the page, or one upright full-width
// glyph.
bool StandsInColumn(const TextRecord& t) {
    if (IsVertical(t)) return std::fabs(t.angle + 90.0) <= kMergeAngleTolerance;
    return IsOneFullWidthCharacter(t) && std::fabs(t.angle) <= kMergeAngleTolerance;
}

int32_t Characters(const TextRecord& t) {
    int32_t characters = 0;
    for (int32_t at = 0; at < t.string_length; ++characters) {
        at += ShiftJisCharacterBytes(g_store.text_pool + t.string_offset + at, t.string_length - at);
    }
    return characters;
}

// The box of a piece: a glyph stands on its base line, one size high; a vertical text runs from
// its top corner to its foot.
Column ColumnOf(const TextRecord& t) {
    if (IsVertical(t)) return Column{t.x1, t.y1, t.y2, Characters(t)};
    return Column{t.x1, t.y1 + t.size_y, t.y1, Characters(t)};
}

// `next` (whose box is `below`) stands right under the column's foot, on its left edge, and
// belongs in a column.
bool ContinuesDownward(const Run& run, const TextRecord& next, const Column& below) {
    const TextRecord& head = g_store.texts[run.record];
    if (g_settings.text_vertical != 1 || !SameKind(head, next) || !StandsInColumn(next)) return false;
    if (run.pieces == 1 && !StandsInColumn(head)) return false;
    const double size = head.size_y;
    if (!(size > 0.0)) return false;
    const double gap = run.column.foot - below.top;
    return std::fabs(below.left - run.column.left) <= kColumnOffset * size && gap >= (kColumnMinPitch - 1.0) * size &&
           gap <= (kColumnMaxPitch - 1.0) * size;
}

// The column's record after a piece whose box is `below` joined it: from the top of the first
// glyph down to the foot of the last, the glyphs' mean gap as its spacing.
void ShapeColumn(TextRecord& head, Run& run, const Column& below) {
    if (!IsVertical(head)) {
        head.flags = static_cast<int16_t>(head.flags | kTextFlagVertical);
        // Straight down, in the degrees every text's angle is given in.
        head.angle = std::atan2(-1.0, 0.0) * 180.0 / kTextAnglePi;
        head.x1 = run.column.left;
        head.y1 = run.column.top;
        head.x2 = head.x1;
    }
    run.vertical = true;
    run.column.foot = below.foot;
    run.column.characters += below.characters;
    head.y2 = run.column.foot;
    const int32_t n = run.column.characters;
    head.spacing = n > 1 ? std::max(0.0, (run.column.top - run.column.foot - n * head.size_y) / (n - 1)) : 0.0;
}

// A piece none of whose codes decoded: marks only.
bool IsUndecodedPiece(const TextRecord& t) {
    constexpr int32_t mark_bytes = static_cast<int32_t>(sizeof kUndecodedMark) - 1;
    if (t.string_length <= 0 || t.string_length % mark_bytes != 0) return false;
    for (int32_t i = 0; i < t.string_length; i += mark_bytes) {
        if (std::memcmp(g_store.text_pool + t.string_offset + i, kUndecodedMark, mark_bytes) != 0) return false;
    }
    return true;
}

// Counts saturate on the way up, so they never go below 0 on the way down.
void Forget(int32_t& count, int32_t merged) { count = count > merged ? count - merged : 0; }

}  // namespace

int32_t MergeTextRuns(int page) {
    ConversionState& c = g_store.conversion;
    if (g_settings.text_merge != 1 || c.text_count < 2 || !PoolInTableOrder()) return 0;

    char* pool = g_store.text_pool;
    const int32_t count = c.text_count;
    int32_t kept = 0;
    int32_t write = 0;  // pool bytes of the compacted texts; never past the next string's offset
    Run run{};
    int32_t merged = 0;
    int32_t undecoded_merged = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TextRecord next = g_store.texts[i];
        // Read before the strings move: the box counts the piece's characters.
        const Column below = ColumnOf(next);
        int how = kept > 0 && !run.vertical && !IsVertical(next) ? Continuation(run, next) : 0;
        if (how == 0 && kept > 0 && (run.vertical || run.pieces == 1) && ContinuesDownward(run, next, below)) how = kDownward;
        TextRecord& head = g_store.texts[kept > 0 ? run.record : 0];
        const int32_t space = how == 2 ? 1 : 0;
        const bool undecoded = IsUndecodedPiece(next);
        if (how != 0 && head.string_length + space + next.string_length <= kMergedTextCapacity) {
            // Undecoded pieces joined into one text are one undecoded text.
            if (undecoded && run.undecoded) ++undecoded_merged;
            run.undecoded = run.undecoded || undecoded;
            // The joined string takes the head's NUL and this piece's bytes: it still fits
            // inside what the pieces used.
            char* end = pool + head.string_offset + head.string_length;
            if (space != 0) *end++ = ' ';
            std::memmove(end, pool + next.string_offset, static_cast<size_t>(next.string_length));
            end[next.string_length] = '\0';
            head.string_length += space + next.string_length;
            write = head.string_offset + head.string_length + 1;
            run.last_x = next.x1;
            run.last_y = next.y1;
            run.last_bytes = next.string_length;
            ++run.pieces;
            if (how == kDownward) ShapeColumn(head, run, below);
            Forget(g_store.text_size_histogram[TextSizeClass(next.size_x)], 1);
            ++merged;
            continue;
        }
        TextRecord& placed = g_store.texts[kept];
        placed = next;
        std::memmove(pool + write, pool + next.string_offset, static_cast<size_t>(next.string_length));
        pool[write + next.string_length] = '\0';
        placed.string_offset = write;
        write += next.string_length + 1;
        run = Run{kept, next.x1, next.y1, next.string_length, undecoded, 1, IsVertical(next), below};
        ++kept;
    }
    c.text_count = kept;
    c.pool_used = write;

    if (merged > 0 && page >= 1 && page < kPageTableSize) {
        PageRecord& record = g_store.pages[page];
        Forget(record.text_count, merged);
        Forget(record.nonempty_text_count, merged);
        Forget(record.undecoded_text_count, undecoded_merged);
    }
    Forget(c.total_texts, merged);
    Forget(c.nonempty_texts, merged);
    return merged;
}

}  // namespace velmora
