// The report's file: its name beside the PDF, the bytes written, and files that cannot be
// opened or written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "report/report_file_name.h"
#include "report_fixture.h"
#include "support/pdf_maker.h"

namespace velmora {
namespace {

using test_support::OnePageDocument;
using test_support::PdfMaker;

std::string NameFor(const std::string& stem, size_t size = kPathBytes) {
    char name[kPathBytes + 16];
    EXPECT_LE(size, sizeof name);
    return ReportFileName(stem.c_str(), name, size) ? std::string(name) : "<none>";
}

TEST(ReportFileName, SuffixOnlyWhenTheWholeNameFitsIn259Characters) {
    EXPECT_EQ(NameFor("/drawings/plan"), "/drawings/plan_PDFreport.txt");
    EXPECT_EQ(NameFor("図面"), "図面_PDFreport.txt");
    // 245 + "_PDFreport" + ".txt" = 259 still fits; one more character leaves the suffix out.
    const std::string fits(245, 'a');
    EXPECT_EQ(NameFor(fits), fits + "_PDFreport.txt");
    const std::string too_long(246, 'a');
    EXPECT_EQ(NameFor(too_long), too_long + ".txt");
    EXPECT_EQ(NameFor(std::string(255, 'b')), std::string(255, 'b') + ".txt");
    EXPECT_EQ(NameFor(std::string(256, 'b')), "<none>");
    // A smaller buffer bounds the name the same way.
    EXPECT_EQ(NameFor("abc", 8), "abc.txt");
    EXPECT_EQ(NameFor("abcd", 8), "<none>");
    char name[4] = "x";
    EXPECT_FALSE(ReportFileName(nullptr, name, sizeof name));
    EXPECT_STREQ(name, "");
}

TEST(ReportFileName, DefaultNameComesFromTheLoadedPdf) {
    ASSERT_TRUE(SetPdfPath("/drawings/floor plan.pdf"));
    char name[kPathBytes];
    ASSERT_TRUE(ReportDefaultFileName(name, sizeof name));
    EXPECT_STREQ(name, "/drawings/floor plan_PDFreport.txt");

    // A path of 259 characters leaves a stem of 255: no room for the suffix.
    const std::string long_path = "/" + std::string(254, 'p') + ".pdf";
    ASSERT_EQ(long_path.size(), 259u);
    ASSERT_TRUE(SetPdfPath(long_path.c_str()));
    ASSERT_TRUE(ReportDefaultFileName(name, sizeof name));
    EXPECT_EQ(std::string(name), long_path.substr(0, 255) + ".txt");
}

TEST(ReportFileName, ConsoleDirectoryTakesTheDialogsName) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "velmora-report-name-test";
    std::filesystem::create_directories(directory);
    EXPECT_EQ(ReportPathFor(directory.string(), "/drawings/plan"), (directory / "plan_PDFreport.txt").string());
    EXPECT_EQ(ReportPathFor((directory / "r.txt").string(), "/drawings/plan"), (directory / "r.txt").string());
    EXPECT_EQ(ReportPathFor(directory.string(), "/d/" + std::string(250, 'q')), "");
    std::filesystem::remove_all(directory);
}

class ReportFile : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        directory_ = std::filesystem::temp_directory_path() / ("velmora-report-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(directory_);
        PdfMaker pdf = OnePageDocument();
        Open(pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R")));
    }
    void TearDown() override {
        std::filesystem::remove_all(directory_);
        ReportTest::TearDown();
    }
    std::filesystem::path directory_;
};

TEST_F(ReportFile, WrittenBytesAreTheReportWithCarriageReturns) {
    const std::string path = (directory_ / "plan_PDFreport.txt").string();
    ASSERT_TRUE(WriteReportFile(nullptr, path.c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, ReportText());
    const std::string head = "FileName : /drawings/plan.pdf\r\n\r\nPDFver   : PDF-1.4";
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_TRUE(g_test_seam.messages.empty());
    EXPECT_EQ(g_test_seam.erasing_repaints, 1);
}

TEST_F(ReportFile, UnopenableFileIsReportedAndTheStoreStays) {
    const std::string path = (directory_ / "missing" / "r.txt").string();
    EXPECT_FALSE(WriteReportFile(nullptr, path.c_str()));
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, path);
    EXPECT_EQ(g_test_seam.messages[0].title, "ファイルオープンに失敗しました。\n");
    // The document is still there for the next command.
    EXPECT_EQ(g_store.page_count, 1);
    EXPECT_EQ(g_store.pages[1].line_count, 1);
}

TEST_F(ReportFile, FailedWritesAreNoticed) {
    const std::string path = (directory_ / "read-only.txt").string();
    std::FILE* create = std::fopen(path.c_str(), "wb");
    ASSERT_NE(create, nullptr);
    std::fclose(create);
    std::FILE* read_only = std::fopen(path.c_str(), "rb");
    ASSERT_NE(read_only, nullptr);
    EXPECT_FALSE(WriteReportBody(read_only));
    std::fclose(read_only);
}

}  // namespace
}  // namespace velmora
