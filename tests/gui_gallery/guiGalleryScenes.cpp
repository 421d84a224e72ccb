#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "guiGallery.h"

namespace {

const g3dTextColour kWhite{255, 255, 255};
const g3dTextColour kYellow{255, 252, 0};
const g3dTextColour kGreen{0, 255, 0};

fsLocator File(const guiGallerySkin& skin, const std::string& name) {
    fsLocator file;
    fsLocatorFromNativePath(skin.Path(name).c_str(), file);
    return file;
}

template <class W> W* Place(guiContainer& parent, float x, float y, float z, i32 w, i32 h) {
    W* widget = new W;
    widget->SetSize(w, h);
    widget->SetPosition({x, y, z});
    parent.AddChild(widget);
    return widget;
}

// The button look of every state by the per-state file rule: "_i" Idle, "_o" Over and Released, "_p"
// Pressed and Held, "_d" Disabled.
void SetButtonImages(guiImage& image, const guiGallerySkin& skin) {
    const struct {
        const char* suffix;
        i32 state;
    } files[] = {{"_i", 0}, {"_o", 1}, {"_o", 2}, {"_p", 3}, {"_p", 4}, {"_d", 5}};
    for (const auto& f : files)
        image.SetImage(File(skin, std::string("button") + f.suffix + ".png"), f.state);
}

// A text whose texture has the window's size, so one texel is one pixel.
template <class T = guiText>
T* Label(guiContainer& parent, float x, float y, i32 w, i32 h, const char* text) {
    T* label = Place<T>(parent, x, y, 0.5f, w, h);
    label->SetTextureSize(w, h);
    label->SetDefaultColor(kWhite);
    label->SetText(envString(text), guiStateIdle);
    // Shown before any update thinks it, as the labels in the held row are never thought.
    label->SetState(guiStateIdle);
    return label;
}

} // namespace

void guiGalleryBuildWidgets(guiGallery& gallery, const guiGallerySkin& skin) {
    guiContainer& root = gallery.Root();

    auto* button = Place<guiButton>(root, 60, 60, 1.0f, 160, 48);
    button->SetName("Button");
    SetButtonImages(*button->GetImage(), skin);
    guiText& caption = *button->GetText();
    caption.SetTextureSize(160, 48);
    caption.SetDefaultFont(g2dFont::Get(envString("DejaVu Sans"), 20));
    caption.SetDefaultColor(kWhite);
    caption.SetDefaultXOffset(34);
    caption.SetText(envString("Click me"), guiStateIdle);

    // Each widget held in one state: a disabled container thinks none of them.
    auto* states = Place<guiContainer>(root, 0, 0, 1.0f, 0, 0);
    states->SetEnabled(false);
    const char* names[] = {"Idle", "Over", "Released", "Pressed", "Held", "Disabled"};
    for (i32 state = 0; state < 6; ++state) {
        const float x = 60.0f + static_cast<float>(state) * 120.0f;
        auto* image = Place<guiImage>(*states, x, 160, 1.0f, 100, 32);
        SetButtonImages(*image, skin);
        image->SetState(guiStatePressed);
        image->SetState(state);
        Label(*states, x, 196, 100, 20, names[state]);
    }

    auto* frame = Place<guiImage>(root, 284, 34, 1.0f, 96, 96);
    frame->SetImage(File(skin, "frame.png"), guiStateIdle);
    auto* highlight = Place<guiImage>(root, 420, 66, 1.0f, 128, 32);
    highlight->SetImage(File(skin, "highlight.png"), guiStateIdle);
    auto* badge = Place<guiImage>(root, 300, 50, 0.5f, 64, 64);
    badge->SetImage(File(skin, "badge.png"), guiStateIdle);

    for (i32 row = 0; row < 2; ++row) {
        auto* columns = Place<guiText>(root, 60, 260.0f + static_cast<float>(row) * 26.0f, 0.5f, 420, 24);
        columns->SetTextureSize(420, 24);
        columns->SetStateStyle({kWhite, kYellow, kGreen}, {{}, {}, {}}, {0, 140, 280}, guiStateIdle);
        columns->SetTextLines(row == 0 ? std::vector<envString>{"Coaster", "Top speed", "Height"}
                                       : std::vector<envString>{"Steel Viper", "92 km/h", "48 m"},
                              guiStateIdle);
    }

    auto* paragraph = Label(root, 60, 340, 300, 120, "");
    paragraph->SetWordWrap(1);
    paragraph->SetText(envString("Lay the track piece by piece, close the circuit and ride it: the train "
                                 "measures speed, climb and the forces at every turn."),
                       guiStateIdle);

    auto* scrolled = Label<guiScrollingText>(root, 420, 340, 300, 24, "0123456789 the end stays in view");
    scrolled->SetFirstVisibleChar(11, guiStateIdle);
}
