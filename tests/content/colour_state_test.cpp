// Fill and stroke colours: each operator family, spaces, q/Q.
#include "content/colour_state.h"

#include "content_fixture.h"

namespace velmora {
namespace {

using ColourTest = ContentTest;

PackedRgb Fill() { return g_graphics.colours.fill.colour; }
PackedRgb Stroke() { return g_graphics.colours.stroke.colour; }

TEST_F(ColourTest, FillAndStrokeAreTrackedApartInEveryDeviceSpace) {
    Scan("1 0 0 rg 0 0 1 RG\n");
    EXPECT_EQ(Fill(), 0x0000FFu);
    EXPECT_EQ(Stroke(), 0xFF0000u);
    Scan("0.5 g 1 G\n");
    EXPECT_EQ(Fill(), 0x808080u);
    EXPECT_EQ(Stroke(), 0xFFFFFFu);
    // Cyan ink takes red away; k adds to every ink.
    Scan("1 0 0 0 k 0 0 0 1 K\n");
    EXPECT_EQ(Fill(), 0xFFFF00u);
    EXPECT_EQ(Stroke(), 0x000000u);
    Scan("/DeviceRGB cs 0 1 0 sc /DeviceCMYK CS 0 1 0 0 SCN\n");
    EXPECT_EQ(Fill(), 0x00FF00u);
    EXPECT_EQ(Stroke(), 0xFF00FFu);
    // A named space not in the resources is unknown: black whatever is given.
    Scan("1 1 1 rg /CS9 cs 1 1 1 scn\n");
    EXPECT_EQ(Fill(), kBlackRgb);
    Scan("/Pattern cs /P1 scn\n");
    EXPECT_EQ(Fill(), kBlackRgb);
}

TEST_F(ColourTest, QAndQSaveAndRestoreBothColours) {
    Scan("1 0 0 rg q 0 1 0 rg 0 0 1 RG Q\n");
    EXPECT_EQ(Fill(), 0x0000FFu);
    EXPECT_EQ(Stroke(), kBlackRgb);
    Scan("0.2 g\n");
    Scan("\n\n\n");  // a new page starts black
    EXPECT_EQ(Fill(), kBlackRgb);
}

TEST(ColourSpaceText, ResourceSpacesByKind) {
    ColourChannel c{};
    SetColourSpace(&c, "/X", false, DictionarySpan{0, 0});
    EXPECT_EQ(c.space, kSpaceBlack);
    c.space = kSpaceByCount;  // as an ICCBased space
    const double rgb[3] = {0, 0, 1};
    SetColourComponents(&c, rgb, 3);
    EXPECT_EQ(c.colour, 0xFF0000u);
    const double gray[1] = {1.0};
    SetColourComponents(&c, gray, 1);
    EXPECT_EQ(c.colour, 0xFFFFFFu);
    EXPECT_EQ(CmykToRgb(0, 0, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(PackRgb(2.0, -1.0, 0.0), 0x0000FFu);
}

}  // namespace
}  // namespace velmora
