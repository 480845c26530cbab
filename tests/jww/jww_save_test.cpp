// The save command's decisions: the refusal without JWsxf.dat, the default name, and failures
// to create or write the file, which are reported and leave no partial file behind.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "jww/jww_fixture.h"
#include "jww/jww_writer.h"

namespace velmora {
namespace {

constexpr char kSxfMissing[] = "JWsxf.dat ファイルが見つかりません ";
constexpr char kErrorTitle[] = "エラー";
constexpr char kOpenFailedTitle[] = "ファイルオープンに失敗しました。\n";

class JwwSaveTest : public JwwTest {};

TEST_F(JwwSaveTest, MissingSxfDataRefusesWithoutWriting) {
    g_settings.sxf_length = -1;
    AddLine(0, 0, 1, 1);
    const std::string path = PathOf("refused.jww");
    EXPECT_FALSE(SaveJwwPage(nullptr, path.c_str(), 1));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, kSxfMissing);
    EXPECT_EQ(g_test_seam.messages[0].title, kErrorTitle);
    EXPECT_EQ(g_test_seam.messages[0].buttons, MessageButtons::Ok);
}

TEST_F(JwwSaveTest, SxfDataThatIsNotOneBlockRefusesWithoutWriting) {
    const std::string path = PathOf("refused.jww");
    for (int32_t length : {g_settings.sxf_length - 1, g_settings.sxf_length + 1, 0}) {
        g_settings.sxf_length = length;
        ResetTestSeam();
        EXPECT_FALSE(SaveJwwPage(nullptr, path.c_str(), 1)) << length;
        EXPECT_FALSE(std::filesystem::exists(path)) << length;
        ASSERT_EQ(g_test_seam.messages.size(), 1u) << length;
        EXPECT_EQ(g_test_seam.messages[0].title, kErrorTitle);
        g_settings.sxf_length = 10133;
    }
    // The writer itself refuses too, for a caller that skipped the check.
    g_settings.sxf_length = 10132;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(WriteJww(file, 1));
    std::fclose(file);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(JwwSaveTest, BeginMarksDuplicatesFreshly) {
    AddText("A", 0, 0, 10);
    AddText("A", 0, 0, 10);
    AddText("B", 0, -50, 10).duplicate_mark = 1;  // stale from an earlier pass
    EXPECT_TRUE(BeginJwwSave(nullptr));
    EXPECT_EQ(g_store.texts[0].duplicate_mark, 0);
    EXPECT_EQ(g_store.texts[1].duplicate_mark, 1);
    EXPECT_EQ(g_store.texts[2].duplicate_mark, 0);
    EXPECT_TRUE(g_test_seam.messages.empty());
}

TEST_F(JwwSaveTest, DefaultNameIsTheStemWithThePageForLongerFiles) {
    ASSERT_TRUE(SetPdfPath("/drawings/plan a.pdf"));
    char name[kPathBytes];
    g_store.page_count = 1;
    g_store.current_page = 1;
    EXPECT_TRUE(JwwDefaultFileName(name, sizeof name));
    EXPECT_STREQ(name, "/drawings/plan a");
    g_store.page_count = 12;
    g_store.current_page = 3;
    EXPECT_TRUE(JwwDefaultFileName(name, sizeof name));
    EXPECT_STREQ(name, "/drawings/plan a-03");
    g_store.page_count = 150;
    g_store.current_page = 123;
    EXPECT_TRUE(JwwDefaultFileName(name, sizeof name));
    EXPECT_STREQ(name, "/drawings/plan a-123");
}

TEST_F(JwwSaveTest, DefaultNameThatWouldNotFitKeepsTheStem) {
    const std::string path = std::string(255, 'd') + ".pdf";
    ASSERT_TRUE(SetPdfPath(path.c_str()));
    g_store.page_count = 1023;
    g_store.current_page = 99;
    char name[kPathBytes];
    EXPECT_TRUE(JwwDefaultFileName(name, sizeof name));
    EXPECT_EQ(std::string(name), std::string(255, 'd') + "-99");
    g_store.current_page = 1000;
    EXPECT_FALSE(JwwDefaultFileName(name, sizeof name));
    EXPECT_EQ(std::string(name), std::string(255, 'd'));
    char small[10];
    EXPECT_FALSE(JwwDefaultFileName(small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST_F(JwwSaveTest, FileThatCannotBeCreatedIsReportedAndTheProgramGoesOn) {
    const std::string path = PathOf("no such folder/page.jww");
    EXPECT_FALSE(WriteJwwFile(nullptr, path.c_str(), 1));
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, path);
    EXPECT_EQ(g_test_seam.messages[0].title, kOpenFailedTitle);
}

TEST_F(JwwSaveTest, WriterReportsAStreamThatTakesNoBytes) {
    const std::string path = PathOf("read only.jww");
    std::FILE* create = std::fopen(path.c_str(), "wb");
    ASSERT_NE(create, nullptr);
    std::fclose(create);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(WriteJww(file, 1));
    std::fclose(file);
}

#ifndef _WIN32
// A file size limit makes the writes fail after the file was created: the partial file goes.
TEST_F(JwwSaveTest, FailedWriteIsReportedAndThePartialFileRemoved) {
    for (int i = 0; i < 1000; ++i) AddLine(i, 0, i, -1);
    const std::string path = PathOf("too big.jww");
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteJwwFile(nullptr, path.c_str(), 1);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(g_test_seam.messages.size(), 1u);
    EXPECT_EQ(g_test_seam.messages[0].text, path);
    EXPECT_EQ(g_test_seam.messages[0].title, std::string("ファイルの書き込みに失敗しました。"));
}
#endif

TEST_F(JwwSaveTest, OverwritesAnEarlierFile) {
    AddLine(0, 0, 1, 1);
    AddLine(0, 0, 2, 2);
    test_support::JwwFile file;
    ASSERT_TRUE(SaveAndRead(&file));
    g_store.conversion.line_count = 1;
    ASSERT_TRUE(SaveAndRead(&file));
    EXPECT_EQ(file.lines.size(), 1u);
}

TEST_F(JwwSaveTest, PageOutsideTheTableWritesNothing) {
    const std::string path = PathOf("bad page.jww");
    EXPECT_FALSE(WriteJwwFile(nullptr, path.c_str(), 0));
    EXPECT_FALSE(WriteJwwFile(nullptr, path.c_str(), kPageTableSize));
    EXPECT_FALSE(std::filesystem::exists(path)) << "the partial file is removed";
    EXPECT_EQ(JwwScaleDenominator(-3), 1);
    EXPECT_EQ(JwwPageTransform(kPageTableSize).k, kMmPerPoint);
}

}  // namespace
}  // namespace velmora
