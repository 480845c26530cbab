#include "convert/document_reset.h"

#include "content/form_xobject.h"
#include "content/text_object.h"
#include "convert/stated_scale.h"
#include "fonts/font_buffers.h"
#include "pdf/file_buffer.h"
#include "pdf/reader_reset.h"
#include "store/document_store.h"

namespace velmora {

void ResetForFile() {
    ResetStoreForFile();
    ResetReaderForFile();
    ResetFontTables();
    ResetTextStateUse();
    ResetAllRasterImages();
    ResetStatedScales();
}

void FreeDocument() {
    FreeFontBuffers();
    FreePageStreams();
    ReleaseFileBuffer();
}

}  // namespace velmora
