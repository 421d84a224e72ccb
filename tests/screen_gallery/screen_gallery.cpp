// The game's screens on the OpenGL device over the built tree, driven by an injected input script and
// saved as a PNG:
//   screen_gallery --screen
//   mainmenu|loadmenu|profiles|careermenu|question|credits|choose|props|dock|manipulate|builder-hud|keyboard|browse
//   |options|ridepause
//                  [--over mainmenu] [--fixture saves-5|classic-3done|closed-oval] [--text "typed name"]
//                  [--category Audio|Game|Graphics|Resolution] [--mode 0-3] [--panel 0-7]
//                  [--inject "..."] [--png picture.png]
// The options show the category's group; the ride settings run in the mode with the panel open (the
// colour panel with its picker).
// A dialog runs modally with the script as its frame and prints its result; the main menu prints the
// state of each button, the builder's HUD the objectives panel's x.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coOptionsDialog.h"
#include "Source/Screens/coRidePauseDialog.h"
#include "screenGallery.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace {

// The dialog's frame: the script's next step; a few idle frames after the script end the run.
class screenGalleryFrame : public guiFunction {
  public:
    screenGalleryFrame(guiGallery& gallery, guiDialog& dialog, std::function<void()> first)
        : m_gallery(gallery), m_dialog(dialog), m_first(std::move(first)) {}
    void Execute() override {
        if (m_first)
            std::exchange(m_first, nullptr)();
        if (!m_gallery.Step() && ++m_idle > 2)
            m_dialog.EndDialog(false);
    }

  private:
    guiGallery& m_gallery;
    guiDialog& m_dialog;
    std::function<void()> m_first;
    i32 m_idle = 0;
};

// What the run's first frame does: the ride settings' panel opened, the colour panel's picker shown.
std::function<void()> Prepare(guiDialog* dialog, const std::string& category, int mode, int panel) {
    if (auto* options = dynamic_cast<coOptionsDialog*>(dialog); options && !category.empty())
        options->ShowCategory(category);
    auto* ride = dynamic_cast<coRidePauseDialog*>(dialog);
    if (!ride)
        return nullptr;
    ride->SetMode(mode);
    ride->SetSettings(coRideSettings{});
    return [ride, panel] {
        if (panel < 0 || panel > 7)
            return;
        ride->ShowPanel(panel);
        if (auto* customize = dynamic_cast<guiCheckbox*>(
                dynamic_cast<guiContainer&>(*ride->FindChild("TrackColor")).FindChild("Customize"));
            customize && panel == 7)
            customize->SetChecked(true);
    };
}

int Usage() {
    std::fputs(
        "usage: screen_gallery --screen mainmenu|loadmenu|profiles|careermenu|question|credits|choose|props|"
        "dock|manipulate|builder-hud|keyboard|browse|options|ridepause\n"
        "                      [--over mainmenu] [--fixture saves-5|classic-3done|closed-oval] [--text "
        "<name>]\n"
        "                      [--category <name>] [--mode 0-3] [--panel 0-7]\n"
        "                      [--inject <script>] [--png <file.png>]\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string screen, over, fixture, text, script, png, category;
    int mode = 0, panel = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--screen")
            screen = argv[i + 1];
        else if (option == "--over")
            over = argv[i + 1];
        else if (option == "--fixture")
            fixture = argv[i + 1];
        else if (option == "--text")
            text = argv[i + 1];
        else if (option == "--inject")
            script = argv[i + 1];
        else if (option == "--png")
            png = argv[i + 1];
        else if (option == "--category")
            category = argv[i + 1];
        else if (option == "--mode")
            mode = std::atoi(argv[i + 1]);
        else if (option == "--panel")
            panel = std::atoi(argv[i + 1]);
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
        if (!fixture.empty() && !screens.MakeFixture(fixture))
            return Usage();
        guiGallery& gallery = screens.Gallery();
        if (!over.empty())
            screens.Build(over);
        guiDialog* dialog = screens.Build(screen, fixture, text);
        std::function<void()> first = Prepare(dialog, category, mode, panel);
        // The screen is up for a frame before the player acts, so every widget has thought once.
        gallery.Frame();
        if (dialog) {
            if (!gallery.Load(script))
                return 2;
            screenGalleryFrame frame(gallery, *dialog, std::move(first));
            dialog->SetThinkFunction(&frame);
            std::printf("Dialog: result %d\n", dialog->DoModal());
        } else if (!gallery.Inject(script)) {
            return 2;
        }
        if (const auto* menu = dynamic_cast<const guiContainer*>(gallery.Root().FindChild("uimm")))
            for (const char* button : coMainMenu::kButtons)
                if (const guiWindow* window = menu->FindChild(button))
                    std::printf("%s: state %d\n", button, window->GetState());
        if (const guiWindow* objectives = coPaletteManager::GetPalette(coPaletteObjectives);
            objectives && screen == "builder-hud")
            std::printf("Objectives: x %g\n", static_cast<double>(objectives->GetPosition().x));
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
