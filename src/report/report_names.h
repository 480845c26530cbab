// The names the report prints for an object's data format and a font's code conversion kind.
#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kDataFormatNameCount = 20;
inline constexpr int kCodeConversionNameCount = 10;
inline constexpr int kReportNameBytes = 20;

extern const char DataFormatNames[kDataFormatNameCount][kReportNameBytes];
extern const char CodeConversionNames[kCodeConversionNameCount][kReportNameBytes];

// The name for an ObjectEntry kind; "その他" for a value outside the table.
const char* DataFormatName(int32_t kind);
// The name for a FontDef conversion type; "temp" for a value outside the table.
const char* CodeConversionName(int32_t conversion_type);

}  // namespace velmora
