// Reports of small documents loaded through the real reader, split into lines at CR LF.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/reader_fixture.h"
#include "report/report.h"
#include "convert/driver.h"

namespace velmora {

class ReportTest : public ReaderTest {
protected:
    // Loads the bytes the way the open command does (page 1 converted), then the pass over every
    // page that the report command runs first.
    void Open(const std::string& bytes, const char* path = "/drawings/plan.pdf") {
        ASSERT_TRUE(SetPdfPath(path));
        Load(bytes);
        ASSERT_GT(g_store.page_count, 0);
        ConvertPage(1);
        ConvertAllPages(nullptr);
    }

    static std::string ReportText() {
        std::string text;
        ReportSink sink;
        sink.text = &text;
        WriteReportBody(sink);
        return text;
    }

    // The report's lines; every line must end in CR LF and no line feed may stand alone.
    static std::vector<std::string> ReportLines() {
        const std::string text = ReportText();
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find("\r\n", start);
            if (end == std::string::npos) {
                ADD_FAILURE() << "text after the last CR LF: " << text.substr(start);
                break;
            }
            const std::string line = text.substr(start, end - start);
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
            lines.push_back(line);
            start = end + 2;
        }
        return lines;
    }

    // The lines from the one equal to `heading` up to (not including) the next heading line.
    static std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& heading) {
        std::vector<std::string> section;
        bool inside = false;
        for (const std::string& line : lines) {
            if (line == heading) {
                inside = true;
            } else if (inside && line.rfind("====================", 0) == 0) {
                break;
            }
            if (inside) section.push_back(line);
        }
        return section;
    }

    static void ExpectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
        for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
            EXPECT_EQ(i < actual.size() ? actual[i] : "<none>", i < expected.size() ? expected[i] : "<none>")
                << "line " << i;
        }
    }

    // Right-aligned number in `width` characters, zero-padded when `zeros`.
    static std::string Pad(long value, size_t width, bool zeros = false) {
        std::string digits = std::to_string(value);
        while (digits.size() < width) digits.insert(0, 1, zeros ? '0' : ' ');
        return digits;
    }
};

}  // namespace velmora
