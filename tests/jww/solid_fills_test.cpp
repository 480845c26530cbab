// Fills as solids, from content stream to the written file: the pieces cover exactly the filled
// area under each fill rule, carry the fill colour, and keep the page's painting order.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/content_scanner.h"
#include "content/fill_decomposition.h"
#include "content/path_builder.h"
#include "jww/jww_writer.h"
#include "jww_fixture.h"
#include "settings/settings.h"
#include "store/solid_records.h"

namespace velmora {
namespace {

using test_support::JwwFile;
using Ring = std::vector<Point>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTop = 841.89;  // the fixture's MediaBox y1: the page frame moves y down by it

class SolidFillsTest : public JwwTest {
protected:
    void SetUp() override {
        JwwTest::SetUp();
        g_settings.solid_fills = 1;
    }
    void TearDown() override {
        g_settings.solid_fills = 0;
        JwwTest::TearDown();
    }
    void Scan(const std::string& content) {
        FreePageStreams();
        ResetConversionCounters(true);
        ResetForPage(1);
        auto* data = static_cast<uint8_t*>(std::malloc(content.size() + 1));
        ASSERT_NE(data, nullptr);
        std::memcpy(data, content.data(), content.size());
        g_store.streams[++g_store.stream_count] = DecodedStream{1, data, static_cast<int32_t>(content.size())};
        ContentScanner(1);
    }
};

std::string PolygonOperators(const std::vector<Ring>& rings) {
    std::string s;
    char buffer[80];
    for (const Ring& ring : rings) {
        for (size_t i = 0; i < ring.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, "%.6f %.6f %s ", ring[i].x, ring[i].y, i == 0 ? "m" : "l");
            s += buffer;
        }
        s += "h ";
    }
    return s;
}

// Winding number of p about the rings (user space).
int Winding(const std::vector<Ring>& rings, Point p) {
    int w = 0;
    for (const Ring& r : rings) {
        for (size_t i = 0; i < r.size(); ++i) {
            const Point a = r[i], b = r[(i + 1) % r.size()];
            if ((a.y <= p.y) != (b.y <= p.y)) {
                const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
                if (x > p.x) w += b.y > a.y ? 1 : -1;
            }
        }
    }
    return w;
}

bool InsideQuad(const SolidRecord& s, Point p) {
    // Each piece is convex: inside when on one side of every edge (either orientation).
    int positive = 0, negative = 0;
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const double cross = (s.x[j] - s.x[i]) * (p.y - s.y[i]) - (s.y[j] - s.y[i]) * (p.x - s.x[i]);
        if (cross > 1e-9) ++positive;
        if (cross < -1e-9) ++negative;
    }
    return positive == 0 || negative == 0;
}

double SolidArea(const SolidRecord& s) {
    FillQuad q{};
    for (int i = 0; i < 4; ++i) q.corner[i] = Point{s.x[i], s.y[i]};
    return std::fabs(QuadArea(q)) * 0.5;
}

// The union of the solids (they never overlap) against the rule: grid samples agree, areas
// agree with the sampled area.
void ExpectCovers(const std::vector<Ring>& rings, bool even_odd, double expected_area) {
    double area = 0.0;
    const int count = ReadableSolidCount();
    for (int i = 0; i < count; ++i) area += SolidArea(g_solids.records[i]);
    EXPECT_NEAR(area, expected_area, expected_area * 1e-6 + 1e-6);
    double min_x = 1e300, min_y = 1e300, max_x = -1e300, max_y = -1e300;
    for (const Ring& r : rings) {
        for (const Point& p : r) {
            min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
            min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
        }
    }
    int wrong = 0;
    for (int i = 0; i < 37; ++i) {
        for (int j = 0; j < 41; ++j) {
            const Point p{min_x + (max_x - min_x) * (i + 0.5123) / 37, min_y + (max_y - min_y) * (j + 0.4871) / 41};
            const int w = Winding(rings, p);
            const bool inside = even_odd ? (w & 1) != 0 : w != 0;
            int covering = 0;
            for (int k = 0; k < count; ++k) covering += InsideQuad(g_solids.records[k], Point{p.x, p.y - kTop}) ? 1 : 0;
            if (covering != (inside ? 1 : 0)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Every solid read back as written: corners in ring order, colour word, place among the lines.
void ExpectReadBack(const JwwFile& file) {
    const int count = ReadableSolidCount();
    ASSERT_EQ(file.solid_list.size(), static_cast<size_t>(count));
    const JwwTransform t = JwwPageTransform(1);
    for (int i = 0; i < count; ++i) {
        const SolidRecord& s = g_solids.records[i];
        const auto& r = file.solid_list[i];
        EXPECT_EQ(r.attributes.pen_colour, 10);
        EXPECT_EQ(r.colour, s.colour);
        EXPECT_EQ(r.lines_before, static_cast<size_t>(s.paint_position));
        for (int k = 0; k < 4; ++k) {
            EXPECT_DOUBLE_EQ(r.x[k], (s.x[k] - t.origin_x) * t.k);
            EXPECT_DOUBLE_EQ(r.y[k], (s.y[k] + t.origin_y) * t.k);
        }
    }
}

Ring Star(double cx, double cy, double r) {
    Ring ring;
    for (int i = 0; i < 5; ++i) {
        const double a = kPi / 2 + i * 4 * kPi / 5;
        ring.push_back(Point{cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return ring;
}

// Pentagram: the whole star, or the star without its inner pentagon.
TEST_F(SolidFillsTest, StarsUnderBothRulesAndARingWithItsHole) {
    const std::vector<Ring> star = {Star(300, 400, 100)};
    const double r_inner = 100 * std::cos(2 * kPi / 5) / std::cos(kPi / 5);
    const double pentagon = 2.5 * r_inner * r_inner * std::sin(2 * kPi / 5);
    // Ten triangles between the centre, a point and the inner corner beside it.
    const double star_area = 5 * 100 * r_inner * std::sin(kPi / 5);
    Scan("1 0 0 rg " + PolygonOperators(star) + "f\n");
    ASSERT_GT(ReadableSolidCount(), 0);
    ExpectCovers(star, false, star_area);
    EXPECT_EQ(g_store.conversion.line_count, 0) << "a fill alone leaves no outline";
    EXPECT_EQ(g_solids.records[0].colour, 0x0000FFu);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file, "nonzero.jww"));
    ExpectReadBack(file);

    Scan("0 0 1 rg " + PolygonOperators(star) + "f*\n");
    ExpectCovers(star, true, star_area - pentagon);
    ASSERT_TRUE(SaveAndRead(&file, "evenodd.jww"));
    ExpectReadBack(file);

    // A square ring: 100² − 40², under either rule when the hole runs the other way.
    const std::vector<Ring> ring = {{{100, 100}, {200, 100}, {200, 200}, {100, 200}},
                                    {{130, 130}, {130, 170}, {170, 170}, {170, 130}}};
    Scan(PolygonOperators(ring) + "f\n");
    ExpectCovers(ring, false, 10000 - 1600);
    Scan(PolygonOperators(ring) + "f*\n");
    ExpectCovers(ring, true, 10000 - 1600);
    // Two rectangles by re, the inner one a hole under even-odd.
    Scan("0 0 100 100 re 25 25 50 50 re f*\n");
    EXPECT_NEAR([] { double a = 0; for (int i = 0; i < ReadableSolidCount(); ++i) a += SolidArea(g_solids.records[i]); return a; }(),
                7500.0, 1e-6);
}

TEST_F(SolidFillsTest, CurvedSideColoursAndPaintingOrder) {
    // A square whose top bulges by a cubic: its area follows the ten-piece flattening.
    Scan("0.5 g 100 100 m 200 100 l 200 200 l 200 250 100 250 100 200 c h f\n");
    // The area is that of the curve's ten chords, as every other back-end draws it.
    Ring flattened = {{100, 100}, {200, 100}, {200, 200}};
    const Point c[4] = {{200, 200}, {200, 250}, {100, 250}, {100, 200}};
    for (int i = 1; i <= 10; ++i) {
        const double t = i / 10.0, u = 1 - t;
        flattened.push_back(Point{u * u * u * c[0].x + 3 * u * u * t * c[1].x + 3 * u * t * t * c[2].x + t * t * t * c[3].x,
                                  u * u * u * c[0].y + 3 * u * u * t * c[1].y + 3 * u * t * t * c[2].y + t * t * t * c[3].y});
    }
    double shoelace = 0.0;
    for (size_t i = 0; i < flattened.size(); ++i) {
        const Point a = flattened[i], b = flattened[(i + 1) % flattened.size()];
        shoelace += a.x * b.y - b.x * a.y;
    }
    ExpectCovers({flattened}, false, std::fabs(shoelace) * 0.5);
    EXPECT_EQ(g_solids.records[0].colour, 0x808080u);

    // CMYK magenta.
    Scan("0 1 0 0 k 10 10 20 20 re f\n");
    ASSERT_EQ(ReadableSolidCount(), 1);
    EXPECT_EQ(g_solids.records[0].colour, 0xFF00FFu);

    // A line, then a white fill over it, then another line: the solid goes between them.
    Scan("0 0 m 100 100 l S 1 g 20 20 60 60 re f 0 100 m 100 0 l S\n");
    ASSERT_EQ(ReadableSolidCount(), 1);
    EXPECT_EQ(g_solids.records[0].colour, 0xFFFFFFu);
    EXPECT_EQ(g_solids.records[0].paint_position, 1);
    JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    ExpectReadBack(file);
    ASSERT_EQ(file.tags.size(), 3u);
    EXPECT_EQ(file.tags[0].class_name, "CDataSen");
    EXPECT_EQ(file.tags[1].class_name, "CDataSolid");

    // B keeps the outline as lines, after the solid beneath it; b closes first.
    Scan("0 0 1 rg 10 10 m 50 10 l 50 50 l B\n");
    EXPECT_EQ(ReadableSolidCount(), 1);
    EXPECT_EQ(g_store.conversion.line_count, 2);
    EXPECT_EQ(g_solids.records[0].paint_position, 0);
    Scan("10 10 m 50 10 l 50 50 l b*\n");
    EXPECT_EQ(ReadableSolidCount(), 1);
    EXPECT_EQ(g_store.conversion.line_count, 4);  // two sides, h's closing side, S's
}

TEST_F(SolidFillsTest, TenThousandPointPolygonCompletesWithItsArea) {
    // A star-shaped polygon of 10,000 points around a circle of radius 200 ± 20.
    Ring ring;
    for (int i = 0; i < 10000; ++i) {
        const double a = 2 * kPi * i / 10000;
        const double r = 200 + 20 * std::sin(37 * a);
        ring.push_back(Point{300 + r * std::cos(a), 400 + r * std::sin(a)});
    }
    double shoelace = 0.0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const Point a = ring[i], b = ring[(i + 1) % ring.size()];
        shoelace += a.x * b.y - b.x * a.y;
    }
    Scan(PolygonOperators({ring}) + "f\n");
    ASSERT_GT(ReadableSolidCount(), 0);
    ExpectCovers({ring}, false, std::fabs(shoelace) * 0.5);
    EXPECT_EQ(g_errors.count, 0);
}

TEST_F(SolidFillsTest, WithTheSettingOffFillsStayOutlines) {
    g_settings.solid_fills = 0;
    Scan("1 0 0 rg 0 0 100 100 re f 10 10 m 50 10 l 50 50 l B\n");
    EXPECT_EQ(ReadableSolidCount(), 0);
    EXPECT_EQ(g_store.conversion.line_count, 7);  // four sides, zero-length, two l
}

}  // namespace
}  // namespace velmora
