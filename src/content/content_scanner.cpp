#include "content/content_scanner.h"

#include "pdf/error_list.h"

#include <cstring>

#include "content/arc_recognition.h"
#include "content/colour_state.h"
#include "content/fill_path.h"
#include "content/form_xobject.h"
#include "content/graphics_state.h"
#include "content/line_emitter.h"
#include "content/marked_content.h"
#include "content/operator_reader.h"
#include "content/path_builder.h"
#include "content/text_object.h"
#include "pdf/dictionary_values.h"
#include "store/arc_records.h"
#include "store/solid_records.h"
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
// y and W* have no counters of their own: they count with their siblings v and W.
constexpr OperatorName kOperators[] = {
    {"q", kOpq},   {"Q", kOpQ},   {"cm", kOpcm}, {"m", kOpm},   {"l", kOpl},   {"d", kOpd},   {"c", kOpc},
    {"v", kOpv},   {"S", kOpS},   {"n", kOpn},   {"W", kOpW},   {"w", kOpw},   {"rg", kOprg}, {"re", kOpre},
    {"BT", kOpBT}, {"h", kOph},   {"f", kOpf},   {"F", kOpF},   {"f*", kOpfStar}, {"Do", kOpDo}, {"g", kOpg},
    {"gs", kOpgs}, {"G", kOpG},   {"i", kOpi},   {"j", kOpj},   {"J", kOpJ},   {"y", kOpv},   {"W*", kOpW},
};

OperatorCounter LookUpOperator(const char* token) {
    for (const OperatorName& entry : kOperators) {
        if (std::strcmp(token, entry.name) == 0) return entry.counter;
    }
    return kOpOther;
}

// BDC /OC /name, BMC and EMC: the others are plain "other" operators.
void RunMarkedContentOperator(const ResourceScope& scope, const char* tag, const char* name) {
    const char* token = g_operands.token;
    if (token[0] != 'B' && token[0] != 'E') return;
    if (std::strcmp(token, "BDC") == 0) {
        BeginMarkedContent(scope, tag, name);
    } else if (std::strcmp(token, "BMC") == 0) {
        BeginGroupContent(0);
    } else if (std::strcmp(token, "EMC") == 0) {
        EndMarkedContent();
    }
}

void SetLineWidth(double width) {
    g_store.conversion.line_width = width <= kMinimumLineWidth ? kMinimumLineWidth : width;
}

// The last name read outside a text object: the font of a Tf that stands before BT.
char g_last_name[kTokenCapacity + 1];

// What one content stream is scanned in: the page, the resources its names are looked up in,
// and how deep inside forms it lies.
struct ScanScope {
    int page;
    ResourceScope resources;
    int depth;
};

void ScanStream(const DecodedStream& stream, const ScanScope& scope, int32_t& mode);

// Do of a form: its content is scanned between an implicit q and Q, under its matrix and with
// its own resources. The whole graphics state is put back afterwards, so a form with more Q
// than q cannot undo its caller's levels.
void RunForm(const ScanScope& scope, const char* name) {
    if (scope.depth >= kFormNestingLimit) return;
    FormXObject form{};
    if (!OpenFormXObject(scope.resources, name, scope.page, &form)) return;
    const GraphicsState saved = g_graphics;
    SaveGraphicsState();
    ConcatenateMatrix(form.matrix);
    const int32_t marked_depth = g_marked_content.depth;
    const int32_t marked_floor = EnterFormMarkedContent();
    if (form.pdf_layer > 0) BeginGroupContent(form.pdf_layer);
    int32_t mode = kOutsideTextObject;
    // Only a form's own /Font dictionary is searched first; one that inherits its caller's
    // resources keeps the fonts it was run with.
    DictionarySpan fonts{0, 0};
    if (!(form.resources.span.start == scope.resources.span.start && form.resources.span.end == scope.resources.span.end) &&
        !DictionaryValue(form.resources.span, "Font", &fonts)) {
        fonts = DictionarySpan{0, 0};
    }
    const DictionarySpan caller_fonts = SetFormFonts(DictionarySpan{0, 0});
    SetFormFonts(fonts.end > 0 ? fonts : caller_fonts);
    ScanStream(*form.content, ScanScope{scope.page, form.resources, scope.depth + 1}, mode);
    SetFormFonts(caller_fonts);
    LeaveFormMarkedContent(marked_floor, marked_depth);
    g_graphics = saved;
    g_graphics.text_base_matrix = g_graphics.accum_matrix;  // as Q leaves it
}

// One operator: count it, then run its handler with the operands as they stand. `name` is the
// name token read just before it, if any (the operand of Do), and `tag` the name before that.
void RunOperator(const DecodedStream& stream, const ScanScope& scope, const char* tag, const char* name,
                 int32_t& position, int32_t& mode) {
    const int page = scope.page;
    const OperatorCounter op = LookUpOperator(g_operands.token);
    if (g_operands.token[0] == '/') std::memcpy(g_last_name, g_operands.token + 1, sizeof g_last_name - 1);
    // Tf is a text-state operator, valid outside BT too (AutoCAD sets the font first).
    if (op == kOpOther && std::strcmp(g_operands.token, "Tf") == 0) {
        SelectFont(page, g_last_name);
        SetFontSize(g_operands.values[0]);
    }
    if (op == kOpOther) RunMarkedContentOperator(scope.resources, tag, name);
    SaturatingIncrement(g_store.pages[page].operator_counters[op]);
    if (op == kOpOther && std::strcmp(g_operands.token, "ID") == 0) NoteRasterImage(page);
    const double* o = g_operands.values;
    if (op == kOpOther || op == kOprg || op == kOpg || op == kOpG) {
        RunColourOperator(g_operands.token, o, g_operands.count, name, scope.resources.present, scope.resources.span);
    }
    switch (op) {
        case kOpq: SaveGraphicsState(); break;
        case kOpQ: RestoreGraphicsState(); break;
        case kOpcm: ConcatenateMatrix(Matrix{o[0], o[1], o[2], o[3], o[4], o[5]}); break;
        case kOpm: PathMoveTo(o[0], o[1]); break;
        case kOpl: PathLineTo(o[0], o[1], page); break;
        case kOpd: g_store.conversion.pen_style = PenStyleForDash(g_operands.count); break;
        case kOpc: PathCurveTo(o[0], o[1], o[2], o[3], o[4], o[5], page); break;
        case kOpv:
            if (g_operands.token[0] == 'y') {
                PathCurveY(o[0], o[1], o[2], o[3], page);
            } else {
                PathCurveV(o[0], o[1], o[2], o[3], page);
            }
            break;
        case kOpS: PathStroke(page); break;
        case kOpn: PathEndNoPaint(); break;
        case kOpW: PathClip(); break;  // W and W*: the clip is not drawn either way
        case kOpw: SetLineWidth(o[0]); break;
        case kOpre: PathRectangle(o[0], o[1], o[2], o[3], page); break;
        case kOpBT: mode = ReadTextObject(stream, page, position); break;
        case kOph: PathClose(page); break;
        case kOpf:
        case kOpF:
            if (FillsAsSolids()) PathFillAsSolids(page, FillRule::kNonZero, false);
            else PathFill(page);
            break;
        case kOpfStar:
            if (FillsAsSolids()) PathFillAsSolids(page, FillRule::kEvenOdd, false);
            else PathFillEvenOdd();
            break;
        case kOpDo:
            if (name[0] != '\0') RunForm(scope, name);
            break;
        case kOpOther: RunFillAndStroke(g_operands.token, page); break;
        default: break;  // colour, images, graphics-state dictionaries: counted only
    }
}

void ScanStream(const DecodedStream& stream, const ScanScope& scope, int32_t& mode) {
    char name[kTokenCapacity + 1] = "";
    char tag[kTokenCapacity + 1] = "";
    // The last two bytes never start a step, so an operator right at the end is not read.
    int32_t position = 0;
    while (position < stream.length - 2) {
        if (mode == kInsideTextObject) {
            mode = ReadTextObject(stream, scope.page, position);
            name[0] = '\0';
            tag[0] = '\0';
        } else if (ReadOperator(stream, position)) {
            RunOperator(stream, scope, tag, name, position, mode);
            // A name is read as a token of its own; the operator after it takes it as operand.
            if (g_operands.token[0] == '/') {
                std::memcpy(tag, name, sizeof tag);
                std::memcpy(name, g_operands.token, sizeof name);
            } else {
                name[0] = '\0';
                tag[0] = '\0';
            }
        }
    }
}

}  // namespace

void ContentScanner(int page) {
    if (page < 1 || page >= kPageTableSize) return;
    ResetPathForPageScan();
    ResetRasterImages(page);
    g_store.conversion.line_count = 0;
    ResetSolidsForPage();
    int32_t mode = kOutsideTextObject;
    ResetGraphicsState();
    ResetMarkedContent();
    BeginFormScan();
    ScanScope scope{page, ResourceScope{false, DictionarySpan{0, 0}}, 0};
    scope.resources.present = PageResources(g_store.pages[page].page_object, &scope.resources.span);
    g_last_name[0] = '\0';

    const int32_t stream_count = g_store.stream_count < kDecodedStreamCapacity ? g_store.stream_count : kDecodedStreamCapacity;
    for (int32_t d = 1; d <= stream_count; ++d) {
        const DecodedStream& stream = g_store.streams[d];
        if (stream.page_number != page || stream.length <= 2 || stream.data == nullptr) continue;
        ScanStream(stream, scope, mode);
    }
    ArcEndRun();  // a path never painted keeps what it drew, its arcs too
    EndFormScan();
    if (RasterImagesOnPage(page) > 0) RecordError(kWarningRasterImages);
    NotePageSolids(page);
    NotePageArcs(page);
}

}  // namespace velmora
