#include "convert/fake_reader.h"

#include "pdf/error_list.h"
#include "pdf/security_handler.h"

namespace velmora {

FakeReader g_fake_reader;

namespace {

void FakeLoad(const char* path) {
    g_fake_reader.loaded_paths.push_back(path);
    g_fake_reader.current = path;
    const auto found = g_fake_reader.files.find(path);
    if (found == g_fake_reader.files.end()) {
        RecordError(10);
        return;
    }
    const std::string& password = found->second.password;
    if (!password.empty() && DocumentPassword() != password) {
        RecordError(DocumentPassword().empty() ? kErrorPasswordRequired : kErrorWrongPassword);
        return;
    }
    for (int code : found->second.errors) RecordError(code);
    g_store.object_count = found->second.object_count;
    g_store.page_count = static_cast<int>(found->second.pages.size());
}

bool FakeSetUp(int page) {
    const FakePage& fake = g_fake_reader.files[g_fake_reader.current].pages.at(page - 1);
    for (int i = 0; i < 4; ++i) g_store.pages[page].media_box[i] = fake.media_box[i];
    return true;
}

void FakeScan(int page) {
    g_fake_reader.scanned_pages.push_back(page);
    const FakePage& fake = g_fake_reader.files[g_fake_reader.current].pages.at(page - 1);
    for (int i = 0; i < fake.lines; ++i) {
        LineRecord& line = g_store.lines[g_store.conversion.line_count++];
        line = LineRecord{};
        line.page_number = page;
    }
    for (int i = 0; i < fake.texts; ++i) {
        TextRecord& text = g_store.texts[g_store.conversion.text_count++];
        text = TextRecord{};
        text.page_number = page;
    }
    g_store.pages[page].line_count = fake.lines;
    g_store.pages[page].text_count = fake.texts;
}

}  // namespace

void UseFakeReader() {
    g_fake_reader = FakeReader{};
    g_driver_stages = DriverStages{FakeLoad, FakeSetUp, FakeScan};
}

}  // namespace velmora
