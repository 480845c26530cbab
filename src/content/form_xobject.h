// Form XObjects: the content a Do names, with its matrix and resources, decoded once per page
// scan and run within the page's decoding budget.
#pragma once

#include <cstdint>

#include "content/graphics_state.h"
#include "pdf/dictionary_values.h"
#include "store/records.h"

namespace velmora {

// Forms inside forms, counted from the page's content; deeper ones (and forms that name
// themselves) are not run.
inline constexpr int kFormNestingLimit = 12;

// The resource dictionary names are looked up in: the page's, or a form's own.
struct ResourceScope {
    bool present;
    DictionarySpan span;
};

struct FormXObject {
    const DecodedStream* content;  // owned by the page scan's cache
    Matrix matrix;                 // /Matrix, or the identity
    ResourceScope resources;       // its own /Resources, or those it was run from
    int32_t pdf_layer;             // the group its own /OC names, 0 without one
};

// Start and end of a page scan: the budget is 50 times the file's size in bytes run through
// forms; the decoded forms are kept until the end.
void BeginFormScan();
void EndFormScan();

// The form XObject that `name` (a content token such as "/Fm1") names in `scope`, decoded, when
// the page's budget still covers it. False for images, unknown names and forms out of budget
// (the first of these records 90).
// Raster images painted on a page (image XObjects by Do, inline images): left out, but counted
// so that a page of images is not taken for an empty one.
void NoteRasterImage(int page);
void ResetRasterImages(int page);
// Every page's count, for a new file.
void ResetAllRasterImages();
int RasterImagesOnPage(int page);

bool OpenFormXObject(const ResourceScope& scope, const char* name, int page, FormXObject* form);

}  // namespace velmora
