#include "Engine/Platform/Gl/plGlFit.h"

#include <algorithm>
#include <cmath>

plGlRect plGlFitCentred(i32 drawableWidth, i32 drawableHeight, u32 pictureWidth, u32 pictureHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0 || pictureWidth == 0 || pictureHeight == 0)
        return {};
    const f64 scale = std::min(static_cast<f64>(drawableWidth) / pictureWidth,
                               static_cast<f64>(drawableHeight) / pictureHeight);
    plGlRect shown;
    shown.width = std::min(drawableWidth, static_cast<i32>(pictureWidth * scale));
    shown.height = std::min(drawableHeight, static_cast<i32>(pictureHeight * scale));
    shown.left = (drawableWidth - shown.width) / 2;
    shown.bottom = (drawableHeight - shown.height) / 2;
    return shown;
}

namespace {

// The shown rectangle with its top counted from the drawable's top, as window rows are.
bool Shown(const plGlView& view, plGlRect& shown, i32& top) {
    shown = plGlFitCentred(view.drawableWidth, view.drawableHeight, view.pictureWidth, view.pictureHeight);
    top = view.drawableHeight - shown.bottom - shown.height;
    return shown.width > 0 && shown.height > 0 && view.windowWidth > 0 && view.windowHeight > 0;
}

} // namespace

// Pixel centres map onto pixel centres, so an unscaled view maps every pixel onto itself.
void plGlWindowToPicture(const plGlView& view, i32 windowX, i32 windowY, i32& x, i32& y) {
    plGlRect shown;
    i32 top = 0;
    x = y = 0;
    if (!Shown(view, shown, top))
        return;
    const f64 dx = (windowX + 0.5) * view.drawableWidth / view.windowWidth;
    const f64 dy = (windowY + 0.5) * view.drawableHeight / view.windowHeight;
    x = static_cast<i32>(std::floor((dx - shown.left) * view.pictureWidth / shown.width));
    y = static_cast<i32>(std::floor((dy - top) * view.pictureHeight / shown.height));
}

void plGlPictureToWindow(const plGlView& view, i32 x, i32 y, i32& windowX, i32& windowY) {
    plGlRect shown;
    i32 top = 0;
    windowX = windowY = 0;
    if (!Shown(view, shown, top))
        return;
    const f64 dx = (x + 0.5) * shown.width / view.pictureWidth + shown.left;
    const f64 dy = (y + 0.5) * shown.height / view.pictureHeight + top;
    windowX = static_cast<i32>(std::floor(dx * view.windowWidth / view.drawableWidth));
    windowY = static_cast<i32>(std::floor(dy * view.windowHeight / view.drawableHeight));
}

i32 plGlGuardFactor(const plGlRect& view, const plGlViewportLimits& limits, i32 maxFactor) {
    for (i64 factor = maxFactor | 1; factor > 1; factor -= 2) {
        const i64 growX = (factor - 1) / 2 * view.width;
        const i64 growY = (factor - 1) / 2 * view.height;
        if (factor * view.width <= limits.maxWidth && factor * view.height <= limits.maxHeight &&
            view.left - growX >= limits.boundsMin && view.bottom - growY >= limits.boundsMin &&
            i64{view.left} + view.width + growX <= limits.boundsMax &&
            i64{view.bottom} + view.height + growY <= limits.boundsMax)
            return static_cast<i32>(factor);
    }
    return 1;
}
