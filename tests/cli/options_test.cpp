// velmora-convert's option parsing, page lists and output names.
#include <gtest/gtest.h>

#include "cli/options.h"
#include "cli/output_paths.h"

namespace velmora {
namespace {

TEST(OptionsTest, EveryOptionInBothForms) {
    const ParseResult result = ParseOptions({"-o", "out", "--pages=1,3-5", "--scale", "1/50", "--route=gs",
                                             "--report", "r.txt", "--svg", "--list", "--config=cfg", "-q",
                                             "plan.pdf"});
    ASSERT_EQ(result.error, "");
    const ConvertOptions& o = result.options;
    EXPECT_EQ(o.inputs, std::vector<std::string>{"plan.pdf"});
    EXPECT_EQ(o.output, "out");
    ASSERT_EQ(o.pages.size(), 2u);
    EXPECT_EQ(o.pages[1].first, 3);
    EXPECT_EQ(o.pages[1].last, 5);
    EXPECT_EQ(o.scale_denominator, 50);
    EXPECT_EQ(o.route, Route::Ghostscript);
    EXPECT_EQ(o.report_path, "r.txt");
    EXPECT_TRUE(o.svg && o.list && o.quiet);
    EXPECT_EQ(o.config_directory, "cfg");
}

TEST(OptionsTest, UsageErrors) {
    EXPECT_EQ(ParseOptions({}).error, "no input file");
    EXPECT_EQ(ParseOptions({"-x", "a.pdf"}).error, "unknown option '-x'");
    EXPECT_EQ(ParseOptions({"a.pdf", "-p"}).error, "option '-p' needs a value");
    EXPECT_EQ(ParseOptions({"--svg=1", "a.pdf"}).error, "option '--svg' takes no value");
    EXPECT_EQ(ParseOptions({"a.pdf", "-v", "b.pdf"}).options.inputs, (std::vector<std::string>{"a.pdf", "b.pdf"}));
    EXPECT_EQ(ParseOptions({"-q", "-v", "a.pdf"}).error, "-q and -v exclude each other");
    EXPECT_NE(ParseOptions({"--route", "fast", "a.pdf"}).error, "");
    EXPECT_EQ(ParseOptions({"--help"}).error, "");
    EXPECT_EQ(ParseOptions({"--", "-odd.pdf"}).options.inputs, std::vector<std::string>{"-odd.pdf"});
}

TEST(OptionsTest, PageSpecs) {
    std::vector<PageRange> pages;
    EXPECT_TRUE(ParsePageList("all", &pages));
    EXPECT_TRUE(pages.empty());
    EXPECT_TRUE(ParsePageList("7", &pages));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].first, 7);
    for (const char* bad : {"", "0", "3-2", "1,,2", "1-", "-3", "a", "1.5", "1,", "9999999999"}) {
        EXPECT_FALSE(ParsePageList(bad, &pages)) << bad;
    }
}

TEST(OptionsTest, Scales) {
    int n = 0;
    EXPECT_TRUE(ParseScale("1/1", &n));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(ParseScale("1/200", &n));
    EXPECT_EQ(n, 200);
    EXPECT_TRUE(ParseScale("auto", &n));
    EXPECT_EQ(n, kScaleAuto);
    for (const char* bad : {"200", "1/0", "2/100", "1/", "1/-5", "1/x", "Auto", "auto1"}) EXPECT_FALSE(ParseScale(bad, &n)) << bad;
}

TEST(OptionsTest, PagesExpandAscendingWithoutRepeatsAndMissingPagesAreNamed) {
    std::vector<PageRange> ranges;
    ASSERT_TRUE(ParsePageList("5,1-3,2", &ranges));
    std::vector<int> pages;
    int missing = 0;
    ASSERT_TRUE(ExpandPages(ranges, 5, &pages, &missing));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 5}));
    EXPECT_FALSE(ExpandPages(ranges, 4, &pages, &missing));
    EXPECT_EQ(missing, 5);
    ASSERT_TRUE(ParsePageList("3-9", &ranges));
    EXPECT_FALSE(ExpandPages(ranges, 4, &pages, &missing));
    EXPECT_EQ(missing, 5);
    ASSERT_TRUE(ExpandPages({}, 3, &pages, &missing));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
}

TEST(OutputPathTest, NamesFollowTheSaveDialog) {
    ConvertOptions beside;
    EXPECT_EQ(OutputPathForPage(beside, "/d/plan", 1, 1, 1), "/d/plan.jww");
    EXPECT_EQ(OutputPathForPage(beside, "/d/plan", 3, 12, 2), "/d/plan-03.jww");
    EXPECT_EQ(OutputPathForPage(beside, "/d/plan", 112, 200, 1), "/d/plan-112.jww");
    ConvertOptions file;
    file.output = "x/one.jww";
    EXPECT_EQ(OutputPathForPage(file, "/d/plan", 3, 12, 1), "x/one.jww");
    ConvertOptions directory;
    directory.output = "outdir";
    EXPECT_EQ(OutputPathForPage(directory, "/d/plan", 3, 12, 2), "outdir/plan-03.jww");
    directory.output = "outdir/";
    EXPECT_EQ(OutputPathForPage(directory, "C:\\d\\plan", 4, 12, 2), "outdir/plan-04.jww");
    // One page into a directory: a trailing separator, an existing directory, or several inputs.
    EXPECT_EQ(OutputPathForPage(directory, "/d/plan", 1, 1, 1), "outdir/plan.jww");
    directory.output = ::testing::TempDir();
    EXPECT_TRUE(OutputIsDirectory(directory, 1));
    ConvertOptions several;
    several.output = "outdir";
    several.inputs = {"a.pdf", "b.pdf"};
    EXPECT_EQ(OutputPathForPage(several, "/d/b", 1, 1, 1), "outdir/b.jww");
}

TEST(OutputPathTest, ConfigDirectoryOptionWins) {
    EXPECT_EQ(ChooseConfigDirectory("cfg", "/opt/velmora/"), "cfg/");
    EXPECT_EQ(ChooseConfigDirectory("cfg/", "/opt/velmora/"), "cfg/");
}

}  // namespace
}  // namespace velmora
