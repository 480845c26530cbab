// What a CropBox hides: records of a converted page that lie wholly outside its visible box.
#pragma once

namespace velmora {

// True when the segment (page frame) touches the rectangle 0 <= x <= width, -height <= y <= 0.
bool SegmentMeetsFrame(double x1, double y1, double x2, double y2, double width, double height);

// Removes the current page's lines, texts, arcs and solids lying wholly outside the visible box
// when a CropBox hides part of the page; records crossing its edge stay whole.
void DropHiddenContent(int page);

}  // namespace velmora
