// EmitText: the pool layout, the 9,999-text and pool limits with code 121,
// and the TextSizeHistogram.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "content/text_emitter.h"
#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "support/store_fixture.h"

namespace velmora {
namespace {

class TextEmitterTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ResetConversionCounters(true);
        ResetForPage(1);
        g_store.pages[1].rotation = 0.0;
        g_store.pages[1].media_box[2] = 595.0;
        g_store.pages[1].media_box[3] = 842.0;
        g_store.conversion.font_size = 10.0;
        g_store.conversion.font_number = 4;
    }
    static bool Emit(const std::string& text, double x = 10.0, double y = 20.0) {
        return EmitText(x, y, x + 20.0, y, 1, text.data(), static_cast<int32_t>(text.size()));
    }
};

TEST_F(TextEmitterTest, RecordsGoBackToBackInThePool) {
    ASSERT_TRUE(Emit("ab"));
    ASSERT_TRUE(Emit(""));
    ASSERT_TRUE(Emit("図面"));
    const ConversionState& c = g_store.conversion;
    ASSERT_EQ(c.text_count, 3);
    EXPECT_EQ(c.pool_used, 3 + 1 + 5);
    EXPECT_EQ(g_store.texts[2].string_offset, 4);
    EXPECT_EQ(g_store.texts[2].string_length, 4);
    EXPECT_STREQ(g_store.text_pool + 4, "図面");
    EXPECT_EQ(c.total_texts, 3);
    EXPECT_EQ(c.nonempty_texts, 2);  // the empty text is stored and counted, but not as non-empty
    EXPECT_EQ(g_store.pages[1].nonempty_text_count, 2);
}

TEST_F(TextEmitterTest, TheNineThousandNineHundredNinetyNinthTextIsTheLast) {
    g_store.conversion.text_count = kMaxTextsPerPage - 1;
    EXPECT_TRUE(Emit("a"));
    EXPECT_FALSE(Emit("b"));
    EXPECT_FALSE(Emit("c"));
    EXPECT_EQ(g_store.conversion.text_count, kMaxTextsPerPage);
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], 121);

    // Code 121 goes only into an empty list.
    ResetForPage(1);
    ClearErrors();
    RecordError(91);
    g_store.conversion.text_count = kMaxTextsPerPage;
    EXPECT_FALSE(Emit("d"));
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], 91);
}

TEST_F(TextEmitterTest, PoolTakesTextsWhileBelowItsLimitAndOnlyWhole) {
    ConversionState& c = g_store.conversion;
    c.pool_used = kTextPoolLimit - 1;
    EXPECT_TRUE(Emit(""));  // the NUL alone
    EXPECT_EQ(c.pool_used, kTextPoolLimit);
    EXPECT_FALSE(Emit(""));
    EXPECT_EQ(g_errors.count, 1);

    // Below the limit a string that would run past the pool's end is refused as well.
    ClearErrors();
    c.pool_used = kTextPoolBytes - 10;
    EXPECT_FALSE(Emit(std::string(10, 'x')));
    EXPECT_EQ(c.pool_used, kTextPoolBytes - 10);
    ASSERT_EQ(g_errors.count, 1);
    EXPECT_EQ(g_errors.codes[0], 121);
    EXPECT_TRUE(Emit(std::string(9, 'x')));
    EXPECT_EQ(c.pool_used, kTextPoolBytes);
    EXPECT_EQ(g_store.text_pool[kTextPoolBytes - 1], '\0');
    EXPECT_EQ(c.text_count, 2);
}

TEST_F(TextEmitterTest, HistogramClassesAreTenthsOfAPointUpTo300) {
    const struct {
        double size;
        int size_class;
    } cases[] = {{12.0, 120}, {10.56, 105}, {0.05, 0}, {30.0, 300}, {45.7, 300}, {-3.0, 0}};
    for (const auto& c : cases) {
        std::memset(g_store.text_size_histogram, 0, sizeof g_store.text_size_histogram);
        g_store.conversion.font_size = c.size;
        ASSERT_TRUE(Emit("a"));
        EXPECT_EQ(g_store.text_size_histogram[c.size_class], 1) << c.size;
        EXPECT_DOUBLE_EQ(g_store.texts[g_store.conversion.text_count - 1].size_x, c.size);
    }
    // The histogram is cleared by a file load, not by a page.
    ResetForPage(1);
    EXPECT_EQ(g_store.text_size_histogram[0], 1);
    ResetForFile();
    EXPECT_EQ(g_store.text_size_histogram[0], 0);
}

TEST_F(TextEmitterTest, NoPlaceOnThePageStoresNothing) {
    EXPECT_FALSE(EmitText(std::numeric_limits<double>::infinity(), 0, 1, 0, 1, "a", 1));
    EXPECT_FALSE(EmitText(0, 0, std::nan(""), 0, 1, "a", 1));
    EXPECT_FALSE(EmitText(0, 0, 1, 0, kPageTableSize, "a", 1));
    EXPECT_FALSE(EmitText(0, 0, 1, 0, 1, "a", -1));
    EXPECT_EQ(g_store.conversion.text_count, 0);
    EXPECT_EQ(g_store.pages[1].text_count, 0);
    EXPECT_EQ(g_errors.count, 0);
}

}  // namespace
}  // namespace velmora
