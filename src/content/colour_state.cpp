#include "content/colour_state.h"

#include <cmath>
#include <cstring>

#include "content/graphics_state.h"
#include "pdf/lexical.h"

namespace velmora {

namespace {

uint32_t Component(double v) {
    if (!(v > 0.0)) return 0;  // NaN too
    if (v >= 1.0) return 255;
    return static_cast<uint32_t>(std::lround(v * 255.0));
}

bool Contains(const char* text, const char* word) { return std::strstr(text, word) != nullptr; }

// The kind of a space written out: a device name, or an array/reference text from the resources.
uint8_t KindOfSpaceText(const char* text) {
    if (Contains(text, "ICCBased")) return kSpaceByCount;
    if (Contains(text, "Indexed") || Contains(text, "Separation") || Contains(text, "DeviceN") ||
        Contains(text, "Pattern")) {
        return kSpaceBlack;
    }
    if (Contains(text, "CalRGB") || Contains(text, "DeviceRGB") || Contains(text, "Lab")) return kSpaceRgb;
    if (Contains(text, "CMYK")) return kSpaceCmyk;
    if (Contains(text, "Gray")) return kSpaceGray;
    // A reference to an array kept elsewhere: its component count tells the space.
    if (Contains(text, " R")) return kSpaceByCount;
    return kSpaceBlack;
}

}  // namespace

PackedRgb PackRgb(double red, double green, double blue) {
    return Component(red) | (Component(green) << 8) | (Component(blue) << 16);
}

PackedRgb GrayToRgb(double gray) { return PackRgb(gray, gray, gray); }

// The plain conversion of the PDF reference (no profile): each ink darkens its complement.
PackedRgb CmykToRgb(double c, double m, double y, double k) {
    const auto ink = [k](double v) {
        const double sum = v + k;
        return sum >= 1.0 ? 0.0 : 1.0 - sum;
    };
    return PackRgb(ink(c), ink(m), ink(y));
}

void SetGray(ColourChannel* channel, double gray) { *channel = ColourChannel{GrayToRgb(gray), kSpaceGray}; }

void SetRgb(ColourChannel* channel, double r, double g, double b) { *channel = ColourChannel{PackRgb(r, g, b), kSpaceRgb}; }

void SetCmyk(ColourChannel* channel, double c, double m, double y, double k) {
    *channel = ColourChannel{CmykToRgb(c, m, y, k), kSpaceCmyk};
}

void SetColourSpace(ColourChannel* channel, const char* name, bool has_resources, DictionarySpan resources) {
    uint8_t kind = kSpaceBlack;
    if (name[0] == '/') {
        const char* bare = name + 1;
        if (std::strcmp(bare, "DeviceGray") == 0 || std::strcmp(bare, "G") == 0) {
            kind = kSpaceGray;
        } else if (std::strcmp(bare, "DeviceRGB") == 0 || std::strcmp(bare, "RGB") == 0) {
            kind = kSpaceRgb;
        } else if (std::strcmp(bare, "DeviceCMYK") == 0 || std::strcmp(bare, "CMYK") == 0) {
            kind = kSpaceCmyk;
        } else if (std::strcmp(bare, "Pattern") == 0) {
            kind = kSpaceBlack;
        } else if (has_resources) {
            DictionarySpan spaces{};
            if (DictionaryValue(resources, "ColorSpace", &spaces) && FindKey(spaces.start, spaces.end, bare) != 0) {
                kind = KindOfSpaceText(EntryText);
            }
        }
    }
    // Every space starts at black (its initial colour; for the device spaces exactly so).
    *channel = ColourChannel{kBlackRgb, kind};
}

void SetColourComponents(ColourChannel* channel, const double* v, int32_t count) {
    uint8_t kind = channel->space;
    if (kind == kSpaceByCount) {
        kind = count >= 4 ? kSpaceCmyk : count == 3 ? kSpaceRgb : count >= 1 ? kSpaceGray : kSpaceBlack;
    }
    switch (kind) {
        case kSpaceGray: channel->colour = count >= 1 ? GrayToRgb(v[0]) : kBlackRgb; break;
        case kSpaceRgb: channel->colour = count >= 3 ? PackRgb(v[0], v[1], v[2]) : kBlackRgb; break;
        case kSpaceCmyk: channel->colour = count >= 4 ? CmykToRgb(v[0], v[1], v[2], v[3]) : kBlackRgb; break;
        default: channel->colour = kBlackRgb; break;
    }
}

bool RunColourOperator(const char* t, const double* o, int32_t count, const char* name, bool has_resources,
                       DictionarySpan resources) {
    ColourState& colours = g_graphics.colours;
    if (std::strcmp(t, "g") == 0) SetGray(&colours.fill, o[0]);
    else if (std::strcmp(t, "G") == 0) SetGray(&colours.stroke, o[0]);
    else if (std::strcmp(t, "rg") == 0) SetRgb(&colours.fill, o[0], o[1], o[2]);
    else if (std::strcmp(t, "RG") == 0) SetRgb(&colours.stroke, o[0], o[1], o[2]);
    else if (std::strcmp(t, "k") == 0) SetCmyk(&colours.fill, o[0], o[1], o[2], o[3]);
    else if (std::strcmp(t, "K") == 0) SetCmyk(&colours.stroke, o[0], o[1], o[2], o[3]);
    else if (std::strcmp(t, "cs") == 0) SetColourSpace(&colours.fill, name, has_resources, resources);
    else if (std::strcmp(t, "CS") == 0) SetColourSpace(&colours.stroke, name, has_resources, resources);
    else if (std::strcmp(t, "sc") == 0 || std::strcmp(t, "scn") == 0) SetColourComponents(&colours.fill, o, count);
    else if (std::strcmp(t, "SC") == 0 || std::strcmp(t, "SCN") == 0) SetColourComponents(&colours.stroke, o, count);
    else return false;
    return true;
}

}  // namespace velmora
