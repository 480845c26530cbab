// A page ready for the content scanner: content strings become page 1's decoded streams.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "content/content_scanner.h"
#include "content/graphics_state.h"
#include "content/operator_reader.h"
#include "content/path_builder.h"
#include "support/store_fixture.h"

namespace velmora {

class ContentTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        // Scanner state is global and would otherwise carry over from the test before.
        g_path.count = 0;
        g_path.state = kNoPath;
        g_operands = OperandList{};
        SetPage(0.0, 595.0, 842.0);
        BeginPage();
    }

    // The page's rotation and the MediaBox corner the page-frame step reads.
    void SetPage(double rotation, double x1, double y1) {
        PageRecord& page = g_store.pages[1];
        page.rotation = rotation;
        page.media_box[0] = 0.0;
        page.media_box[1] = 0.0;
        page.media_box[2] = x1;
        page.media_box[3] = y1;
    }

    // What the driver does before a page is set up.
    void BeginPage() {
        FreePageStreams();
        ResetConversionCounters(true);
        ResetForPage(1);
    }

    void AddStream(const std::string& content, int page = 1) {
        auto* data = static_cast<uint8_t*>(std::malloc(content.size() + 1));
        ASSERT_NE(data, nullptr);
        std::memcpy(data, content.data(), content.size());
        const int d = ++g_store.stream_count;
        g_store.streams[d] = DecodedStream{page, data, static_cast<int32_t>(content.size())};
    }

    // One content stream for page 1, scanned as a fresh page conversion.
    void Scan(const std::string& content) {
        BeginPage();
        AddStream(content);
        ContentScanner(1);
    }

    static int Lines() { return g_store.conversion.line_count; }
    static const LineRecord& Line(int i) { return g_store.lines[i]; }
    static int Counter(OperatorCounter op) { return g_store.pages[1].operator_counters[op]; }

    // A record's end points in user space of an unrotated page (the frame moves y down by y1).
    static void ExpectLine(int i, double x1, double y1, double x2, double y2) {
        const double top = g_store.pages[1].media_box[3];
        const LineRecord& line = g_store.lines[i];
        EXPECT_DOUBLE_EQ(line.x1, x1) << "record " << i;
        EXPECT_DOUBLE_EQ(line.y1, y1 - top) << "record " << i;
        EXPECT_DOUBLE_EQ(line.x2, x2) << "record " << i;
        EXPECT_DOUBLE_EQ(line.y2, y2 - top) << "record " << i;
    }
};

}  // namespace velmora
