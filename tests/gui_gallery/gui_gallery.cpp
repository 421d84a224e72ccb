// The GUI toolkit on the OpenGL device, a scene built in code, driven by an injected input script and
// saved as a PNG:
//   gui_gallery --scene widgets [--inject "move 120,80; down; frame; up; frame"] [--png picture.png]
// The states of the widgets named in the scene are printed after the script.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "guiGallery.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

int Usage() {
    std::fputs("usage: gui_gallery --scene widgets [--inject <script>] [--png <file.png>]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string scene, script, png;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--scene")
            scene = argv[i + 1];
        else if (option == "--inject")
            script = argv[i + 1];
        else if (option == "--png")
            png = argv[i + 1];
        else
            return Usage();
    }
    if (argc % 2 == 0 || scene != "widgets")
        return Usage();
    try {
        guiGallerySkin skin;
        guiGallery gallery;
        if (!gallery.IsReady()) {
            std::fputs("gui_gallery: no window or device\n", stderr);
            return 1;
        }
        guiGalleryBuildWidgets(gallery, skin);
        // The screen is up for a frame before the player acts, so every widget has thought once.
        gallery.Frame();
        if (!gallery.Inject(script))
            return 2;
        if (const guiWindow* button = gallery.Root().FindChild("Button"))
            std::printf("Button: state %d\n", button->GetState());
        if (!png.empty())
            gallery.WritePng(png);
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "gui_gallery: error 0x%08X\n", e.GetCode());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gui_gallery: %s\n", e.what());
        return 1;
    }
    return 0;
}
