// jww_libre_check FILE [--objects]: reads a JWW file with LibreCAD's jwwlib, the way LibreCAD
// imports one (DL_Jww::in feeding a creation interface), and prints the same summary as
// `jww_check FILE --objects`, so a script can compare our strict reader with an independent one.
// Built only for the tests (cmake/independent_reader.cmake); never linked into our programs.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "dl_creationinterface.h"
#include "dl_jww.h"
#include "jwwdoc.h"

namespace {

struct SeenLine {
    double x1, y1, x2, y2;
    std::string layer;  // LibreCAD's layer name "G-L", hex digits
};

struct SeenText {
    double x, y, height, angle_radians;
    std::string text;
};

// Keeps what LibreCAD's import receives. jwwlib announces each entity's layer with addLayer
// right before the entity, so the last name seen is that entity's layer.
class Collector : public DL_CreationInterface {
public:
    std::vector<SeenLine> lines;
    std::vector<SeenText> texts;
    size_t others = 0;  // arcs, circles, ellipses, points

    void addLayer(const DL_LayerData& data) override { layer_ = data.name; }
    void addLine(const DL_LineData& data) override {
        lines.push_back({data.x1, data.y1, data.x2, data.y2, layer_});
    }
    void addText(const DL_TextData& data) override {
        texts.push_back({data.ipx, data.ipy, data.height, data.angle, data.text});
    }
    void addArc(const DL_ArcData&) override { ++others; }
    void addCircle(const DL_CircleData&) override { ++others; }
    void addEllipse(const DL_EllipseData&) override { ++others; }
    void addPoint(const DL_PointData&) override { ++others; }

    void addBlock(const DL_BlockData&) override {}
    void endBlock() override {}
    void addPolyline(const DL_PolylineData&) override {}
    void addVertex(const DL_VertexData&) override {}
    void addSpline(const DL_SplineData&) override {}
    void addControlPoint(const DL_ControlPointData&) override {}
    void addKnot(const DL_KnotData&) override {}
    void addInsert(const DL_InsertData&) override {}
    void addTrace(const DL_TraceData&) override {}
    void add3dFace(const DL_3dFaceData&) override {}
    void addSolid(const DL_SolidData&) override {}
    void addMText(const DL_MTextData&) override {}
    void addMTextChunk(const char*) override {}
    void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override {}
    void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override {}
    void addDimRadial(const DL_DimensionData&, const DL_DimRadialData&) override {}
    void addDimDiametric(const DL_DimensionData&, const DL_DimDiametricData&) override {}
    void addDimAngular(const DL_DimensionData&, const DL_DimAngularData&) override {}
    void addDimAngular3P(const DL_DimensionData&, const DL_DimAngular3PData&) override {}
    void addDimOrdinate(const DL_DimensionData&, const DL_DimOrdinateData&) override {}
    void addLeader(const DL_LeaderData&) override {}
    void addLeaderVertex(const DL_LeaderVertexData&) override {}
    void addHatch(const DL_HatchData&) override {}
    void addImage(const DL_ImageData&) override {}
    void linkImage(const DL_ImageDefData&) override {}
    void addHatchLoop(const DL_HatchLoopData&) override {}
    void addHatchEdge(const DL_HatchEdgeData&) override {}
    void endEntity() override {}
    void addComment(const char*) override {}
    void setVariableVector(const char*, double, double, double, int) override {}
    void setVariableString(const char*, const char*, int) override {}
    void setVariableInt(const char*, int, int) override {}
    void setVariableDouble(const char*, double, int) override {}
    void endSequence() override {}

private:
    std::string layer_;
};

// "G-L" back to the two numbers; jwwlib writes F for anything above 15.
bool ParseLayerName(const std::string& name, unsigned* group, unsigned* layer) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (name.size() != 3 || name[1] != '-' || hex(name[0]) < 0 || hex(name[2]) < 0) return false;
    *group = static_cast<unsigned>(hex(name[0]));
    *layer = static_cast<unsigned>(hex(name[2]));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = nullptr;
    bool objects = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--objects") == 0) {
            objects = true;
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (path == nullptr) {
        std::fprintf(stderr, "usage: jww_libre_check FILE [--objects]\n");
        return 2;
    }
    if (std::FILE* probe = std::fopen(path, "rb")) {
        std::fclose(probe);
    } else {
        std::fprintf(stderr, "%s: cannot open\n", path);
        return 1;
    }

    // LibreCAD's import path. jwwlib prints notes about pen numbers it maps to stdout; keep them
    // out of the summary.
    Collector seen;
    DL_Jww jww;
    std::ostringstream notes;
    std::streambuf* saved = std::cout.rdbuf(notes.rdbuf());
    const bool read = jww.in(path, &seen);
    std::cout.rdbuf(saved);
    if (!read) {
        std::fprintf(stderr, "%s: jwwlib does not read it as a JWW file\n", path);
        return 1;
    }

    // The same reader once more for what the creation interface does not pass on: the header,
    // the text end points, pens and line styles, and the objects the import drops (solids).
    std::string input(path), no_output;
    JWWDocument document(input, no_output);
    if (!document.Read()) {
        std::fprintf(stderr, "%s: jwwlib's JWWDocument does not read it\n", path);
        return 1;
    }
    const size_t dimensions = document.vSunpou.size();
    const size_t sen = document.vSen.size();
    if (seen.lines.size() != sen + dimensions || seen.texts.size() != document.vMoji.size() + dimensions) {
        std::fprintf(stderr, "%s: LibreCAD's import saw %zu lines and %zu texts, the document holds %zu and %zu\n", path,
                     seen.lines.size(), seen.texts.size(), sen + dimensions, document.vMoji.size() + dimensions);
        return 1;
    }
    const size_t object_count = sen + document.vEnko.size() + document.vTen.size() + document.vMoji.size() +
                                document.vSolid.size() + document.vBlock.size() + dimensions;

    std::printf("paper %u\nscale %.17g\nobjects %zu\nlines %zu\ntexts %zu\n", document.Header.m_nZumen,
                document.Header.GLay[0].m_adScale, object_count, seen.lines.size(), seen.texts.size());
    if (!objects) return 0;

    // Named and hidden layers as jwwlib's header reading holds them (only those, as jww_check).
    for (int group = 0; group < 16; ++group) {
        for (int layer = 0; layer < 16; ++layer) {
            const std::string& name = document.Header.m_aStrLayName[group][layer];
            if (name != "Ln") std::printf("name %X-%X %s\n", group, layer, name.c_str());
            if (document.Header.GLay[group].m_nLay[layer].m_aanLay == 0) std::printf("hidden %X-%X\n", group, layer);
        }
        if (document.Header.m_aStrGLayName[group] != "Gn") {
            std::printf("group name %X %s\n", group, document.Header.m_aStrGLayName[group].c_str());
        }
    }

    // Import order: lines, arcs, points, texts, then each dimension's line and text.
    for (size_t i = 0; i < seen.lines.size(); ++i) {
        const SeenLine& line = seen.lines[i];
        const CData& data = i < sen ? static_cast<const CData&>(document.vSen[i])
                                    : static_cast<const CData&>(document.vSunpou[i - sen].m_Sen);
        unsigned group = 0, layer = 0;
        if (!ParseLayerName(line.layer, &group, &layer)) {
            std::fprintf(stderr, "%s: line %zu came in on layer '%s'\n", path, i, line.layer.c_str());
            return 1;
        }
        std::printf("L %.17g %.17g %.17g %.17g layer %u group %u pen %u style %u\n", line.x1, line.y1, line.x2, line.y2,
                    layer, group, data.m_nPenColor, data.m_nPenStyle);
    }
    const size_t moji = document.vMoji.size();
    for (size_t i = 0; i < seen.texts.size(); ++i) {
        const SeenText& text = seen.texts[i];
        const CDataMoji& data = i < moji ? document.vMoji[i] : document.vSunpou[i - moji].m_Moji;
        // The import hands LibreCAD radians; the file holds degrees.
        if (text.angle_radians != data.m_degKakudo / 180.0 * M_PI) {
            std::fprintf(stderr, "%s: text %zu: the import's angle %.17g does not come from %.17g degrees\n", path, i,
                         text.angle_radians, data.m_degKakudo);
            return 1;
        }
        // The flags (a vertical text's 0x0020) as jwwlib's document holds them.
        std::printf("T %.17g %.17g %.17g %.17g size %.17g angle %.17g bytes %zu flags %u\n", text.x, text.y, data.m_end.x,
                    data.m_end.y, text.height, data.m_degKakudo, text.text.size(), static_cast<unsigned>(data.m_sFlg));
    }
    // Arcs as jwwlib's document holds them: the fields in its own reading of the file.
    for (const CDataEnko& arc : document.vEnko) {
        std::printf("A %.17g %.17g %.17g start %.17g sweep %.17g tilt %.17g flat %.17g full %u layer %u group %u pen %u style %u\n",
                    arc.m_start.x, arc.m_start.y, arc.m_dHankei, arc.m_radKaishiKaku, arc.m_radEnkoKaku,
                    arc.m_radKatamukiKaku, arc.m_dHenpeiRitsu, static_cast<unsigned>(arc.m_bZenEnFlg),
                    static_cast<unsigned>(arc.m_nLayer), static_cast<unsigned>(arc.m_nGLayer),
                    static_cast<unsigned>(arc.m_nPenColor), static_cast<unsigned>(arc.m_nPenStyle));
    }
    // jwwlib names the stored corners start, end (its 4th), 2nd, 3rd: printed in file order.
    for (const CDataSolid& solid : document.vSolid) {
        const unsigned colour = solid.m_nPenColor == 10 ? static_cast<unsigned>(solid.m_Color) : 0u;
        std::printf("S %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g layer %u group %u pen %u colour %u\n",
                    solid.m_start.x, solid.m_start.y, solid.m_end.x, solid.m_end.y, solid.m_DPoint2.x, solid.m_DPoint2.y,
                    solid.m_DPoint3.x, solid.m_DPoint3.y, static_cast<unsigned>(solid.m_nLayer),
                    static_cast<unsigned>(solid.m_nGLayer), static_cast<unsigned>(solid.m_nPenColor), colour);
    }
    return 0;
}
