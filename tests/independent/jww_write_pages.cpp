// jww_write_pages DIR JWSXF: writes a few pages straight through the save command's functions
// into DIR, with what PDFs do not give velmora-convert often enough to rely on: texts (Latin and
// Japanese, turned, 254 and 300 bytes long), texts after more than 0x7FFF lines (the long class
// tag) and past 0xFFFF objects (the long count), texts with no lines at all, PDF layer names,
// fills of both rules and several colours as solids painted between lines. The independent
// reader check then reads them with both readers. Exit status 0 when every page was written.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "content/colour_state.h"
#include "content/fill_path.h"
#include "convert/document_reset.h"
#include "convert/layer_assignment.h"
#include "convert/pdf_layer_assignment.h"
#include "jww/jww_save.h"
#include "store/document_store.h"
#include "settings/settings.h"
#include "support/page_records.h"

namespace {

using namespace velmora;

void StartPage(double width, double height, int32_t scale_denominator) {
    ResetForFile();
    g_store.page_count = 1;
    g_store.current_page = 1;
    PageRecord& page = g_store.pages[1];
    page.media_box[0] = 0;
    page.media_box[1] = 0;
    page.media_box[2] = width;
    page.media_box[3] = height;
    page.scale_denominator = scale_denominator;
    page.scale_ratio = scale_denominator;
}

// The shared page builders, with the layer, group, pen and style each line here varies.
void AddLine(double x1, double y1, double x2, double y2, int layer, int group, int pen, int style) {
    LineRecord& line = test_support::AddLine(x1, y1, x2, y2);
    line.pen_style = static_cast<uint8_t>(style);
    line.pen_colour = static_cast<int16_t>(pen);
    line.layer = static_cast<int16_t>(layer);
    line.layer_group = static_cast<int16_t>(group);
}

void AddText(const std::string& bytes, double x, double y, double size, double angle) {
    test_support::AddText(bytes, x, y, size, angle);
}

// A filled polygon through the fill path, in the given fill colour and rule, painted after the
// lines stored so far.
void AddFill(const double* xy, int points, double red, double green, double blue, FillRule rule) {
    SetRgb(&g_graphics.colours.fill, red, green, blue);
    FillPathMove(Point{xy[0], xy[1]});
    for (int i = 1; i < points; ++i) FillPathLine(Point{xy[2 * i], xy[2 * i + 1]});
    FillPathClose();
    EmitFillSolids(1, rule, g_store.conversion.line_count);
}

bool Save(const std::string& directory, const char* name) {
    const std::string path = directory + "/" + name;
    if (!SaveJwwPage(nullptr, path.c_str(), 1)) {
        std::fprintf(stderr, "jww_write_pages: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool ReadSxf(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    const size_t got = std::fread(g_settings.sxf_data, 1, sizeof g_settings.sxf_data, file);
    const bool whole = std::feof(file) != 0 || std::fgetc(file) == EOF;
    std::fclose(file);
    g_settings.sxf_length = static_cast<int32_t>(got);
    return got > 0 && whole;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: jww_write_pages DIR JWSXF\n");
        return 2;
    }
    const std::string directory = argv[1];
    if (!AllocateStoreTables()) return 1;
    SetDefaultSettings();
    if (!ReadSxf(argv[2])) {
        std::fprintf(stderr, "jww_write_pages: cannot read %s\n", argv[2]);
        return 1;
    }
    bool ok = true;

    // Landscape A3 at 1/50: lines on several layers, pens and styles; texts of every kind here.
    StartPage(1190.55, 841.89, 50);
    for (int i = 0; i < 16; ++i) AddLine(40 + i * 60, 40, 40 + i * 60 + 45.5, 800.25, i, 15 - i, 1 + i % 8, 1 + i % 5);
    std::strcpy(g_store.jww_font_names[1], "ＭＳ ゴシック");
    AddText("Plan 1:50", 60, 780, 14, 0);
    AddText("図面 通り芯 X1", 300.5, 520.25, 9.5, 0);
    AddText("turned 30", 500, 400, 8, 30);
    AddText("縦書き", 700, 300, 10, 90);
    AddText("minus 45", 900, 200, 6.25, -45);
    AddText(std::string(254, 'y'), 100, 100, 3, 0);  // the longest one-byte length
    std::string long_japanese;
    for (int i = 0; i < 150; ++i) long_japanese += "図";  // 300 bytes: 0xFF + uint16 length
    AddText(long_japanese, 100, 60, 3, 0);
    ok = Save(directory, "texts_mixed.jww") && ok;

    // Texts only: their class is declared first.
    StartPage(595.28, 841.89, 1);
    for (int i = 0; i < 12; ++i) AddText("Text " + std::to_string(i), 50 + i * 40, 700 - i * 50, 5 + i, i * 15.0);
    ok = Save(directory, "texts_only.jww") && ok;

    // 40,000 lines, then texts: the text class index passes 0x7FFF, the count stays 16 bits.
    StartPage(841.89, 595.28, 100);
    for (int i = 0; i < 40000; ++i) AddLine(20 + (i % 400) * 2, 20 + (i / 400) * 5.5, 21 + (i % 400) * 2, 24 + (i / 400) * 5.5, i % 16, 0, 1 + i % 8, 1);
    for (int i = 0; i < 20; ++i) AddText("T" + std::to_string(i), 30 + i * 35, 580, 7, 0);
    ok = Save(directory, "texts_after_many_lines.jww") && ok;

    // Past 0xFFFF objects: the long count as well.
    StartPage(1190.55, 841.89, 1);
    for (int i = 0; i < 0xFFFF; ++i) AddLine(10 + (i % 500) * 2.3, 10 + (i / 500) * 6, 11 + (i % 500) * 2.3, 14 + (i / 500) * 6, 0, i % 16, 2, 1);
    for (int i = 0; i < 5; ++i) AddText("文字" + std::to_string(i), 100 + i * 100, 830, 6, 0);
    ok = Save(directory, "texts_past_long_count.jww") && ok;

    // PDF layers: names (Latin with a space, Japanese) in the header, a family's group name, a
    // hidden layer; the header's later sections move by the names' bytes.
    StartPage(1190.55, 841.89, 100);
    const char* names[] = {"A-WALL", "A-DOOR", "寸法 線", "通り芯"};
    for (int i = 0; i < 4; ++i) {
        OptionalGroup& group = g_optional_content.groups[i + 1];
        group.object_number = 10 + i;
        std::strcpy(group.name, names[i]);
        group.visible = i == 2 ? 0 : 1;
    }
    g_optional_content.count = 4;
    g_settings.pdf_layers = 1;
    for (int i = 0; i < 8; ++i) {
        AddLine(50 + i * 100, 50, 120 + i * 100, 700, 0, 0, 1 + i % 8, 1);
        g_store.lines[g_store.conversion.line_count - 1].pdf_layer = i % 5;
    }
    AssignPdfLayers();
    ok = Save(directory, "pdf_layer_names.jww") && ok;
    g_settings.pdf_layers = 0;

    // Arcs of every kind beside lines and texts: circles, quarter arcs, tilted ellipse arcs on
    // several layers, pens and styles.
    StartPage(841.89, 595.28, 20);
    AddLine(10, 10, 200, 10, 0, 0, 2, 1);
    for (int i = 0; i < 24; ++i) {
        ArcRecord& arc = test_support::AddArc(60 + i * 30, 300 - i * 7.5, 5 + i, i * 0.3, 0.25 + i * 0.25, i * 0.2 - 1.5,
                                              i % 3 == 0 ? 1.0 : 0.3 + i * 0.02);
        arc.layer = static_cast<int16_t>(i % 16);
        arc.layer_group = static_cast<int16_t>((i * 5) % 16);
        arc.pen_colour = static_cast<int16_t>(1 + i % 8);
        arc.pen_style = static_cast<uint8_t>(1 + i % 5);
    }
    test_support::AddArc(400, 400, 50, 0, 2 * M_PI);
    AddText("R50", 400, 400, 5, 0);
    ok = Save(directory, "arcs_mixed.jww") && ok;

    // 40,000 lines, then arcs: the arc class index passes 0x7FFF and takes the long tag.
    StartPage(841.89, 595.28, 100);
    for (int i = 0; i < 40000; ++i) AddLine(20 + (i % 400) * 2, 20 + (i / 400) * 5.5, 21 + (i % 400) * 2, 24 + (i / 400) * 5.5, i % 16, 0, 1 + i % 8, 1);
    for (int i = 0; i < 30; ++i) test_support::AddArc(30 + i * 25, 570, 10, 0, i % 2 == 0 ? 2 * M_PI : M_PI / 2);
    ok = Save(directory, "arcs_after_many_lines.jww") && ok;

    // Solids: a five-pointed star under both rules (even-odd leaves its centre open), a square
    // ring with its hole, a gray band and a CMYK triangle, between lines, on their colours' layers.
    StartPage(841.89, 595.28, 1);
    g_settings.solid_fills = 1;
    ClearFillPath();
    const double star[10] = {100, 100, 159, 281, 5, 169, 195, 169, 41, 281};
    const double star_right[10] = {300, 100, 359, 281, 205, 169, 395, 169, 241, 281};
    AddFill(star, 5, 1.0, 0.0, 0.0, FillRule::kNonZero);
    AddLine(0, 300, 800, 300, 0, 0, 1, 1);
    AddFill(star_right, 5, 0.0, 0.0, 1.0, FillRule::kEvenOdd);
    const double ring[16] = {450, 100, 650, 100, 650, 300, 450, 300, 500, 150, 600, 150, 600, 250, 500, 250};
    SetRgb(&g_graphics.colours.fill, 0.0, 0.6, 0.2);
    FillPathMove(Point{ring[0], ring[1]});
    for (int i = 1; i < 4; ++i) FillPathLine(Point{ring[2 * i], ring[2 * i + 1]});
    FillPathClose();
    FillPathMove(Point{ring[8], ring[9]});
    for (int i = 5; i < 8; ++i) FillPathLine(Point{ring[2 * i], ring[2 * i + 1]});
    FillPathClose();
    EmitFillSolids(1, FillRule::kEvenOdd, g_store.conversion.line_count);
    AddLine(0, 320, 800, 320, 1, 0, 2, 1);
    const double band[8] = {50, 400, 750, 400, 750, 430, 50, 430};
    SetGray(&g_graphics.colours.fill, 0.75);
    FillPathMove(Point{band[0], band[1]});
    for (int i = 1; i < 4; ++i) FillPathLine(Point{band[2 * i], band[2 * i + 1]});
    EmitFillSolids(1, FillRule::kNonZero, g_store.conversion.line_count);
    SetCmyk(&g_graphics.colours.fill, 0.1, 0.2, 0.9, 0.0);
    const double triangle[6] = {700, 450, 800, 450, 750, 540};
    FillPathMove(Point{triangle[0], triangle[1]});
    for (int i = 1; i < 3; ++i) FillPathLine(Point{triangle[2 * i], triangle[2 * i + 1]});
    EmitFillSolids(1, FillRule::kNonZero, g_store.conversion.line_count);
    AssignSolidLayers();
    ok = Save(directory, "solids_both_rules.jww") && ok;
    g_settings.solid_fills = 0;

    FreeDocument();
    return ok ? 0 : 1;
}
