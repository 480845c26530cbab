// An SVG picture of a converted page as it would be saved, drawn by the preview's own drawing, as a
// file velmora-convert writes beside each .jww.
#pragma once

#include <cstdio>
#include <string>

namespace velmora {

// The page's lines (those not absorbed by dash run merging) in the screen colours of their pens
// and their pen styles, and its texts (those the JWW writer keeps) with size and angle, over the
// background colour, with the page's MediaBox as the viewBox. Writes to an open stream; false
// when a write failed.
bool WriteSvgPicture(std::FILE* file, int page);

// Creates `path` and writes the picture into it. On failure the partial file is removed and
// false is returned.
bool SaveSvgPicture(const char* path, int page);

// The picture's path for a .jww path: the same name with ".svg" in place of ".jww" (any case),
// or with ".svg" added.
std::string SvgPathFor(const std::string& jww_path);

}  // namespace velmora
