// Curves kept as arcs: generated pages with circles and arcs under turned, mirrored and unevenly
// scaled matrices, a rounded rectangle, a spline that is no arc; each converted, saved and read
// back with the strict reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "content/arc_recognition.h"
#include "pdf/error_list.h"
#include "jww/jww_writer.h"
#include "support/converted_page.h"
#include "support/pdf_maker.h"
#include "../jww/jww_fixture.h"

namespace velmora {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMediaHeight = 600.0;

struct P {
    double x, y;
};

std::string Num(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6f", v);
    return text;
}

// An arc of `pieces` cubics about (cx, cy) from `start` through `sweep` radians, with the usual
// handle 4/3 tan(piece / 4) times `handle_scale[i]`.
std::string ArcPath(double cx, double cy, double r, double start, double sweep, int pieces, bool move = true,
                    std::vector<double> handle_scale = {}) {
    std::string s;
    const double step = sweep / pieces;
    auto at = [&](double a) { return P{cx + r * std::cos(a), cy + r * std::sin(a)}; };
    if (move) s += Num(at(start).x) + " " + Num(at(start).y) + " m\n";
    for (int i = 0; i < pieces; ++i) {
        const double a0 = start + i * step, a1 = a0 + step;
        const double k = 4.0 / 3.0 * std::tan(step / 4.0) * r * (handle_scale.empty() ? 1.0 : handle_scale[i]);
        const P p0 = at(a0), p3 = at(a1);
        const P p1{p0.x - k * std::sin(a0), p0.y + k * std::cos(a0)};
        const P p2{p3.x + k * std::sin(a1), p3.y - k * std::cos(a1)};
        s += Num(p1.x) + " " + Num(p1.y) + " " + Num(p2.x) + " " + Num(p2.y) + " " + Num(p3.x) + " " + Num(p3.y) + " c\n";
    }
    return s;
}

// The usual circle: four cubics with the 0.5523 handle.
std::string Circle(double cx, double cy, double r) {
    const double k = 0.5523 * r;
    return Num(cx + r) + " " + Num(cy) + " m " + Num(cx + r) + " " + Num(cy + k) + " " + Num(cx + k) + " " +
           Num(cy + r) + " " + Num(cx) + " " + Num(cy + r) + " c " + Num(cx - k) + " " + Num(cy + r) + " " +
           Num(cx - r) + " " + Num(cy + k) + " " + Num(cx - r) + " " + Num(cy) + " c " + Num(cx - r) + " " +
           Num(cy - k) + " " + Num(cx - k) + " " + Num(cy - r) + " " + Num(cx) + " " + Num(cy - r) + " c " +
           Num(cx + k) + " " + Num(cy - r) + " " + Num(cx + r) + " " + Num(cy - k) + " " + Num(cx + r) + " " +
           Num(cy) + " c h\n";
}

// The page frame of a user-space point under cm [a b c d e f]: the top edge at y = 0.
P Frame(const double m[6], double x, double y) {
    return P{m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5] - kMediaHeight};
}

// The distance from p to the arc, by a fine walk along it.
double DistanceToArc(const ArcRecord& arc, P p) {
    double best = 1e300;
    for (int i = 0; i <= 20000; ++i) {
        double x = 0, y = 0;
        ArcPointAt(arc, arc.start_angle + arc.sweep * i / 20000.0, &x, &y);
        best = std::min(best, std::hypot(x - p.x, y - p.y));
    }
    return best;
}

class ArcRecognitionTest : public JwwTest {
protected:
    // Converts one page of `content` with arcs on or off; its lines and arcs stay in the store.
    void Convert(const std::string& content, bool arcs) {
        g_settings.arcs = arcs ? 1 : 0;
        test_support::PdfMaker pdf = test_support::OnePageDocument("/MediaBox [0 0 800 600]", content);
        test_support::ConvertBytes(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
        ASSERT_EQ(g_errors.count, 0) << g_errors.codes[0];
    }

    // Saves the page and checks that the file holds exactly the store's arcs, in millimetres.
    void ExpectSavedArcs() {
        test_support::JwwFile file;
        ASSERT_TRUE(SaveAndRead(&file));
        ASSERT_EQ(file.arc_list.size(), static_cast<size_t>(g_arcs.count));
        EXPECT_EQ(file.lines.size(), static_cast<size_t>(g_store.conversion.line_count));
        const JwwTransform t = JwwPageTransform(1);
        for (int i = 0; i < g_arcs.count; ++i) {
            const ArcRecord& arc = g_arcs.records[i];
            const test_support::JwwArc& read = file.arc_list[i];
            EXPECT_DOUBLE_EQ(read.centre_x, (arc.centre_x - t.origin_x) * t.k);
            EXPECT_DOUBLE_EQ(read.centre_y, (arc.centre_y + t.origin_y) * t.k);
            EXPECT_DOUBLE_EQ(read.radius, arc.radius * t.k);
            EXPECT_EQ(read.start_angle, arc.start_angle);
            EXPECT_EQ(read.sweep, arc.sweep);
            EXPECT_EQ(read.tilt, arc.tilt);
            EXPECT_EQ(read.flatness, arc.flatness);
            EXPECT_EQ(read.full_circle, static_cast<uint32_t>(arc.full_circle));
            EXPECT_EQ(read.attributes.layer, arc.layer);
            EXPECT_EQ(read.attributes.layer_group, arc.layer_group);
            EXPECT_EQ(read.attributes.pen_colour, arc.pen_colour);
        }
    }
};

TEST_F(ArcRecognitionTest, CirclesUnderTurnedMirroredAndUnevenMatricesBecomeOneArcEach) {
    struct Case {
        const char* name;
        double m[6];
        double radius, flatness;  // expected
    };
    const double c30 = std::cos(kPi / 6), s30 = std::sin(kPi / 6);
    const Case cases[] = {
        {"plain", {1, 0, 0, 1, 0, 0}, 40, 1},
        {"turned", {c30, s30, -s30, c30, 300, 50}, 40, 1},
        {"mirrored", {-1, 0, 0, 1, 700, 0}, 40, 1},
        {"uneven", {2, 0, 0, 1, 0, 0}, 80, 0.5},
        {"uneven and turned", {2 * c30, 2 * s30, -s30, c30, 300, 100}, 80, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string cm;
        for (double v : c.m) cm += Num(v) + " ";
        const std::string content = "q " + cm + "cm 1 w\n" + Circle(200, 250, 40) + "S Q";
        Convert(content, false);
        EXPECT_EQ(g_arcs.count, 0);
        const int32_t lines_off = g_store.conversion.line_count;
        EXPECT_GE(lines_off, 40);
        Convert(content, true);
        ASSERT_EQ(g_arcs.count, 1);
        EXPECT_EQ(g_store.conversion.line_count, lines_off - 40);  // the closing segments stay
        const ArcRecord& arc = g_arcs.records[0];
        const P centre = Frame(c.m, 200, 250);
        const double tolerance = ArcTolerance(arc.radius);
        EXPECT_NEAR(arc.centre_x, centre.x, tolerance);
        EXPECT_NEAR(arc.centre_y, centre.y, tolerance);
        EXPECT_NEAR(arc.radius, c.radius, tolerance);
        EXPECT_NEAR(arc.flatness, c.flatness, 0.002);
        EXPECT_EQ(arc.full_circle, 1);
        EXPECT_DOUBLE_EQ(arc.sweep, 2 * kPi);
        EXPECT_NE(arc.group_number, 0);
        if (c.flatness != 1) {
            EXPECT_NEAR(std::fmod(arc.tilt + 2 * kPi, kPi), std::atan2(c.m[1], c.m[0]), 0.002);
        }
        // The curve's points where the pieces meet lie on the arc.
        for (P p : {P{240, 250}, P{200, 290}, P{160, 250}, P{200, 210}}) {
            EXPECT_LE(DistanceToArc(arc, Frame(c.m, p.x, p.y)), tolerance);
        }
        ExpectSavedArcs();
    }
}

TEST_F(ArcRecognitionTest, ArcsOfAnySweepAndIrregularHandlesPassAndTheirEndsAreTheCurves) {
    struct Case {
        const char* name;
        double start, sweep;
        int pieces;
        std::vector<double> handles;
    };
    const Case cases[] = {
        {"270 degrees of three", 0.3, 1.5 * kPi, 3, {}},
        {"half of two irregular", 1.0, kPi, 2, {0.993, 1.008}},
        {"clockwise quarter", 2.0, -kPi / 2, 1, {}},
        {"20 degrees", 0.1, kPi / 9, 1, {}},
        {"300 degrees of five irregular", -1.0, 5 * kPi / 3, 5, {1.01, 0.99, 1.0, 1.015, 0.99}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Convert("0.5 w\n" + ArcPath(300, 300, 120, c.start, c.sweep, c.pieces, true, c.handles) + "S", true);
        ASSERT_EQ(g_arcs.count, 1);
        EXPECT_EQ(g_store.conversion.line_count, 0);
        const ArcRecord& arc = g_arcs.records[0];
        const double tolerance = ArcTolerance(120);
        EXPECT_NEAR(arc.centre_x, 300, tolerance);
        EXPECT_NEAR(arc.centre_y, 300 - kMediaHeight, tolerance);
        EXPECT_NEAR(arc.radius, 120, tolerance);
        EXPECT_NEAR(arc.sweep, std::fabs(c.sweep), 0.01);
        EXPECT_EQ(arc.full_circle, 0);
        // Its ends are the curve's ends (counter-clockwise: a clockwise curve ends where the arc starts).
        const double first = c.sweep > 0 ? c.start : c.start + c.sweep;
        double x = 0, y = 0;
        ArcStartPoint(arc, &x, &y);
        EXPECT_NEAR(x, 300 + 120 * std::cos(first), tolerance);
        EXPECT_NEAR(y, 300 + 120 * std::sin(first) - kMediaHeight, tolerance);
        ArcEndPoint(arc, &x, &y);
        EXPECT_NEAR(x, 300 + 120 * std::cos(first + std::fabs(c.sweep)), tolerance);
        EXPECT_NEAR(y, 300 + 120 * std::sin(first + std::fabs(c.sweep)) - kMediaHeight, tolerance);
        ExpectSavedArcs();
    }
}

TEST_F(ArcRecognitionTest, RoundedRectangleKeepsItsSidesAndSplinesStayLines) {
    // Four quarter corners of radius 10 joined by straight sides.
    std::string slot = "100 100 m 200 100 l\n" + ArcPath(200, 110, 10, -kPi / 2, kPi / 2, 1, false) +
                       "210 160 l\n" + ArcPath(200, 160, 10, 0, kPi / 2, 1, false) + "100 170 l\n" +
                       ArcPath(100, 160, 10, kPi / 2, kPi / 2, 1, false) + "90 110 l\n" +
                       ArcPath(100, 110, 10, kPi, kPi / 2, 1, false) + "h S\n";
    Convert(slot, false);
    const int32_t lines_off = g_store.conversion.line_count;
    Convert(slot, true);
    EXPECT_EQ(g_arcs.count, 4);
    EXPECT_EQ(g_store.conversion.line_count, lines_off - 40);
    for (int i = 0; i < g_store.conversion.line_count; ++i) {
        EXPECT_EQ(g_store.lines[i].group_number, 0) << "only the sides are left as lines";
    }
    for (int i = 0; i < g_arcs.count; ++i) {
        EXPECT_NEAR(g_arcs.records[i].radius, 10, ArcTolerance(10));
        EXPECT_NEAR(g_arcs.records[i].sweep, kPi / 2, 1e-3);
    }
    ExpectSavedArcs();

    // An S-shaped spline and a wave of three cubics are no arcs: ten pieces each, as before.
    const std::string splines = "50 50 m 100 150 150 -50 200 50 c S\n"
                                "50 300 m 80 340 120 260 150 300 c 180 340 220 260 250 300 c 280 340 320 260 350 300 c S\n";
    Convert(splines, true);
    EXPECT_EQ(g_arcs.count, 0);
    EXPECT_EQ(g_store.conversion.line_count, 40);
    Convert(splines, false);
    EXPECT_EQ(g_store.conversion.line_count, 40);

    // A circle and a spline in one subpath: the circle's four cubics become an arc, the spline stays.
    Convert(ArcPath(400, 300, 50, 0, 2 * kPi, 4) + "500 400 550 200 600 300 c S", true);
    EXPECT_EQ(g_arcs.count, 1);
    EXPECT_EQ(g_store.conversion.line_count, 10);
    ExpectSavedArcs();
}

TEST_F(ArcRecognitionTest, TakenBackPathsTakeTheirArcsAlong) {
    // n after W drops the clip path whole; f* drops the last subpath only.
    Convert(Circle(100, 100, 20) + "W n\n" + Circle(300, 300, 30) + "S", true);
    ASSERT_EQ(g_arcs.count, 1);
    EXPECT_NEAR(g_arcs.records[0].radius, 30, ArcTolerance(30));
    Convert(Circle(100, 100, 20) + Circle(300, 300, 30) + "f*", true);
    ASSERT_EQ(g_arcs.count, 1);
    EXPECT_NEAR(g_arcs.records[0].radius, 20, ArcTolerance(20));
}

}  // namespace
}  // namespace velmora
