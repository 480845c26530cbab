#include "content/text_object.h"

#include "content/operator_reader.h"

namespace velmora {

namespace {

bool IsDelimitedEt(const uint8_t* data, int32_t length, int32_t k) {
    if (data[k] != 'E' || data[k + 1] != 'T') return false;
    const bool starts = k == 0 || IsContentWhiteSpace(data[k - 1]);
    const bool ends = k + 2 == length || IsContentWhiteSpace(data[k + 2]);
    return starts && ends;
}

}  // namespace

// Stands in for the text reader: it finds the ET that ends the object and records no text.
int ReadTextObject(const DecodedStream& stream, int /*page*/, int32_t& position) {
    const int32_t length = stream.length;
    if (stream.data == nullptr || length <= 0) return 0;
    for (int32_t k = position < 0 ? 0 : position; k + 1 < length; ++k) {
        if (IsDelimitedEt(stream.data, length, k)) {
            position = k + 2;
            return 1;
        }
    }
    position = length;
    return 0;
}

}  // namespace velmora
