#include "report/report_names.h"

namespace velmora {

const char DataFormatNames[kDataFormatNameCount][kReportNameBytes] = {
    "辞書", "ブーリアン", "数値", "文字",    "名前",  "配列", "辞書(Type)", "DataStream", "参照(Font)", "その他",
    "tmp",  "Font情報",   "FontStream", "tmp", "tmp", "Creator", "tmp",  "tmp",        "tmp",        "tmp",
};

// "Differennces" is the label users of the report know; it stays as it is.
const char CodeConversionNames[kCodeConversionNameCount][kReportNameBytes] = {
    "文字code情報なし", "ToUnicode", "Differennces", "FontDescriptor", "temp",
    "temp",             "temp",      "temp",         "temp",           "temp",
};

namespace {
constexpr int kOtherKind = 9;
constexpr int kFirstTempConversion = 4;
}  // namespace

const char* DataFormatName(int32_t kind) {
    if (kind < 0 || kind >= kDataFormatNameCount) return DataFormatNames[kOtherKind];
    return DataFormatNames[kind];
}

const char* CodeConversionName(int32_t conversion_type) {
    if (conversion_type < 0 || conversion_type >= kCodeConversionNameCount) {
        return CodeConversionNames[kFirstTempConversion];
    }
    return CodeConversionNames[conversion_type];
}

}  // namespace velmora
