// The sections of a cross-reference chain, shared by the chain's walk and the stream reader:
// what the newest sections have already given, and what the chain may still decode.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

struct XrefChain {
    bool root_found;
    bool info_found;
    bool size_found;
    int64_t rows_budget;     // bytes of stream rows all sections together may still decode
    int64_t entries_end;     // one past the highest object number a section named
};

// Root, Info and Size of a trailer or a stream section's dictionary, each taken from the newest
// section that has it; `prev` and `xref_stream` get /Prev and /XRefStm (-1 without).
void TakeSectionValues(int32_t start, int32_t end, XrefChain* chain, int64_t* prev, int64_t* xref_stream);

// The cross-reference stream section at `position`: its rows claim entries (the type 2 rows
// only note their object stream and index). 0, or the code of its failure (41, 42, 90); `prev`
// is its /Prev whenever its dictionary was read.
int ReadStreamSection(int32_t position, XrefChain* chain, int64_t* prev);

// Every entry in use that lies in an object stream gets its object appended behind the file's
// bytes; each object stream is decoded once, within 50 times the file.
void ExpandObjectStreams();

// The object numbers object stream `s` holds, in the order of its header; false when it cannot
// be decoded.
bool ObjectStreamMembers(int32_t s, std::vector<int64_t>* numbers);

}  // namespace velmora
