// Scripted reader stages: what a "file" yields when loaded and what each page's scan emits.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/document_store.h"
#include "convert/driver_stages.h"

namespace velmora {

struct FakePage {
    int lines = 0;
    int texts = 0;
    double media_box[4] = {0, 0, 595, 842};
};

struct FakeFile {
    std::vector<int> errors;  // recorded while loading
    int object_count = 0;
    std::vector<FakePage> pages;
    std::string password{};  // when set, the file opens only with it (codes 44 and 45 otherwise)
};

struct FakeReader {
    std::map<std::string, FakeFile> files;
    std::vector<std::string> loaded_paths;
    std::vector<int> scanned_pages;
    std::string current;
};

extern FakeReader g_fake_reader;

// Points the driver at the fake stages and empties the script.
void UseFakeReader();

}  // namespace velmora
