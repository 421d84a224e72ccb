// The game's screens on the OpenGL device over the built tree, driven by an injected input script and
// saved as a PNG:
//   screen_gallery --screen mainmenu|question|credits|choose [--over mainmenu] [--inject "..."]
//                  [--png picture.png]
// A dialog runs modally with the script as its frame and prints its result; the main menu prints the
// state of each button.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Source/Screens/coMainMenu.h"
#include "screenGallery.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

// The dialog's frame: the script's next step; a few idle frames after the script end the run.
class screenGalleryFrame : public guiFunction {
  public:
    screenGalleryFrame(guiGallery& gallery, guiDialog& dialog) : m_gallery(gallery), m_dialog(dialog) {}
    void Execute() override {
        if (!m_gallery.Step() && ++m_idle > 2)
            m_dialog.EndDialog(false);
    }

  private:
    guiGallery& m_gallery;
    guiDialog& m_dialog;
    i32 m_idle = 0;
};

int Usage() {
    std::fputs("usage: screen_gallery --screen mainmenu|question|credits|choose [--over mainmenu]\n"
               "                      [--inject <script>] [--png <file.png>]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string screen, over, script, png;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--screen")
            screen = argv[i + 1];
        else if (option == "--over")
            over = argv[i + 1];
        else if (option == "--inject")
            script = argv[i + 1];
        else if (option == "--png")
            png = argv[i + 1];
        else
            return Usage();
    }
    try {
        screenGallery screens;
        if ((argc - 1) % 2 != 0 || !screens.Knows(screen) || !(over.empty() || over == "mainmenu"))
            return Usage();
        if (!screens.IsReady()) {
            std::fputs("screen_gallery: no window or device\n", stderr);
            return 1;
        }
        guiGallery& gallery = screens.Gallery();
        if (!over.empty())
            screens.Build(over);
        guiDialog* dialog = screens.Build(screen);
        // The screen is up for a frame before the player acts, so every widget has thought once.
        gallery.Frame();
        if (dialog) {
            if (!gallery.Load(script))
                return 2;
            screenGalleryFrame frame(gallery, *dialog);
            dialog->SetThinkFunction(&frame);
            std::printf("Dialog: result %d\n", dialog->DoModal());
        } else if (!gallery.Inject(script)) {
            return 2;
        }
        if (const auto* menu = dynamic_cast<const guiContainer*>(gallery.Root().FindChild("uimm")))
            for (const char* button : coMainMenu::kButtons)
                if (const guiWindow* window = menu->FindChild(button))
                    std::printf("%s: state %d\n", button, window->GetState());
        if (!png.empty())
            gallery.WritePng(png);
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "screen_gallery: error 0x%08X\n", e.GetCode());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "screen_gallery: %s\n", e.what());
        return 1;
    }
    return 0;
}
