#include "Engine/GUI/Gui/guiScreen.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dScreen.h"

namespace {

i32 g_width = 800;
i32 g_height = 600;

// Scales a point by GUI / screen (or back); an empty real screen leaves it as it is.
maVector2d Rescale(const maVector2d& point, bool toGui) {
    i32 screenWidth = 0;
    i32 screenHeight = 0;
    g2dScreen::GetSize(screenWidth, screenHeight);
    if (screenWidth < 1 || screenHeight < 1)
        return point;
    const float sx = static_cast<float>(screenWidth);
    const float sy = static_cast<float>(screenHeight);
    const float gx = static_cast<float>(g_width);
    const float gy = static_cast<float>(g_height);
    return toGui ? maVector2d(point.x * gx / sx, point.y * gy / sy)
                 : maVector2d(point.x * sx / gx, point.y * sy / gy);
}

} // namespace

void guiSetScreenSize(i32 width, i32 height) {
    if (width < 1 || height < 1) {
        DBG_WARNING("GUI screen size %d x %d refused; it stays %d x %d", width, height, g_width, g_height);
        return;
    }
    g_width = width;
    g_height = height;
}

void guiGetScreenSize(i32& width, i32& height) {
    width = g_width;
    height = g_height;
}

maVector2d guiPixelsToDevice2d(const maVector2d& pixels) {
    return {(2.0f * pixels.x - 1.0f) / static_cast<float>(g_width) - 1.0f,
            1.0f - (2.0f * pixels.y - 1.0f) / static_cast<float>(g_height)};
}

maVector3d guiPixelsToDevice(const maVector3d& pixels) {
    const maVector2d xy = guiPixelsToDevice2d({pixels.x, pixels.y});
    return {xy.x, xy.y, 1.0f - 1.0f / (pixels.z + 1.0f)};
}

maMatrix4d guiComposeMatrix(const maMatrix4d& world) {
    maMatrix4d composed = world;
    composed.ReplaceTranslation(guiPixelsToDevice(world.GetTranslation()));
    return composed;
}

maVector2d guiScreenToGui(const maVector2d& screen) {
    return Rescale(screen, true);
}

maVector2d guiGuiToScreen(const maVector2d& gui) {
    return Rescale(gui, false);
}
