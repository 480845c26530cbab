#include "content/content_scanner.h"

#include <cstring>

#include "content/graphics_state.h"
#include "content/line_emitter.h"
#include "content/operator_reader.h"
#include "content/path_builder.h"
#include "content/text_object.h"
#include "store/capacities.h"
#include "store/document_store.h"

namespace velmora {

namespace {

inline constexpr int32_t kOutsideTextObject = 1;
inline constexpr int32_t kInsideTextObject = 0;
inline constexpr double kMinimumLineWidth = 0.1;  // points

struct OperatorName {
    const char* name;
    OperatorCounter counter;
};

// Recognised operators in the order they are compared; every other token counts as "other".
constexpr OperatorName kOperators[] = {
    {"q", kOpq},   {"Q", kOpQ},   {"cm", kOpcm}, {"m", kOpm},   {"l", kOpl},   {"d", kOpd},   {"c", kOpc},
    {"v", kOpv},   {"S", kOpS},   {"n", kOpn},   {"W", kOpW},   {"w", kOpw},   {"rg", kOprg}, {"re", kOpre},
    {"BT", kOpBT}, {"h", kOph},   {"f", kOpf},   {"F", kOpF},   {"f*", kOpfStar}, {"Do", kOpDo}, {"g", kOpg},
    {"gs", kOpgs}, {"G", kOpG},   {"i", kOpi},   {"j", kOpj},   {"J", kOpJ},
};

OperatorCounter LookUpOperator(const char* token) {
    for (const OperatorName& entry : kOperators) {
        if (std::strcmp(token, entry.name) == 0) return entry.counter;
    }
    return kOpOther;
}

void SetLineWidth(double width) {
    g_store.conversion.line_width = width <= kMinimumLineWidth ? kMinimumLineWidth : width;
}

// The last name read outside a text object: the font of a Tf that stands before BT.
char g_last_name[kTokenCapacity + 1];

// One operator: count it, then run its handler with the operands as they stand.
void RunOperator(const DecodedStream& stream, int page, int32_t& position, int32_t& mode) {
    const OperatorCounter op = LookUpOperator(g_operands.token);
    if (g_operands.token[0] == '/') std::memcpy(g_last_name, g_operands.token + 1, sizeof g_last_name - 1);
    // Tf is a text-state operator, valid outside BT too (AutoCAD sets the font first).
    if (op == kOpOther && std::strcmp(g_operands.token, "Tf") == 0) {
        SelectFont(page, g_last_name);
        SetFontSize(g_operands.values[0]);
    }
    SaturatingIncrement(g_store.pages[page].operator_counters[op]);
    const double* o = g_operands.values;
    switch (op) {
        case kOpq: SaveGraphicsState(); break;
        case kOpQ: RestoreGraphicsState(); break;
        case kOpcm: ConcatenateMatrix(Matrix{o[0], o[1], o[2], o[3], o[4], o[5]}); break;
        case kOpm: PathMoveTo(o[0], o[1]); break;
        case kOpl: PathLineTo(o[0], o[1], page); break;
        case kOpd: g_store.conversion.pen_style = PenStyleForDash(g_operands.count); break;
        case kOpc: PathCurveTo(o[0], o[1], o[2], o[3], o[4], o[5], page); break;
        case kOpv: PathCurveV(o[0], o[1], o[2], o[3], page); break;
        case kOpS: PathStroke(page); break;
        case kOpn: PathEndNoPaint(); break;
        case kOpW: PathClip(); break;
        case kOpw: SetLineWidth(o[0]); break;
        case kOpre: PathRectangle(o[0], o[1], o[2], o[3], page); break;
        case kOpBT: mode = ReadTextObject(stream, page, position); break;
        case kOph: PathClose(page); break;
        case kOpf:
        case kOpF: PathFill(page); break;
        case kOpfStar: PathFillEvenOdd(); break;
        default: break;  // colour, images, graphics-state dictionaries: counted only
    }
}

}  // namespace

void ContentScanner(int page) {
    if (page < 1 || page >= kPageTableSize) return;
    ResetPathForPageScan();
    g_store.conversion.line_count = 0;
    int32_t mode = kOutsideTextObject;
    ResetGraphicsState();
    g_last_name[0] = '\0';

    const int32_t stream_count = g_store.stream_count < kDecodedStreamCapacity ? g_store.stream_count : kDecodedStreamCapacity;
    for (int32_t d = 1; d <= stream_count; ++d) {
        const DecodedStream& stream = g_store.streams[d];
        if (stream.page_number != page || stream.length <= 2 || stream.data == nullptr) continue;
        // The last two bytes never start a step, so an operator right at the end is not read.
        int32_t position = 0;
        while (position < stream.length - 2) {
            if (mode == kInsideTextObject) {
                mode = ReadTextObject(stream, page, position);
            } else if (ReadOperator(stream, position)) {
                RunOperator(stream, page, position, mode);
            }
        }
    }
}

}  // namespace velmora
