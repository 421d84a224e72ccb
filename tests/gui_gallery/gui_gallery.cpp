// The GUI toolkit on the OpenGL device, a scene built in code, driven by an injected input script and
// saved as a PNG:
//   gui_gallery --scene widgets|values|tooltip|dialog|editfield|lists|filebrowse|keyboard
//               [--dir <folder>]
//               [--inject "move 120,80; down; frame; up; frame"] [--png picture.png]
//   gui_gallery --script <folder> <name> [--inject ...] [--png ...]   (the GUI script <folder>/<name>.gst)
// The state of the scene's button, the value of its slider, where the tooltip shows, the dialog's result
// (the script runs as the dialog's frame), the edit field's text and caret, the list's selection and the
// keyboard's CapsLock and captions are printed after the script.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "guiGallery.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// The dialog's frame: the script's next step; a few idle frames after the script end the run.
class guiGalleryScriptFrame : public guiFunction {
  public:
    guiGalleryScriptFrame(guiGallery& gallery, guiDialog& dialog) : m_gallery(gallery), m_dialog(dialog) {}
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
    std::fputs(
        "usage: gui_gallery --scene widgets|values|tooltip|dialog|editfield|lists|filebrowse|keyboard [--dir "
        "<folder>]\n"
        "                  | --script <folder> <name>\n"
        "                  [--inject <script>] [--png <file.png>]\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Each result line reaches the test as it is printed, whatever happens at exit.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string scene, script, png, scriptFolder, scriptName, folder = ".";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--scene") {
            scene = argv[i + 1];
        } else if (option == "--script" && i + 2 < argc) {
            scene = "script";
            scriptFolder = argv[i + 1];
            scriptName = argv[++i + 1];
        } else if (option == "--inject") {
            script = argv[i + 1];
        } else if (option == "--dir") {
            folder = argv[i + 1];
        } else if (option == "--png") {
            png = argv[i + 1];
        } else {
            return Usage();
        }
    }
    const bool known = scene == "widgets" || scene == "values" || scene == "tooltip" || scene == "dialog" ||
                       scene == "editfield" || scene == "lists" || scene == "filebrowse" ||
                       scene == "keyboard" || scene == "script";
    const int values = argc - 1 - (scriptName.empty() ? 0 : 1);
    if (values % 2 != 0 || !known)
        return Usage();
    try {
        guiGallerySkin skin;
        guiGallery gallery;
        if (!gallery.IsReady()) {
            std::fputs("gui_gallery: no window or device\n", stderr);
            return 1;
        }
        guiDialog* dialog = nullptr;
        if (scene == "widgets")
            guiGalleryBuildWidgets(gallery, skin);
        else if (scene == "script")
            guiGalleryLoadScript(gallery, skin, scriptFolder, scriptName);
        else if (scene == "values")
            guiGalleryBuildValues(gallery, skin);
        else if (scene == "tooltip")
            guiGalleryBuildToolTip(gallery, skin);
        else if (scene == "dialog")
            dialog = guiGalleryBuildDialog(gallery, skin);
        else if (scene == "lists")
            guiGalleryBuildLists(gallery, skin);
        else if (scene == "filebrowse")
            dialog = guiGalleryBuildFileBrowse(gallery, skin, folder);
        else if (scene == "keyboard")
            guiGalleryBuildKeyboard(gallery, skin);
        else
            guiGalleryBuildEditField(gallery, skin);
        // The screen is up for a frame before the player acts, so every widget has thought once.
        gallery.Frame();
        if (dialog) {
            if (!gallery.Load(script))
                return 2;
            guiGalleryScriptFrame frame(gallery, *dialog);
            dialog->SetThinkFunction(&frame);
            std::printf("Dialog: result %d\n", dialog->DoModal());
            if (const auto* browser = dynamic_cast<const xuiFileBrowseDialog*>(dialog))
                std::printf("FileBrowse: %d rows\n", browser->GetFileSelector()->GetItemCount());
        } else if (!gallery.Inject(script)) {
            return 2;
        }
        if (const auto* field = dynamic_cast<const guiEditField*>(gallery.Root().FindChild("Field"))) {
            std::string text;
            envStringToNarrow(text, field->GetText());
            const float x = field->GetCaret()->GetPosition().x;
            std::printf("EditField: \"%s\", caret %d at x %g, %s\n", text.c_str(), field->GetCaretIndex(), x,
                        x >= 0.0f && x < 240.0f ? "inside" : "outside");
        }
        if (const auto* list = dynamic_cast<const xuiScrollBox*>(gallery.Root().FindChild("List")))
            std::printf("List: selection %d of %d\n", list->GetSelection(), list->GetItemCount());
        if (const auto* keyboard =
                dynamic_cast<const xuiOrderedKeyboard*>(gallery.Root().FindChild("Keyboard"))) {
            std::vector<guiButton*> keys;
            keyboard->GetKeys(keys);
            std::string captions;
            for (const guiButton* key : keys)
                captions += envStringToNarrow(key->GetText()->GetText(guiStateIdle));
            const guiCheckbox* capsLock = keyboard->FindKey(6);
            std::printf("Keyboard: CapsLock %s, captions %s\n",
                        capsLock && capsLock->IsChecked() ? "checked" : "free", captions.c_str());
        }
        if (const guiWindow* button = gallery.Root().FindChild("Button"))
            std::printf("Button: state %d\n", button->GetState());
        if (const auto* slider = dynamic_cast<const guiSlider*>(gallery.Root().FindChild("Slider")))
            std::printf("Slider: value %.3f\n", slider->GetValue());
        if (const guiImage* box = guiToolTip::GetImage(); box && box->IsEffectivelyVisible()) {
            const maVector3d at = box->GetParent()->GetPosition();
            std::printf("ToolTip: shown at %g,%g\n", at.x, at.y);
        }
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
