// Stream data: locating it behind its dictionary, inflating FlateDecode data into DecodedStream
// entries.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

// The 50-fold bound of one inflated stream, and the spare bytes behind every entry's data.
inline constexpr int kExpansionFactor = 50;
inline constexpr int kEntrySpareBytes = 10;

// The stream's length (0 when there is no usable stream); `data_offset` is relative to dict_end.
// A length beyond the bytes that follow is cut to them.
int32_t LocateStream(int32_t dict_start, int32_t dict_end, int32_t* data_offset);

// Inflates `length` bytes at `position` into entry 0 (page 0) or the next entry. Returns the
// entry filled, or -1 when nothing was filled.
int InflateStream(int page, int32_t position, int32_t length);

// Fills an entry with the decoded (FlateDecode in the label) or raw data of object n's stream.
// Returns the entry filled, or -1.
int LoadStreamObject(int32_t object_number, int page);

// Decodes object n's stream as LoadStreamObject does, into a buffer of the caller's (freed with
// std::free) instead of an entry: decoding it does not touch the entries a scan is reading.
// False when there is no usable stream.
bool DecodeStreamObject(int32_t object_number, int page, DecodedStream* out);

// Undoes PNG "Up" rows of `columns` data bytes in place; returns the decoded length.
int32_t UndoUpPredictor(uint8_t* data, int32_t length, int32_t columns);

}  // namespace velmora
