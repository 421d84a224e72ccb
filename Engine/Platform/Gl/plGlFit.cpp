#include "Engine/Platform/Gl/plGlFit.h"

#include <algorithm>

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
