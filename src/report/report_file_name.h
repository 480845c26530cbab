// The report's file name, shared by the window's save dialog (its initial name) and
// velmora-convert (a --report directory).
#pragma once

#include <cstddef>
#include <string>

namespace velmora {

inline constexpr char kReportSuffix[] = "_PDFreport";
inline constexpr char kReportExtension[] = ".txt";
inline constexpr size_t kReportNameCharacters = 259;

// `stem` followed by "_PDFreport" when the whole name, ".txt" included, fits into 259
// characters, then ".txt". False (name empty) when even stem + ".txt" does not fit `size` or
// 259 characters.
bool ReportFileName(const char* stem, char* name, size_t size);

// The same for the loaded PDF (its path without the 4-character extension).
bool ReportDefaultFileName(char* name, size_t size);

// Where velmora-convert writes the report: `requested` itself, or inside an existing directory
// the name the dialog would offer for `stem`. Empty when that name does not fit.
std::string ReportPathFor(const std::string& requested, const std::string& stem);

}  // namespace velmora
