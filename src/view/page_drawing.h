// The page as the preview shows it, drawn onto a drawing surface: the normal drawing (lines in
// their pens' screen colours and styles, texts, the scale marks), the layer tool's drawing and
// the pen dialog's drawing. The window paints through PaintPreview; velmora-convert's SVG
// picture draws the normal drawing at one pixel per point.
#pragma once

#include "platform/platform.h"
#include "view/drawing_surface.h"
#include "view/view_gestures.h"
#include "view/view_transform.h"

namespace velmora {

struct PageView {
    ViewTransform transform;
    // The window: points truncated to whole pixels and lines outside the client area skipped.
    bool whole_pixels;
    ClientSize client;  // the area filled as background (and, in pixels, the visible area)
};

// The screen colour table's entry for a pen colour field (0 background, 1..8 pens, 9 scale
// marks); a value outside the table takes pen 1's colour.
Rgb ScreenColour(int entry);

inline constexpr char kEmptyPageText[] = "ベクトル形式の線・文字情報無し";
inline constexpr double kScaleMarkTextHeight = 30;
inline constexpr double kScaleMarkTextWidth = 15;

// Background, every line, every text and the scale marks of `page`. `saved_texts_only` leaves
// out the texts the JWW writer skips as duplicates.
void DrawNormalPicture(const DrawingSurface& surface, const PageView& view, int page, bool saved_texts_only);

// The page dimmed (unless `overlay_only`), then the layer tool's white, green, red and orange.
void DrawLayerToolPicture(const DrawingSurface& surface, const PageView& view, bool overlay_only);

// The page in half colours (unless `overlay_only`), then the pen dialog's layer in full colour.
void DrawPenDialogPicture(const DrawingSurface& surface, const PageView& view, bool overlay_only);

// The whole paint of the client area: the empty-page message, the pending gesture and fit, the
// drawing the open tools ask for; then nothing is pending and no band is drawn.
void PaintPreview(WindowHandle window, const DrawingSurface& surface, ClientSize client);

}  // namespace velmora
