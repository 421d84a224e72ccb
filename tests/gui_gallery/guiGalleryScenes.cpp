#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Xui/xuiComboBox.h"
#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/GUI/Xui/xuiSliderComposite.h"
#include "Tools/Image/toolPngWriter.h"
#include "Tools/TextSet/toolTextSetSource.h"
#include "guiGallery.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

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
void SetButtonImages(guiImage& image, const guiGallerySkin& skin, const std::string& face = "button") {
    const struct {
        const char* suffix;
        i32 state;
    } files[] = {{"_i", 0}, {"_o", 1}, {"_o", 2}, {"_p", 3}, {"_p", 4}, {"_d", 5}};
    for (const auto& f : files)
        image.SetImage(File(skin, face + f.suffix + ".png"), f.state);
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

// The per-state rule for a check box: the button states from "<stem>_i/_o/_p/_d", the checked ones
// from "<stem>_c" with the same suffixes.
void SetCheckImages(guiImage& image, const guiGallerySkin& skin, const std::string& unchecked,
                    const std::string& checked) {
    const char* suffixes[] = {"_i", "_o", "_o", "_p", "_p", "_d"};
    for (i32 state = 0; state < 6; ++state) {
        image.SetImage(File(skin, unchecked + suffixes[state] + ".png"), state);
        image.SetImage(File(skin, checked + suffixes[state] + ".png"), state + guiCheckbox::kCheckedStates);
    }
}

// A 24-pixel box with its caption on its right in a 192-pixel button, so the caption clicks it too.
void Caption(guiButton& button, const char* text) {
    button.SetSize(192, 24);
    button.SetLayout(0.125f, 1.0f, 0.875f, 1.0f);
    button.SetTextPositioning(guiButton::TextRight);
    guiText& caption = *button.GetText();
    caption.SetTextureSize(168, 24);
    caption.SetDefaultColor(kWhite);
    caption.SetDefaultXOffset(8);
    caption.SetText(envString(text), guiStateIdle);
}

// A radio button has one look unchecked and one checked.
void SetRadioImages(guiImage& image, const guiGallerySkin& skin) {
    for (i32 state = 0; state < 6; ++state) {
        image.SetImage(File(skin, "radio.png"), state);
        image.SetImage(File(skin, "radio_c.png"), state + guiCheckbox::kCheckedStates);
    }
}

// A track image with a thumb centred on the value.
template <class S> S* Slider(guiContainer& parent, const guiGallerySkin& skin, float x, float y, f32 value) {
    auto* slider = Place<S>(parent, x, y, 1.0f, 200, 20);
    slider->GetBackground()->SetImage(File(skin, "slider_track.png"), guiStateIdle);
    slider->GetBackground()->SetSize(200, 8);
    slider->GetBackground()->SetPosition({0, 6, 1.002f});
    slider->GetThumb()->SetImage(File(skin, "slider_thumb.png"), guiStateIdle);
    slider->GetThumb()->SetSize(12, 20);
    slider->SetThumbOffset(-6, 0);
    slider->SetValue(value);
    return slider;
}

// A view taller than its window: rows of text of which those in the window show, scrolled by fraction.
class TallView : public guiContainer, public gnfView {
  public:
    static constexpr i32 kRowHeight = 24;

    explicit TallView(i32 rows) {
        for (i32 i = 0; i < rows; ++i)
            Label(*this, 4, 0, 200, kRowHeight, ("Row " + std::to_string(i + 1)).c_str());
    }
    bool FitsVertically() const override { return GetChildCount() <= Visible(); }
    float GetVerticalScroll() const override { return m_scroll; }
    void SetVerticalScroll(float fraction) override {
        m_scroll = fraction;
        Arrange();
    }
    void SetSize(i32 width, i32 height) override {
        guiContainer::SetSize(width, height);
        Arrange();
    }

  private:
    i32 Visible() const {
        i32 w = 0, h = 0;
        GetSize(w, h);
        return h / kRowHeight;
    }
    void Arrange() {
        const i32 hidden = std::max(0, GetChildCount() - Visible());
        const i32 first = static_cast<i32>(std::lround(m_scroll * static_cast<float>(hidden)));
        for (i32 i = 0; i < GetChildCount(); ++i) {
            guiWindow* row = GetChild(i);
            const i32 line = i - first;
            row->SetVisible(line >= 0 && line < Visible());
            row->SetPosition({4, static_cast<float>(line * kRowHeight), 0.5f});
        }
    }
    float m_scroll = 0.0f;
};

// Rows 20 high made like a template skinned by the button rule, with its highlight.
void SkinList(guiListBox* list, const guiGallerySkin& skin) {
    list->SetRowHeight(20);
    list->GetBackground()->SetColor({16, 18, 24}, guiStateIdle);
    guiButton& form = *list->GetRowTemplate();
    SetButtonImages(*form.GetImage(), skin, "listrow");
    guiText& text = *form.GetText();
    text.SetTextureSize(256, 20);
    text.SetDefaultColor(kWhite);
    text.SetDefaultXOffset(6);
    text.SetText(envString(""), guiStateIdle);
    list->GetHighlight()->GetImage()->SetImage(File(skin, "list_highlight.png"), guiStateIdle);
    guiText& lit = *list->GetHighlight()->GetText();
    lit.SetTextureSize(256, 20);
    lit.SetDefaultColor(kYellow);
    lit.SetDefaultXOffset(6);
}

guiListBox* SkinnedList(const guiGallerySkin& skin) {
    auto* list = new guiListBox;
    SkinList(list, skin);
    return list;
}

// A vertical slider of 16 pixels on the right of the box, which then takes its size.
void AddBar(xuiScrollBox& scroll, const guiGallerySkin& skin, i32 w, i32 h) {
    auto* bar = new guiSlider;
    bar->SetAxis(2);
    bar->SetSize(16, 0);
    bar->GetBackground()->SetColor({20, 24, 32}, guiStateIdle);
    bar->GetThumb()->SetImage(File(skin, "slider_thumb.png"), guiStateIdle);
    scroll.AddAssociatedControl(xuiScrollBox::kRight, bar, 2);
    scroll.SetSize(w, h);
    bar->GetBackground()->SetSize(16, h);
    bar->GetThumb()->SetSize(16, 24);
}

xuiScrollBox* Scrolled(guiContainer& parent, const guiGallerySkin& skin, gnfView* view, float x, float y,
                       i32 w, i32 h) {
    auto* scroll = Place<xuiScrollBox>(parent, x, y, 1.0f, 0, 0);
    scroll->SetView(view);
    AddBar(*scroll, skin, w, h);
    return scroll;
}

// A dialog's Ok and Cancel: captioned 100 x 24 buttons on the row y, Cancel 140 right of Ok.
void SkinOkCancel(guiButton& ok, guiButton& cancel, const guiGallerySkin& skin, float okX, float y) {
    const struct {
        guiButton& button;
        const char* caption;
        const char* face;
    } buttons[] = {{ok, "Ok", "ok"}, {cancel, "Cancel", "cancel"}};
    float x = okX;
    for (const auto& b : buttons) {
        Caption(b.button, b.caption);
        b.button.SetSize(100, 24);
        b.button.SetLayout(1.0f, 1.0f, 1.0f, 1.0f);
        b.button.SetTextPositioning(guiButton::Free);
        b.button.GetText()->SetTextureSize(100, 24);
        SetButtonImages(*b.button.GetImage(), skin, b.face);
        b.button.SetPosition({x, y, 0.99f});
        x += 140.0f;
    }
}

} // namespace

void guiGalleryBuildLists(guiGallery& gallery, const guiGallerySkin& skin) {
    guiContainer& root = gallery.Root();

    guiListBox* list = SkinnedList(skin);
    for (i32 i = 0; i < 20; ++i)
        list->AppendRow(envString(("Coaster " + std::to_string(i + 1)).c_str()));
    xuiScrollBox* scroll = Scrolled(root, skin, list, 40, 60, 220, 200);
    scroll->SetName("List");
    list->SetPosition({0.0f, 0.0f, 0.5f});
    scroll->SetVerticalScroll(0.0f);

    auto* table = Place<guiTableBox>(root, 300, 60, 1.0f, 0, 0);
    table->GetBackground()->SetColor({200, 205, 215}, guiStateIdle);
    table->InsertColumn(0, 130);
    table->InsertColumn(1, 130);
    table->SetRowHeight(24);
    table->SetSize(260, 144);
    table->SetCellTextureSize(130, 24);
    table->SetCellStateStyle(guiStateIdle, g2dFont{}, 6, {20, 24, 40});
    table->SetCellTransparency(0.35f);
    const char* rows[][2] = {{"Steel Viper", "92 km/h"}, {"Timber Twist", "71 km/h"},
                             {"Loop Royale", "84 km/h"}, {"Cloud Hopper", "66 km/h"},
                             {"Red Comet", "101 km/h"},  {"Night Owl", "58 km/h"}};
    for (i32 r = 0; r < 6; ++r)
        for (i32 c = 0; c < 2; ++c)
            table->SetCellText(r, c, {envString(rows[r][c])}, guiStateIdle);
    table->Select(2);

    auto* combo = Place<xuiComboBox>(root, 600, 60, 1.0f, 0, 0);
    auto* choice = new guiText;
    choice->SetSize(140, 24);
    choice->SetTextureSize(140, 24);
    choice->SetDefaultColor(kWhite);
    choice->SetDefaultXOffset(6);
    choice->SetText(envString("Daylight"), guiStateIdle);
    combo->SetResults(choice);
    auto* arrow = new guiButton;
    arrow->SetSize(24, 24);
    SetButtonImages(*arrow->GetImage(), skin);
    arrow->GetText()->SetEnabled(false);
    arrow->GetText()->SetVisible(false);
    auto* mark = Place<guiImage>(*arrow, 4, 4, 0.5f, 16, 16);
    mark->SetImage(File(skin, "dropdown.png"), guiStateIdle);
    combo->SetDropDown({xuiComboBox::kRight, arrow});
    guiListBox* choices = SkinnedList(skin);
    for (const char* name : {"Daylight", "Sunset", "Night", "Fog"})
        choices->AppendRow(envString(name));
    combo->SetScrollView({xuiComboBox::kBottom, choices});
    combo->SetSize(164, 104);
    choices->SetPosition({0.0f, 24.0f, 0.5f});
    combo->SetOpen(true);
    // Open while it holds the focus.
    guiWindow::SetFocusWindow(arrow->GetImage());
}

guiDialog* guiGalleryBuildFileBrowse(guiGallery& gallery, const guiGallerySkin& skin,
                                     const std::string& folder) {
    auto* dialog = new xuiFileBrowseDialog;
    dialog->SetName("FileBrowse");
    gallery.Root().AddChild(dialog);
    dialog->SetSize(420, 340);
    dialog->GetBackground()->SetImage(File(skin, "browser_bg.png"), guiStateIdle);
    guiButton& up = *dialog->GetUpArrow();
    up.SetSize(24, 24);
    up.SetPosition({16.0f, 16.0f, 0.99f});
    SetButtonImages(*up.GetImage(), skin);
    up.GetText()->SetEnabled(false);
    up.GetText()->SetVisible(false);
    Place<guiImage>(up, 4, 4, 0.5f, 16, 16)->SetImage(File(skin, "uparrow.png"), guiStateIdle);
    guiEditField& display = *dialog->GetSelectionDisplay();
    display.SetSize(364, 24);
    display.SetPosition({48.0f, 16.0f, 0.99f});
    display.GetBackground()->SetImage(File(skin, "editfield.png"), guiStateIdle);
    display.GetCaret()->SetSize(0, 0);
    display.GetTextWindow()->SetTextureSize(364, 24);
    display.GetTextWindow()->SetDefaultColor(kWhite);
    SkinList(dialog->GetFileSelector(), skin);
    xuiScrollBox& scroll = *dialog->GetFileSelectorScrollBox();
    AddBar(scroll, skin, 388, 232);
    scroll.SetPosition({16.0f, 52.0f, 0.99f});
    SkinOkCancel(*dialog->GetOk(), *dialog->GetCancel(), skin, 90.0f, 300.0f);
    for (guiButton* button : {dialog->GetOk(), dialog->GetCancel()})
        button->GetText()->SetPosition({0.0f, 0.0f, 0.5f});
    dialog->SetPosition({0.0f, 0.0f, 1.0f});
    fsLocator directory;
    fsLocatorFromNativePath(folder.c_str(), directory);
    dialog->SetDirectory(directory);
    dialog->SetFilter(envString("gst;png"));
    return dialog;
}

void guiGalleryBuildValues(guiGallery& gallery, const guiGallerySkin& skin) {
    guiContainer& root = gallery.Root();

    auto* box = Place<guiCheckbox>(root, 60, 60, 1.0f, 24, 24);
    SetCheckImages(*box->GetImage(), skin, "checkbox", "checkbox_c");
    Caption(*box, "Sound effects");
    box->SetChecked(true);

    auto* group = Place<guiRadioGroup>(root, 60, 100, 1.0f, 192, 84);
    const char* choices[] = {"Metric", "Imperial", "Both"};
    for (i32 i = 0; i < 3; ++i) {
        auto* radio = new guiCheckbox;
        SetRadioImages(*radio->GetImage(), skin);
        Caption(*radio, choices[i]);
        group->AddButton(radio);
    }
    group->SetSpacing(6);
    group->SetAutoSizing(true);
    group->SetAutoPositioning(true);
    group->SetSelection(1);

    Slider<guiSlider>(root, skin, 100, 200, 0.3f)->SetName("Slider");

    auto* composite = Slider<xuiSliderComposite>(root, skin, 130, 260, 0.5f);
    composite->SetName("Composite");
    const struct {
        const char* file;
        float x;
        f32 delta;
        i32 kind;
    } arrows[] = {{"decrease.png", -24, -0.01f, xuiSliderComposite::kDecrease},
                  {"increase.png", 208, 0.01f, xuiSliderComposite::kIncrease}};
    for (const auto& a : arrows) {
        auto* arrow = new guiButton;
        arrow->SetSize(16, 16);
        arrow->SetPosition({a.x, 2, 1.0f});
        arrow->GetImage()->SetImage(File(skin, a.file), guiStateIdle);
        // No caption: the empty text's plain quad would hide the arrow.
        arrow->GetText()->SetEnabled(false);
        arrow->GetText()->SetVisible(false);
        composite->AddAssociatedControl(arrow, a.delta, a.kind);
    }
    composite->SetPosition(composite->GetPosition());

    auto* bar = Place<guiProgressBar>(root, 100, 320, 1.0f, 200, 16);
    bar->GetBackground()->SetImage(File(skin, "progress_bg.png"), guiStateIdle);
    bar->GetProgress()->SetImage(File(skin, "progress.png"), guiStateIdle);
    bar->SetValue(0.5f);

    auto* frame = Place<guiMaterial>(root, 420, 60, 1.5f, 240, 200);
    frame->SetColor({40, 48, 64}, guiStateIdle);
    auto* scroll = Place<xuiScrollBox>(root, 420, 60, 1.0f, 0, 0);
    auto* view = new TallView(20);
    scroll->SetView(view);
    auto* bar2 = new guiSlider;
    bar2->SetAxis(2);
    bar2->SetSize(16, 0);
    bar2->GetBackground()->SetColor({20, 24, 32}, guiStateIdle);
    bar2->GetThumb()->SetImage(File(skin, "slider_thumb.png"), guiStateIdle);
    scroll->AddAssociatedControl(xuiScrollBox::kRight, bar2, 2);
    scroll->SetSize(240, 200);
    bar2->GetBackground()->SetSize(16, 200);
    bar2->GetThumb()->SetSize(16, 24);
    scroll->SetVerticalScroll(0.25f);
}

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

void guiGalleryBuildToolTip(guiGallery& gallery, const guiGallerySkin& skin) {
    // A material widget: the window that shows state Over, whose tip the tooltip reads.
    auto* image = Place<guiImage>(gallery.Root(), 60, 60, 1.0f, 160, 48);
    image->SetName("Button");
    SetButtonImages(*image, skin);
    image->SetToolTipText(envString("Close the circuit\nto ride the coaster"));

    guiToolTip::Create();
    guiToolTip::SetLayout(12, 35, 3);
    guiToolTip::GetImage()->SetColor({255, 255, 160}, guiStateIdle);
    guiText& tip = *guiToolTip::GetText();
    tip.SetDefaultFont(g2dFont::Get(envString("DejaVu Sans"), 14));
    tip.SetDefaultColor({0, 0, 0});
}

guiDialog* guiGalleryBuildDialog(guiGallery& gallery, const guiGallerySkin& skin) {
    auto* dialog = new guiDialog;
    dialog->SetName("Dialog");
    gallery.Root().AddChild(dialog);
    dialog->SetSize(320, 160);
    dialog->GetBackground()->SetImage(File(skin, "dialog_bg.png"), guiStateIdle);
    SkinOkCancel(*dialog->GetOk(), *dialog->GetCancel(), skin, 40.0f, 100.0f);
    // Centred in the root: the position is an offset from there.
    dialog->SetPosition({0.0f, 0.0f, 1.0f});
    return dialog;
}

void guiGalleryBuildEditField(guiGallery& gallery, const guiGallerySkin& skin) {
    auto* field = Place<guiEditField>(gallery.Root(), 80.0f, 136.0f, 1.0f, 240, 28);
    field->SetName("Field");
    field->GetBackground()->SetImage(File(skin, "editfield.png"), guiStateIdle);
    field->GetCaret()->SetImage(File(skin, "caret.png"), guiStateIdle);
    field->GetCaret()->SetSize(2, 20);
    field->SetCaretOffset(0, 4);
    guiScrollingText* text = field->GetTextWindow();
    text->SetTextureSize(240, 28);
    text->SetDefaultColor(kWhite);
    // The text's look is state 0's, kept while the pointer makes the text Over or Pressed.
    field->SetText(envString(u""));
    text->SetState(guiStateIdle);
}

namespace {

// Keys by the button rule of "key_*"; a toggle key shows "key_c" while checked. Black captions from
// (offset, 8).
template <class P> P KeyPrototype(const guiGallerySkin& skin, i32 width, f32 offset) {
    P prototype;
    prototype.SetKeySize(width, 36);
    prototype.SetTextOffset(offset, 8.0f);
    const char* suffixes[] = {"_i", "_o", "_o", "_p", "_p", "_d"};
    for (i32 state = 0; state < 6; ++state) {
        prototype.SetImage(state, File(skin, std::string("key") + suffixes[state] + ".png"));
        prototype.SetImage(state + guiCheckbox::kCheckedStates, File(skin, "key_c.png"));
    }
    return prototype;
}

// The letters as a character set beside the skin.
fsLocator Letters(const guiGallerySkin& skin, const std::string& name, char first) {
    std::vector<toolTextSetEntry> entries;
    for (u32 i = 0; i < 26; ++i)
        entries.push_back({i, envString(std::string(1, static_cast<char>(first + i)).c_str())});
    const std::string path = skin.Path(name);
    toolWriteTextSet(path, 32, entries);
    fsLocator file;
    fsLocatorFromNativePath(path.c_str(), file);
    return file;
}

} // namespace

xuiOrderedKeyboard* guiGalleryBuildKeyboard(guiGallery& gallery, const guiGallerySkin& skin) {
    auto* keyboard = new xuiOrderedKeyboard;
    keyboard->SetName("Keyboard");
    keyboard->SetPosition({140.0f, 200.0f, 1.0f});
    gallery.Root().AddChild(keyboard);
    for (const auto& [value, set, first] : {std::tuple{0u, "lower.tsf", 'a'}, {1u, "upper.tsf", 'A'}}) {
        xuiKeyboardLayoutGrid grid;
        grid.GetLayout().SetKeyPrototype(KeyPrototype<xuiKeyPrototypeStandard>(skin, 36, 11.0f));
        grid.GetLayout().SetCharacterSetPath(Letters(skin, set, first));
        grid.GetLayout().SetStandardLayoutSize(520, 80);
        grid.SetOffsetPosition(0.0f, 0.0f, 0.5f);
        grid.SetNumColumns(13);
        keyboard->AddLayoutGrid(value, grid);
    }
    auto space = KeyPrototype<xuiKeyPrototypeSpecial>(skin, 236, 90.0f);
    space.SetKeyId(1);
    space.SetKeyPosition({0.0f, 90.0f, 0.5f});
    space.SetKeyLabel(u"Space");
    keyboard->AddSpecialKey(space);
    auto backspace = KeyPrototype<xuiKeyPrototypeSpecial>(skin, 116, 14.0f);
    backspace.SetKeyId(3);
    backspace.SetKeyPosition({240.0f, 90.0f, 0.5f});
    backspace.SetKeyLabel(u"Backspace");
    keyboard->AddSpecialKey(backspace);
    auto capsLock = KeyPrototype<xuiKeyPrototypeToggle>(skin, 116, 14.0f);
    capsLock.SetKeyId(6);
    capsLock.SetKeyPosition({400.0f, 90.0f, 0.5f});
    capsLock.SetKeyLabel(u"CapsLock");
    capsLock.SetToggleValue(xuiToggleCapitalLetters);
    keyboard->AddToggleKey(capsLock);
    keyboard->BuildLayout(0);
    return keyboard;
}

void guiGalleryLoadScript(guiGallery& gallery, const guiGallerySkin& skin, const std::string& folder,
                          const std::string& name) {
    namespace fs = std::filesystem;
    // A copy, so the compiled form lands beside the skin and not in the script's folder.
    const fs::path scripts = fs::path(skin.Folder()) / "Scripts";
    fs::create_directories(scripts);
    fs::copy_file(fs::path(folder) / (name + ".gst"), scripts / (name + ".gst"));
    // The keyboard sample's character sets and every picture of the skin lie beside the script.
    Letters(skin, "lower.tsf", 'a');
    Letters(skin, "upper.tsf", 'A');
    for (const auto& entry : fs::directory_iterator(fs::path(skin.Path("lower.tsf")).parent_path()))
        fs::copy_file(entry.path(), scripts / entry.path().filename(), fs::copy_options::skip_existing);
    if (fs::exists(fs::path(folder) / "rgba.png")) {
        fs::copy_file(fs::path(folder) / "rgba.png", scripts / "rgba.png");
    } else {
        toolImage rgba{256, 256, 4, {}};
        for (int y = 0; y < rgba.height; ++y)
            for (int x = 0; x < rgba.width; ++x)
                rgba.pixels.insert(rgba.pixels.end(),
                                   {static_cast<u8>(x), 0, static_cast<u8>(y), static_cast<u8>(255 - x)});
        toolWritePng((scripts / "rgba.png").string(), rgba);
    }
    fsLocator directory;
    fsLocatorFromNativePath(scripts.string().c_str(), directory);
    gprInit();
    try {
        gprParserUtil::LoadScript(directory, envString(name.c_str()), &gallery.Root());
    } catch (...) {
        gprShutdown();
        throw;
    }
    gprShutdown();
}
