// The benchmark drawing: one generated A0 page of 998,000 segments - lines, rectangles, Bezier
// curves (ten pieces each), 85,000 runs of dashes drawn as separate strokes, and a staircase of
// 100,000 segments joined end to end (a connected figure for the layer tool) - in one
// FlateDecode content stream, written once per run to the temporary directory as
// velmora_million_segments.pdf and left there, so other readers can be timed on the same file.
// The stages load, set up and scan it; the later stages start from the scanned lines.
#pragma once

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "content/content_scanner.h"
#include "convert/document_reset.h"
#include "convert/page_setup.h"
#include "pdf/error_list.h"
#include "pdf/pdf_loader.h"
#include "platform/platform.h"
#include "store/document_store.h"
#include "settings/settings.h"

namespace velmora::bench {

inline constexpr int kDashRuns = 85000;
inline constexpr int kDashesPerRun = 6;
inline constexpr int kRectangles = 25000;
inline constexpr int kCurves = 18000;
inline constexpr int kSegments = 998000;  // below the page's limit of 999,999, with room to spare
// The staircase: segments of 0.02 points joined end to end, alone in its line width (so in a
// layer of its own). Its corners are written with five in the thousandths, which no other
// figure's two-decimal coordinates can equal.
inline constexpr int kStaircaseSegments = 100000;
inline constexpr int32_t kStaircaseWidthClass = 10;  // 1.0 point

// Content stream text for the drawing, with the number of segments it makes.
class ContentMaker {
public:
    explicit ContentMaker(uint64_t seed) : random_(seed) {}
    std::string text;
    int segments = 0;

    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }
    double X() { return Uniform(20, 3350); }
    double Y() { return Uniform(20, 2364); }

    [[gnu::format(printf, 2, 3)]] void Put(const char* format, ...) {
        char line[256];
        va_list args;
        va_start(args, format);
        const int length = std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        if (length > 0) text.append(line, static_cast<size_t>(length < 256 ? length : 255));
    }
    void Stroke(double x1, double y1, double x2, double y2) {
        Put("%.2f %.2f m %.2f %.2f l S\n", x1, y1, x2, y2);
        ++segments;
    }

    // Six dashes of 5 on a pitch of 8: most in a row, one run in ten ending on ticks, one in ten
    // along an arc (grouped by the merger, not merged).
    void DashRun(int kind) {
        const double x = X(), y = Y(), r = Uniform(0, 2 * std::numbers::pi);
        const double ux = std::cos(r), uy = std::sin(r);
        if (kind == 9) {
            const double radius = Uniform(30, 300), step = 5 * std::numbers::pi / 180;
            for (int k = 0; k < kDashesPerRun; ++k) {
                const double a0 = r + k * step, a1 = a0 + step * 0.6;
                Stroke(x + radius * std::cos(a0), y + radius * std::sin(a0), x + radius * std::cos(a1),
                       y + radius * std::sin(a1));
            }
            return;
        }
        for (int k = 0; k < kDashesPerRun; ++k) {
            const double s = 8.0 * k;
            Stroke(x + ux * s, y + uy * s, x + ux * (s + 5), y + uy * (s + 5));
        }
        if (kind == 8) {
            for (int k = 0; k < kDashesPerRun; ++k) {
                const double ex = x + ux * (8.0 * k + 5), ey = y + uy * (8.0 * k + 5);
                Stroke(ex - uy * 1.5, ey + ux * 1.5, ex + uy * 1.5, ey - ux * 1.5);
            }
        }
    }

    // From (x, y) in thousandths of a point, right and up in turns by `step`; each corner is
    // written the same way as the end of one segment and the start of the next.
    void Staircase(int x, int y, int step) {
        for (int i = 0; i < kStaircaseSegments; ++i) {
            const int nx = i % 2 == 0 ? x + step : x;
            const int ny = i % 2 == 0 ? y : y + step;
            Put("%d.%03d %d.%03d m %d.%03d %d.%03d l S\n", x / 1000, x % 1000, y / 1000, y % 1000, nx / 1000, nx % 1000,
                ny / 1000, ny % 1000);
            ++segments;
            x = nx;
            y = ny;
        }
    }

    void Make() {
        text.reserve(40u << 20);
        Put("q\n");
        Put("0.25 w\n");
        for (int i = 0; i < kDashRuns; ++i) {
            if (i % 2 == 0) Put("%s w\n", i % 4 == 0 ? "0.25" : "0.35");
            DashRun(i % 10);
        }
        Put("0.35 w\n");
        for (int i = 0; i < kRectangles; ++i) {
            Put("%.2f %.2f %.2f %.2f re S\n", X(), Y(), Uniform(2, 200), Uniform(2, 200));
            segments += 5;  // four sides and the closing segment the scanner emits for "re"
        }
        Put("0.18 w\n");
        for (int i = 0; i < kCurves; ++i) {
            const double cx = X(), cy = Y(), radius = Uniform(0.5, 100), a = Uniform(0, 6.3);
            const double k = radius * 0.5523;  // a quarter circle's control distance
            Put("%.2f %.2f m %.2f %.2f %.2f %.2f %.2f %.2f c S\n", cx + radius * std::cos(a), cy + radius * std::sin(a),
                cx + radius * std::cos(a) - k * std::sin(a), cy + radius * std::sin(a) + k * std::cos(a),
                cx - radius * std::sin(a) + k * std::cos(a), cy + radius * std::cos(a) + k * std::sin(a),
                cx - radius * std::sin(a), cy + radius * std::cos(a));
            segments += 10;
        }
        Put("1.0 w\n");
        Staircase(100005, 100005, 20);
        const char* widths[] = {"0.13", "0.5", "0.7", "1.4"};
        for (int i = 0; segments < kSegments; ++i) {
            if (i % 1000 == 0) Put("%s w\n", widths[(i / 1000) % 4]);
            const double x = X(), y = Y(), r = Uniform(0, 6.3), length = std::exp(Uniform(-2, 6));
            Stroke(x, y, x + length * std::cos(r), y + length * std::sin(r));
        }
        Put("Q\n");
    }

private:
    std::mt19937_64 random_;
};

inline std::string MakePdf(const std::string& content) {
    uLongf packed_size = compressBound(content.size());
    std::string packed(packed_size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
                  reinterpret_cast<const Bytef*>(content.data()), content.size(), 6) != Z_OK) {
        return "";
    }
    packed.resize(packed_size);
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 3370 2384] /Resources << >> /Contents 4 0 R >>",
        "<< /Length " + std::to_string(packed.size()) + " /Filter /FlateDecode >>\nstream\n" + packed +
            "\nendstream",
    };
    std::string pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// Generated once per run; empty when it could not be written.
inline const std::string& DrawingPath() {
    static const std::string path = [] {
        ContentMaker maker(20240601);
        maker.Make();
        const std::string pdf = MakePdf(maker.text);
        std::error_code error;
        const std::string file = (std::filesystem::temp_directory_path(error) / "velmora_million_segments.pdf").string();
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (pdf.empty() || out == nullptr) return std::string();
        const bool written = std::fwrite(pdf.data(), 1, pdf.size(), out) == pdf.size();
        if (std::fclose(out) != 0 || !written) return std::string();
        std::fprintf(stderr, "drawing: %s (%zu bytes, content %zu bytes, %d segments)\n", file.c_str(), pdf.size(),
                     maker.text.size(), maker.segments);
        return file;
    }();
    return path;
}

inline bool Ready(benchmark::State& state) {
    if (g_store.lines == nullptr) {
        if (!AllocateStoreTables()) {
            state.SkipWithError("the store tables could not be allocated");
            return false;
        }
        // The settings and JWsxf.dat installed beside the programs of this build.
        g_settings_directory = ProgramDirectory();
        ReadSettings(nullptr);
        ReadSxfData(nullptr);
    }
    if (DrawingPath().empty()) {
        state.SkipWithError("the drawing could not be written");
        return false;
    }
    return true;
}

inline void Load() {
    ResetForFile();
    FreeDocument();
    LoadPdfFile(DrawingPath().c_str());
}

inline void SetUp() {
    FreePageStreams();
    ResetForPage(1);
    SetUpPage(1);
}

inline void Scan() {
    ConversionState& c = g_store.conversion;
    c.line_count = 0;
    c.text_count = 0;
    c.pool_used = 0;
    c.figure_counter = 0;
    ResetConversionCounters(true);
    ClearErrors();
    ContentScanner(1);
}

inline bool Loaded(benchmark::State& state) {
    if (g_store.page_count != 1) Load();
    if (g_store.page_count != 1 || HasFatalError()) {
        state.SkipWithError("the drawing did not load");
        return false;
    }
    return true;
}

// The page's lines as the scanner leaves them, for the stages after it.
inline const std::vector<LineRecord>& ScannedLines(benchmark::State& state) {
    static std::vector<LineRecord> lines;
    if (lines.empty() && Loaded(state)) {
        SetUp();
        Scan();
        lines.assign(g_store.lines, g_store.lines + g_store.conversion.line_count);
    }
    return lines;
}

inline void Restore(const std::vector<LineRecord>& lines) {
    std::memcpy(g_store.lines, lines.data(), sizeof(LineRecord) * lines.size());
    g_store.conversion.line_count = static_cast<int32_t>(lines.size());
    g_store.conversion.text_count = 0;
    g_store.conversion.dash_merge_done = 0;
    g_store.current_page = 1;
}

}  // namespace velmora::bench
