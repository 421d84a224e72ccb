#include "Source/Screens/coLoadingScreen.h"

#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

#include <cstdio>
#include <memory>

namespace {

constexpr i32 kFullBar = 181;

std::unique_ptr<g2dImage> g_background;
std::unique_ptr<g2dImage> g_bar;
i32 g_counter = 0;

fsLocator InLoadingFolder(const char* name) {
    fsLocator file(coRootGui);
    file.AppendComponent("uild");
    file.AppendComponent(name);
    return file;
}

void LoadImages() {
    if (!g_background) {
        char name[13];
        coLoadingBackgroundName(coPrefs::GetInt(coPrefResolution), name);
        auto image = std::make_unique<g2dImage>();
        g2dLoadImage(InLoadingFolder(name), *image);
        g_background = std::move(image);
    }
    if (!g_bar) {
        auto image = std::make_unique<g2dImage>();
        g2dLoadImage(InLoadingFolder("uildlb_i.png"), *image);
        g_bar = std::move(image);
    }
}

// The frame with a bar of `length` steps of 181 (none below one pixel), presented.
void Draw(i32 length) {
    LoadImages();
    i32 width = 0;
    i32 height = 0;
    g2dScreen::GetSize(width, height);
    // A background of the screen's size covers it all: a clear under it would only be drawn over.
    if (g_background->GetWidth() < width || g_background->GetHeight() < height) {
        const u8 black[3] = {0, 0, 0};
        g2dScreen::Clear(black);
    }
    g2dScreen::DrawImage(0, 0, *g_background);
    const i32 barWidth = width * length / 800;
    if (length >= 1 && barWidth >= 1)
        g2dScreen::DrawImageRect(width * 332 / 800, height * 547 / 600, 0, 0, barWidth, height * 14 / 600,
                                 *g_bar);
    g2dScreen::EndFrame();
}

} // namespace

void coLoadingBackgroundName(i32 resolution, char (&name)[13]) {
    const i32 digit = resolution >= 0 && resolution < coPrefs::kResolutionCount ? resolution : 0;
    std::snprintf(name, sizeof name, "uildbk_%d.png", static_cast<int>(digit));
}

void coLoadingScreenShow(bool restart) {
    if (restart)
        g_counter = 0;
    Draw(g_counter);
    if (++g_counter > kFullBar)
        g_counter = 0;
}

void coLoadingScreenStep() {
    Draw(kFullBar);
}

void coLoadingScreenHide() {
    g_counter = 0;
    g_background.reset();
    g_bar.reset();
}
