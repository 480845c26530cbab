// The content stream tokeniser: the operands before an operator and the operator's token.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace velmora {

inline constexpr int kOperandCapacity = 100;        // numbers kept for one operator
inline constexpr int kTokenCapacity = 99;           // token characters, plus a terminator
inline constexpr int kOperatorItemLimit = 200;      // numbers and arrays read before giving up
inline constexpr int32_t kArrayCloseWindow = 1000;  // bytes searched for an array's "]"
inline constexpr int kNumberTextCapacity = 63;      // characters of a number run converted

// Operands stay from one operator to the next: an operator given too few sees older values.
struct OperandList {
    double values[kOperandCapacity];
    int32_t count;  // numbers read for the current operator, array elements included
    char token[kTokenCapacity + 1];
};

extern OperandList g_operands;

// Space, tab, LF, FF, CR and NUL.
bool IsContentWhiteSpace(uint8_t c);
// "+-.0123456789"
bool IsContentNumberByte(uint8_t c);
// "()<>[]{}/%": each ends a token or a name.
bool IsContentDelimiter(uint8_t c);

// The first white space or delimiter at or after `position` (or `length`): where a word ends.
int32_t WordEnd(const uint8_t* data, int32_t length, int32_t position);

// Keeps `value` as the next operand; numbers past the list's capacity are read but not kept.
void StoreOperand(int32_t& count, double value);
// The operator token data[start, end) (cut to its capacity) and the operand count of it.
void KeepToken(const uint8_t* data, int32_t start, int32_t end, int32_t count);

// The position after the comment that starts at `position` ("%" up to the line end).
int32_t SkipContentComment(const uint8_t* data, int32_t length, int32_t position);

// The longest decimal number at the start of the run of number bytes at `position` (atof
// semantics); `position` moves past the whole run. The value is always finite.
double ReadContentNumber(const uint8_t* data, int32_t length, int32_t& position);

// Reads operands and the next token from `position`. A token ends at white space or a delimiter;
// a name ("/GS1"), a string or "<<" is a token of its own, a comment is passed over, and the
// data of an inline image after its "ID" is skipped up to "EI". True with g_operands filled and
// `position` just past the token; false when the stream ended or 200 items held no token, with
// `position` past what was read, so a caller's loop always moves on.
bool ReadOperator(const DecodedStream& stream, int32_t& position);

}  // namespace velmora
