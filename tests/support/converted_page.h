// A page of test-made PDF bytes converted as the driver converts it, and its line records in the
// page's device space (points, origin at the top left of the turned page, y downwards).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "convert/driver.h"
#include "pdf/pdf_loader.h"
#include "store/document_store.h"

namespace velmora::test_support {

struct Segment {
    double x1, y1, x2, y2;
};

// The current page's records (y turned downwards, as a picture of the page draws them).
inline std::vector<Segment> PageSegments() {
    std::vector<Segment> out;
    for (int32_t i = 0; i < g_store.conversion.line_count; ++i) {
        const LineRecord& line = g_store.lines[i];
        out.push_back(Segment{line.x1, -line.y1, line.x2, -line.y2});
    }
    return out;
}

inline std::vector<Segment> ConvertBytes(const std::string& bytes, int page = 1) {
    LoadPdfBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (page > g_store.page_count) return {};
    ConvertPage(page);
    return PageSegments();
}

inline void ExpectSegment(const Segment& s, double x1, double y1, double x2, double y2) {
    constexpr double kClose = 1e-9;
    EXPECT_NEAR(s.x1, x1, kClose);
    EXPECT_NEAR(s.y1, y1, kClose);
    EXPECT_NEAR(s.x2, x2, kClose);
    EXPECT_NEAR(s.y2, y2, kClose);
}

}  // namespace velmora::test_support
