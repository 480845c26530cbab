// A fresh store per test and helpers to load test-made bytes through the reader.
#pragma once

#include <string>
#include <vector>

#include "convert/document_reset.h"
#include "pdf/error_list.h"
#include "pdf/pdf_loader.h"
#include "support/store_fixture.h"

namespace velmora {

class ReaderTest : public StoreTest {
protected:
    void TearDown() override {
        g_rebuild_damaged_cross_reference = true;
        StoreTest::TearDown();
    }
    // For the tests of the table readers themselves: their codes, without the rebuild behind them.
    static void ReadTablesOnly() { g_rebuild_damaged_cross_reference = false; }
    void Load(const std::string& bytes) {
        ResetForFile();
        LoadPdfBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    static std::vector<int> Codes() { return std::vector<int>(g_errors.codes, g_errors.codes + g_errors.count); }
    static std::string Label(int n) { return g_store.objects[n].label; }
    static std::string EntryBytes(int entry) {
        const DecodedStream& s = g_store.streams[entry];
        return s.length > 0 ? std::string(reinterpret_cast<const char*>(s.data), s.length) : std::string();
    }
};

}  // namespace velmora
