// A fresh store, test seam and reader stages for every test, the way the program starts.
#pragma once

#include <gtest/gtest.h>

#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "platform/test_seam.h"
#include "store/document_store.h"
#include "convert/driver.h"
#include "convert/driver_stages.h"
#include "settings/settings.h"
#include "view/preview_state.h"

namespace velmora {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (g_store.lines == nullptr) {
            ASSERT_TRUE(AllocateStoreTables());
        }
        SetDefaultSettings();
        // Tests write any page record and font table directly, not only the ones a file uses:
        // everything counts as used, so that the program's reset leaves a clean store.
        UsePageRecords(kMaxPages);
        g_store.font_count = kFontCapacity - 1;
        ResetForOpen();
        ResetPreviewState();
        ResetViewAndToolsForFile();
        g_store.object_count = 0;
        ResetTestSeam();
        g_driver_stages = DefaultDriverStages();
    }
    void TearDown() override {
        FreeDocument();
        g_driver_stages = DefaultDriverStages();
    }
};

}  // namespace velmora
