#include "cli/svg_picture.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "store/capacities.h"
#include "store/document_store.h"
#include "view/page_drawing.h"
#include "view/svg_surface.h"

namespace velmora {

namespace {

// A page without a usable MediaBox is drawn on A4 portrait.
constexpr double kFallbackWidth = 595.0;
constexpr double kFallbackHeight = 842.0;

}  // namespace

bool WriteSvgPicture(std::FILE* file, int page) {
    if (file == nullptr) return false;
    double width = kFallbackWidth;
    double height = kFallbackHeight;
    if (page >= 1 && page < kPageTableSize) {
        // The JWW writer centres the paper on (width / 2, -height / 2) of the page frame, so the
        // saved paper is the rectangle from (0, 0) to (width, height) here.
        const double* box = g_store.pages[page].media_box;
        const double w = box[2] - box[0];
        const double h = box[3] - box[1];
        if (std::isfinite(w) && std::isfinite(h) && w > 0.0 && h > 0.0) {
            width = w;
            height = h;
        }
    }
    SvgWriter writer;
    BeginSvg(&writer, file, width, height);
    // The preview's drawing at one unit per point with the page's top-left corner at the origin.
    // The background's rectangle is the whole picture whatever the size given here.
    const PageView view{ViewTransform{1.0, 0.0, 0.0}, false, ClientSize{WholePixel(width), WholePixel(height)}};
    DrawNormalPicture(SvgSurface(&writer), view, page, true);
    return EndSvg(&writer);
}

bool SaveSvgPicture(const char* path, int page) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = WriteSvgPicture(file, page);
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::remove(path);
    return false;
}

std::string SvgPathFor(const std::string& jww_path) {
    const size_t n = jww_path.size();
    if (n >= 4 && jww_path[n - 4] == '.') {
        const std::string extension = jww_path.substr(n - 3);
        bool is_jww = true;
        for (size_t i = 0; i < 3; ++i) {
            const char c = extension[i];
            if (c != "jww"[i] && c != "JWW"[i]) is_jww = false;
        }
        if (is_jww) return jww_path.substr(0, n - 4) + ".svg";
    }
    return jww_path + ".svg";
}

}  // namespace velmora
