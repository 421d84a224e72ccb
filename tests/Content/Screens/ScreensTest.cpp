// The shipped screens and builder palettes: each script compiles without a warning and loads into its screen
// over the built tree; the texts and pictures the scripts and screens name exist, in exact case.
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Palettes/coGlobalStatsPalette.h"
#include "Source/Palettes/coLocalStatsPalette.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Screens/coCareerMenu.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coFileBrowseDialog.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Screens/coLoadMenu.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coOptionsDialog.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coRidePauseDialog.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Screens/coSelectTrackwrightMenu.h"
#include "Source/World/coThemeList.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>

namespace {

struct Script {
    const char* name;
    const char* textSet; // null: loaded without one
};
// A name "<folder>/<script>" for a script kept in another folder than its own name's.
constexpr Script kScripts[] = {
    {"uiqd", "uimc.tsf"},   {"uibk", nullptr},    {"uimm", "uimm.tsf"}, {"uicd", nullptr},
    {"uicc", "uicc.tsf"},   {"uilm", "uilm.tsf"}, {"uisi", "uisi.tsf"}, {"uicm", "uicm.tsf"},
    {"uimp", nullptr},      {"uitm", nullptr},    {"uisp", "uisp.tsf"}, {"uisp/uigs", nullptr},
    {"uisp/uils", nullptr}, {"uiop", "uiop.tsf"}, {"uibd", "uibd.tsf"}, {"uikd", "uikd.tsf"},
    {"uitc", "uitc.tsf"},   {"uirp", "uirp.tsf"}, {"uiod", "uiod.tsf"}};

std::string Folder(const std::string& name) {
    return name.substr(0, name.find('/'));
}
std::string FileName(const std::string& name) {
    return name.substr(name.rfind('/') + 1);
}

std::string Source(const std::string& name) {
    std::ifstream in(std::string(LV_SOURCE_DIR) + "/Content/GUI/" + Folder(name) + "/" + FileName(name) +
                     ".gst");
    return {std::istreambuf_iterator<char>(in), {}};
}

// The widgets of that kind in the container's tree, in order, not looking inside them.
template <class Widget> void Collect(const guiContainer& container, std::vector<Widget*>& widgets) {
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        guiWindow* child = container.GetChild(i);
        if (auto* widget = dynamic_cast<Widget*>(child))
            widgets.push_back(widget);
        else if (const auto* inner = dynamic_cast<const guiContainer*>(child))
            Collect(*inner, widgets);
    }
}

// A text whose shown part of its texture has another size than its window reads stretched or squeezed.
void ExpectTextsAtTheirOwnSize(const guiContainer& container) {
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        const guiWindow* child = container.GetChild(i);
        if (const auto* text = dynamic_cast<const guiText*>(child)) {
            i32 width = 0, height = 0, textureWidth = 0, textureHeight = 0;
            f32 u = 1.0f, v = 1.0f;
            text->GetSize(width, height);
            text->GetTextureSize(textureWidth, textureHeight);
            text->GetTile(u, v, 0);
            EXPECT_EQ(std::pair(std::lround(static_cast<f32>(textureWidth) * u),
                                std::lround(static_cast<f32>(textureHeight) * v)),
                      std::pair(static_cast<long>(width), static_cast<long>(height)))
                << container.GetName() << "/" << text->GetName();
        }
        if (const auto* inner = dynamic_cast<const guiContainer*>(child))
            ExpectTextsAtTheirOwnSize(*inner);
    }
}

// The option boxes, not the category tabs.
void CollectBoxes(const guiContainer& container, std::vector<const guiCheckbox*>& boxes) {
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        const guiWindow* child = container.GetChild(i);
        if (const auto* box = dynamic_cast<const guiCheckbox*>(child);
            box && container.GetName() != "Categories")
            boxes.push_back(box);
        else if (const auto* inner = dynamic_cast<const guiContainer*>(child))
            CollectBoxes(*inner, boxes);
    }
}

struct Box {
    f32 left, top, right, bottom;
    bool Holds(const Box& other) const {
        return left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom;
    }
    bool Meets(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Where a window stands on the screen, in GUI pixels.
Box ScreenBox(const guiWindow& window) {
    i32 width = 0, height = 0;
    window.GetSize(width, height);
    const maMatrix4d& world = window.GetWorldMatrix();
    return {world.m[12], world.m[13], world.m[12] + static_cast<f32>(width),
            world.m[13] + static_cast<f32>(height)};
}

std::string Named(const guiWindow& window) {
    const std::string& name = window.GetName();
    return name == "-1" ? std::string() : name;
}

// A caption reads as its button's: inside it, unscaled, its line half-way down, and either centred or kept
// a margin of 4 to 24 pixels from the side it starts at. A button whose bottom rows the next one in its
// column covers shows its face above them.
void ExpectCaptionReadsWell(const guiButton& button, const std::string& where, i32 coveredRows) {
    const guiText& text = *button.GetText();
    u32 inkWidth = 0, inkHeight = 0;
    g2dFont::MeasureText(text.GetFont(0), text.GetText(0), inkWidth, inkHeight);
    i32 width = 0, height = 0, textureWidth = 0, textureHeight = 0;
    f32 u = 1.0f, v = 1.0f;
    text.GetSize(width, height);
    text.GetTextureSize(textureWidth, textureHeight);
    text.GetTile(u, v, 0);
    EXPECT_NEAR(static_cast<f32>(width), static_cast<f32>(textureWidth) * u, 0.5f) << where;
    EXPECT_NEAR(static_cast<f32>(height), static_cast<f32>(textureHeight) * v, 0.5f) << where;
    Box face = ScreenBox(button);
    face.bottom -= static_cast<f32>(coveredRows);
    const Box window = ScreenBox(text);
    const f32 left = window.left + static_cast<f32>(text.GetXOffset(0));
    const Box ink{left, window.top, left + static_cast<f32>(inkWidth),
                  window.top + static_cast<f32>(inkHeight)};
    EXPECT_TRUE(face.Holds(ink)) << where;
    EXPECT_NEAR(ink.top + ink.bottom, face.top + face.bottom, 4.0f) << where;
    const auto margin = [](f32 room) { return room >= 4.0f && room <= 24.0f; };
    EXPECT_TRUE(std::abs(ink.left + ink.right - face.left - face.right) <= 2.0f ||
                margin(ink.left - face.left) || margin(face.right - ink.right))
        << where << " at " << ink.left - face.left << " of " << face.right - face.left << ", ink " << inkWidth
        << " x " << inkHeight;
}

// `coveredRows`: the rows of each of the container's own buttons that the next one stacked below covers.
void ExpectCaptionsReadWell(const guiContainer& container, const std::string& where, i32 coveredRows = 0) {
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        const guiWindow* child = container.GetChild(i);
        const std::string path = where + "/" + Named(*child);
        const auto* button = dynamic_cast<const guiButton*>(child);
        const guiText* text = button ? button->GetText() : nullptr;
        if (text && text->IsVisible() && text->FindRecord(0) && text->GetText(0).GetLength() > 0)
            ExpectCaptionReadsWell(*button, path, coveredRows);
        if (const auto* inner = dynamic_cast<const guiContainer*>(child))
            ExpectCaptionsReadWell(*inner, path);
    }
}

// What a window shows: a text its text's lines, anything else its whole box; nothing for an empty text.
std::optional<Box> Shown(const guiWindow& window) {
    const auto* text = dynamic_cast<const guiText*>(&window);
    if (!text)
        return ScreenBox(window);
    if (!text->FindRecord(0) || text->GetText(0).GetLength() == 0)
        return std::nullopt;
    u32 width = 0, height = 0;
    g2dFont::MeasureText(text->GetFont(0), text->GetText(0), width, height);
    const Box box = ScreenBox(window);
    const f32 left = box.left + static_cast<f32>(text->GetXOffset(0));
    return Box{left, box.top, left + static_cast<f32>(width), box.top + static_cast<f32>(height)};
}

// Two named widgets of one container overlap only where one holds the other whole: a panel and what it
// frames. A button's image and caption are its own.
void ExpectNamedWidgetsKeepApart(const guiContainer& container, const std::string& where) {
    std::vector<std::pair<const guiWindow*, Box>> named;
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        const guiWindow* child = container.GetChild(i);
        const std::optional<Box> shown = Shown(*child);
        if (!child->IsVisible() || Named(*child).empty() || !shown)
            continue;
        for (const auto& [other, box] : named)
            EXPECT_FALSE(shown->Meets(box) && !shown->Holds(box) && !box.Holds(*shown))
                << where << ": " << Named(*child) << " and " << Named(*other);
        named.emplace_back(child, *shown);
        const auto* inner = dynamic_cast<const guiContainer*>(child);
        if (inner && !dynamic_cast<const guiButton*>(child))
            ExpectNamedWidgetsKeepApart(*inner, where + "/" + Named(*child));
    }
}

// The one grey of a caption that cannot be pressed.
constexpr g3dTextColour kDisabledCaption = {150, 150, 150};

// A face of the state's own, not the idle one again (a display that is never pressed keeps its face).
bool HasOwnFace(guiImage& image, i32 state) {
    return image.HasTexture(state) && image.HasTexture(guiStateIdle) &&
           image.GetStateMaterial(state).GetStage(0).texture !=
               image.GetStateMaterial(guiStateIdle).GetStage(0).texture;
}

// What cannot be pressed looks it: a button with a disabled face of its own shows its caption in the
// disabled grey, a check box also when checked; so do the on-screen keys, toggles among them.
// A choice keeps a chosen look under the pointer: a check box with a checked face has one for it, and so
// do the rows of a list that has a chosen look.
void ExpectStatesLookTheirOwn(const guiContainer& container, const std::string& where) {
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        guiWindow* child = container.GetChild(i);
        const std::string path = where + "/" + Named(*child);
        const bool box = dynamic_cast<const guiCheckbox*>(child) != nullptr;
        if (auto* button = dynamic_cast<guiButton*>(child)) {
            const guiText& text = *button->GetText();
            const envString caption = text.GetText(guiStateIdle);
            const i32 checkedDisabled = guiStateDisabled + guiCheckbox::kCheckedStates;
            if (HasOwnFace(*button->GetImage(), guiStateDisabled) && caption.GetLength() > 0)
                for (const i32 state :
                     {static_cast<i32>(guiStateDisabled), box ? checkedDisabled : guiStateDisabled}) {
                    // A checked caption of its own (a toggle key's "CAPS") stays when disabled.
                    const envString checked = text.GetText(guiCheckbox::kCheckedStates);
                    const envString& own =
                        state == checkedDisabled && checked.GetLength() > 0 ? checked : caption;
                    EXPECT_EQ(envStringToNarrow(text.GetText(state)), envStringToNarrow(own))
                        << path << " in state " << state;
                    EXPECT_EQ(text.GetTextColor(state), kDisabledCaption) << path << " in state " << state;
                }
            if (box && button->GetImage()->HasTexture(guiCheckbox::kCheckedStates)) {
                EXPECT_TRUE(button->GetImage()->HasTexture(guiCheckbox::kCheckedStates + guiStateOver))
                    << path;
            }
        }
        if (const auto* table = dynamic_cast<const guiTableBox*>(child))
            for (i32 r = 0; r < table->GetItemCount(); ++r) {
                const guiWindow* cell = table->GetCellWindow(r, 0);
                const auto* button = dynamic_cast<const guiButton*>(cell);
                const guiMaterial* look =
                    button ? button->GetImage() : dynamic_cast<const guiMaterial*>(cell);
                ASSERT_NE(look, nullptr) << path;
                EXPECT_EQ(look->HasStateMaterial(guiTableBox::kSelectedOverState),
                          look->HasStateMaterial(guiTableBox::kSelectedState))
                    << path << " row " << r;
            }
        else if (const auto* inner = dynamic_cast<const guiContainer*>(child))
            ExpectStatesLookTheirOwn(*inner, path);
    }
}

// Where a text's field starts on the screen.
f32 FieldLeft(const guiText& text, size_t field) {
    return ScreenBox(text).left + static_cast<f32>(text.FindRecord(guiStateIdle)->offsets.at(field));
}

using ScreensContentTest = coScreenTest;

TEST_F(ScreensContentTest, ScriptsCompileCleanlyAndNameWhatExists) {
    fsTestFolder out;
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.name);
        const std::string text = Source(script.name);
        ASSERT_FALSE(text.empty());
        const std::string file = FileName(script.name);
        out.Write(file + ".gst", text);
        log.lines.clear();
        gprParserUtil::CompileScript(out.Locator(file + ".gst"), out.Locator(file + ".gsf"));
        EXPECT_EQ(log.Count("Warning"), 0u);

        const std::regex number("StaticTextNum ([0-9]+)");
        for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it) {
            ASSERT_NE(script.textSet, nullptr) << "a text number without a text set";
            const gfTextSet set(fsRootedLocator(coRootText, script.textSet), 32, true);
            EXPECT_TRUE(set.HasText(static_cast<u32>(std::stoul((*it)[1])))) << (*it)[0];
        }
        const std::regex picture("ImageState \"([^\"]+)\"");
        for (std::sregex_iterator it(text.begin(), text.end(), picture), end; it != end; ++it) {
            const std::filesystem::path file = Folder(script.name) + "/" + std::string((*it)[1]);
            EXPECT_TRUE(gfFileExists(fsRootedLocator(coRootGui, file.lexically_normal().string())))
                << (*it)[1];
        }
    }
}

// A slider whose track has no length can be neither dragged nor clicked; a scroll slider stands on its
// box's right edge and opens on the top of the list, which shows in front of its backdrop.
TEST_F(ScreensContentTest, SlidersHaveTracksAndScrollSlidersOpenAtTheTop) {
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    std::vector<std::unique_ptr<guiContainer>> screens;
    screens.emplace_back(new coOptionsDialog);
    screens.emplace_back(new coCreditsDialog);
    screens.emplace_back(new coChooseCoasterDialog);
    screens.emplace_back(new coLoadMenu([](u32, const envString&) { return false; }));
    screens.emplace_back(new coSelectTrackwrightMenu);
    coLoadingScreenHide();
    std::vector<const guiSlider*> sliders;
    for (const auto& screen : screens)
        Collect(*screen, sliders);
    ASSERT_EQ(sliders.size(), 12u + 1u + 2u + 1u + 1u);
    for (const guiSlider* slider : sliders) {
        SCOPED_TRACE(slider->GetName());
        i32 width = 0, height = 0, trackWidth = 0, trackHeight = 0, thumbWidth = 0, thumbHeight = 0;
        slider->GetSize(width, height);
        slider->GetBackground()->GetSize(trackWidth, trackHeight);
        slider->GetThumb()->GetSize(thumbWidth, thumbHeight);
        if (slider->GetAxis() == 1) {
            // The thumb's travel ends where the track does, so a full value keeps the thumb on it.
            i32 low = 0, high = 0;
            slider->GetBackgroundConstraint(low, high);
            EXPECT_EQ(high - low + thumbWidth, trackWidth);
            EXPECT_EQ(trackWidth, width);
            continue;
        }
        EXPECT_EQ(trackHeight, height);
        EXPECT_EQ(slider->GetValue(), 1.0f);
        const auto* box = dynamic_cast<const xuiScrollBox*>(slider->GetParent());
        ASSERT_NE(box, nullptr);
        i32 boxWidth = 0, boxHeight = 0;
        box->GetSize(boxWidth, boxHeight);
        EXPECT_EQ(slider->GetPosition().x, static_cast<float>(boxWidth - width));
        EXPECT_EQ(height, boxHeight);
        // A backdrop stands behind the list, where it neither dims the rows nor takes their clicks.
        if (const guiWindow* backdrop = box->FindChild("Backdrop")) {
            for (i32 i = 0; i < box->GetChildCount(); ++i) {
                if (dynamic_cast<const gnfView*>(box->GetChild(i))) {
                    EXPECT_GT(backdrop->GetPosition().z, box->GetChild(i)->GetPosition().z);
                }
            }
        }
    }
    // Each resolution button says the display size its digit stands for.
    const auto& options = dynamic_cast<const coOptionsDialog&>(*screens.front());
    const guiRadioGroup& resolutions = *options.GetResolution();
    ASSERT_EQ(resolutions.GetButtonCount(), coPrefs::GetResolutionCount());
    for (i32 b = 0; b < resolutions.GetButtonCount(); ++b) {
        const auto* button = dynamic_cast<const guiButton*>(resolutions.GetChild(b));
        int width = 0, height = 0;
        coPrefs::GetResolution(std::stoi(button->GetName()), width, height);
        EXPECT_EQ(envStringToNarrow(button->GetText()->GetText(0)),
                  std::to_string(width) + " x " + std::to_string(height));
    }
    // A box that is on still shows it under the pointer and when the dialog locks it.
    std::vector<const guiCheckbox*> boxes;
    CollectBoxes(options, boxes);
    EXPECT_GT(boxes.size(), 20u);
    for (const guiCheckbox* box : boxes)
        for (const i32 state : {guiStateOver, guiStateDisabled})
            EXPECT_TRUE(box->GetImage()->HasTexture(state + guiCheckbox::kCheckedStates))
                << box->GetName() << " " << state;
    screens.clear();
    fsResetRootTable();
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
}

// The coaster choice and the load menu show each installed type and environment by a name of its own,
// short enough in the list's font for its column of the load menu: a track type from 8 to 164 pixels into
// a row's right half, an environment from 164 to the row's 256-pixel half, with a few pixels to spare.
TEST_F(ScreensContentTest, EveryTrackTypeAndEnvironmentHasADisplayNameThatFitsTheLoadMenu) {
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    coThemeList::Build();
    const g2dFont listFont = g2dFont::GetByTextId(1, 14);
    for (const auto& [root, room] : {std::pair("Tracks", 156u - 4u), std::pair("Environments", 92u - 4u)})
        for (const auto& folder : std::filesystem::directory_iterator(DataPath(root))) {
            if (!folder.is_directory())
                continue;
            const envString name(folder.path().filename().string().c_str());
            envString display;
            coThemeList::GetDisplayName(display, name);
            EXPECT_NE(display, name) << folder.path();
            u32 width = 0, height = 0;
            g2dFont::MeasureText(listFont, display, width, height);
            EXPECT_LE(width, room) << folder.path();
        }
    g2dFont::Release(listFont);
    coThemeList::Clear();
}

// Every question the game asks, and every notice of its error texts (with a long path after those that
// name a file), fits the question box: wrapped to the text's whole width, its lines stay within the
// text's texture.
TEST_F(ScreensContentTest, EveryQuestionAndNoticeFitsTheQuestionBox) {
    coQuestionDialog dialog;
    guiText& text = *dynamic_cast<guiText*>(dialog.FindChild("PrimaryText"));
    i32 textureWidth = 0, textureHeight = 0;
    text.GetTextureSize(textureWidth, textureHeight);
    u32 gtWidth = 0, lineHeight = 0;
    g2dFont::MeasureText(text.GetDefaultFont(), envString("gt"), gtWidth, lineHeight);
    const auto lines = [&](const envString& shown) {
        dialog.SetPrimaryText(shown);
        const guiTextRecord& record = *text.FindRecord(0);
        const envString& wrapped = record.wrapped.empty() ? record.fields[0] : record.wrapped[0];
        u32 count = 1;
        for (u32 i = 0; i < wrapped.GetLength(); ++i)
            count += wrapped[i] == u'\n' ? 1 : 0;
        return count;
    };
    const u32 room = static_cast<u32>(textureHeight) / lineHeight;
    const gfTextSet questions(fsRootedLocator(coRootText, "uimc.tsf"), 32, true);
    for (const auto& [number, question] : questions.GetTexts())
        EXPECT_LE(lines(question), room) << "question " << number;
    fsLocator errorsFile;
    fsLocatorFromNativePath(DataPath("Errors/Eng/coErrors.tsf").c_str(), errorsFile);
    const gfTextSet errors(errorsFile, 32, true);
    const envString path(
        "/home/trackwright/.local/share/Zandrel Trackwrighting/Loopvane/Saves/Ann/SaveFile.isf");
    for (const auto& [number, notice] : errors.GetTexts()) {
        envString shown = notice;
        if (envStringToNarrow(notice).ends_with(": "))
            shown.Append(path);
        EXPECT_LE(lines(shown), room) << "notice " << number;
    }
    // A path without blanks breaks after a '/' that fits, keeping its names whole.
    lines(envString("/home/trackwright/.local/share/Loopvane/Saves/Ann/Coasters/Old-Timer-Loop-Final.csa"));
    const envString& wrapped = text.FindRecord(0)->wrapped.at(0);
    u32 row = 0;
    while (row < wrapped.GetLength() && wrapped[row] != u'\n')
        ++row;
    ASSERT_LT(row, wrapped.GetLength());
    EXPECT_EQ(wrapped[row - 1], u'/');
    u32 rowWidth = 0, rowHeight = 0;
    g2dFont::MeasureText(text.GetDefaultFont(), envString(0, row, wrapped), rowWidth, rowHeight);
    EXPECT_LE(rowWidth, static_cast<u32>(textureWidth));

    // With a path of 200 letters, as the reports write them (the path, the cause, where the game saves
    // instead), every notice still fits: the paths are cut in their middle, keeping the file's name, and
    // every other line shows whole.
    std::string deep = "/home/" + std::string(150, 'd') + "/Saves/Ann";
    deep += "/" + std::string(200 - deep.size() - 14, 'e') + "/SaveFile.isf";
    ASSERT_EQ(deep.size(), 200u);
    for (const auto& [number, notice] : errors.GetTexts()) {
        // Only the notices that name a file: the others never end in a path. The saves folder's names
        // the folder saved in instead too.
        const std::string words = envStringToNarrow(notice);
        if (!words.ends_with(": ") && !words.ends_with("\n"))
            continue;
        const std::string tail = number == 12 ? "\nThe disc is full.\nThe game saves here instead:\n" + deep
                                              : std::string("\nThe disc is full.");
        EXPECT_LE(lines(envString((words + deep + tail).c_str())), room) << "notice " << number;
        const std::string fitted = envStringToNarrow(text.FindRecord(0)->fields[0]);
        EXPECT_NE(fitted.find(".../SaveFile.isf\nThe disc is full."), std::string::npos)
            << "notice " << number << ": " << fitted;
        EXPECT_TRUE(fitted.starts_with(envStringToNarrow(notice))) << "notice " << number;
    }
}

// Every screen loads with its pictures and voices, and its widgets' looks follow their states.
TEST_F(ScreensContentTest, EveryScreenLoadsWithItsPicturesAndVoices) {
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    saves.MakeFolder("Ann"); // a row in the profiles' list
    log.lines.clear();
    std::vector<std::unique_ptr<guiWindow>> screens;
    auto* question = new coQuestionDialog;
    screens.emplace_back(question);
    screens.emplace_back(new coQuestionDialog(4));
    auto* background = new coBackground;
    screens.emplace_back(background);
    auto* mainMenu = new coMainMenu;
    screens.emplace_back(mainMenu);
    screens.emplace_back(new coCreditsDialog);
    auto* choice = new coChooseCoasterDialog;
    screens.emplace_back(choice);
    screens.emplace_back(new coLoadMenu([](u32, const envString&) { return false; }));
    screens.emplace_back(new coSelectTrackwrightMenu);
    auto* career = new coCareerMenu;
    screens.emplace_back(career);
    auto* topBar = new coMainPalette;
    screens.emplace_back(topBar);
    screens.emplace_back(new coTrackManipPalette);
    auto* gauges = new coStatsPalette;
    screens.emplace_back(gauges);
    screens.emplace_back(new coGlobalStatsPalette);
    screens.emplace_back(new coLocalStatsPalette);
    screens.emplace_back(new coObjectivesPalette);
    screens.emplace_back(new coFileBrowseDialog);
    auto* keyboard = new coKeyboardDialog;
    screens.emplace_back(keyboard);
    auto* options = new coOptionsDialog;
    screens.emplace_back(options);
    screens.emplace_back(new coRidePauseDialog);
    for (const char* menu : {"uimm", "uilm", "uisi", "uicm", "uicc", "uicd"})
        background->SetImage(menu);
    EXPECT_EQ(log.Count("Warning"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    EXPECT_EQ(choice->GetSelectedTrackType().empty(), false);
    EXPECT_EQ(choice->GetSelectedEnvironment().empty(), false);
    for (const char* voice : coMainMenu::kButtons)
        EXPECT_TRUE(std::filesystem::exists(DataPath("Data/Voice/Eng/" + std::string(voice) + ".wav")))
            << voice;
    coLoadingScreenHide(); // the load menu's
    // Every mission button of the career menu names an installed mission of its track type.
    for (const char* page : {"Coaster", "Vantorex1"}) {
        const auto* container = dynamic_cast<const guiContainer*>(career->FindChild(page));
        for (i32 i = 0; i < container->GetChildCount(); ++i) {
            const auto* group = dynamic_cast<const guiRadioGroup*>(container->GetChild(i));
            if (!group || group->GetName() == "TrackType")
                continue;
            EXPECT_GT(group->GetButtonCount(), 0) << group->GetName();
            for (i32 b = 0; b < group->GetButtonCount(); ++b) {
                const std::string name = group->GetChild(b)->GetName();
                EXPECT_TRUE(
                    std::filesystem::exists(DataPath("Data/Missions/" + group->GetName() + "/" + name)))
                    << name;
            }
        }
    }
    for (const guiContainer* screen : std::initializer_list<const guiContainer*>{
             question, mainMenu, career, topBar, gauges, keyboard, options})
        ExpectTextsAtTheirOwnSize(*screen);
    for (const auto& screen : screens)
        if (const auto* container = dynamic_cast<const guiContainer*>(screen.get()))
            ExpectStatesLookTheirOwn(*container, container->GetName());
    for (int hint = 0; hint <= 10; ++hint) {
        char name[16];
        std::snprintf(name, sizeof name, "fbvo%02d.wav", hint);
        EXPECT_TRUE(std::filesystem::exists(DataPath(std::string("Data/Voice/Eng/") + name))) << name;
    }
    fsResetRootTable();
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
}

// The screens' captions sit centred (or in from their side) on their buttons, and no two of a screen's
// widgets cover part of each other; the builder's palettes keep apart from each other and from the ride
// settings' colour picker, and the keyboard from the menu it opens over. The coaster choice's rows lay their
// captions as the dialog's code places them.
TEST_F(ScreensContentTest, CaptionsSitOnTheirButtonsAndWidgetsKeepApart) {
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    std::vector<std::unique_ptr<guiContainer>> screens;
    screens.emplace_back(new coMainPalette);
    screens.emplace_back(new coOptionsDialog);
    // The question box's labels are the caller's: each is fitted when it is set.
    auto* question = new coQuestionDialog(4);
    for (const u32 label : {0u, 1u, 18u, 19u, 20u}) {
        question->SetOkTextNum(label);
        question->SetCancelTextNum(label);
        ExpectCaptionsReadWell(*question, "uiqd " + std::to_string(label));
    }
    screens.emplace_back(question);
    screens.emplace_back(new coKeyboardDialog);
    screens.emplace_back(new coChooseCoasterDialog);
    screens.emplace_back(new coCareerMenu);
    screens.emplace_back(new coLoadMenu([](u32, const envString&) { return false; }));
    coLoadingScreenHide();
    screens.emplace_back(new coSelectTrackwrightMenu);
    screens.emplace_back(new coFileBrowseDialog);
    screens.emplace_back(new coMainMenu);
    auto* ride = new coRidePauseDialog;
    screens.emplace_back(ride);
    for (const auto& screen : screens) {
        ExpectNamedWidgetsKeepApart(*screen, screen->GetName());
        // The ride settings' column stacks its buttons 10 rows over each other.
        if (!dynamic_cast<coChooseCoasterDialog*>(screen.get()))
            ExpectCaptionsReadWell(*screen, screen->GetName(), screen.get() == ride ? 10 : 0);
    }

    // The builder's palettes in their places on the screen, the ride settings over them.
    const std::vector<guiContainer*> hud = {new coStatsPalette, new coGlobalStatsPalette,
                                            new coLocalStatsPalette, new coTrackManipPalette,
                                            new coObjectivesPalette};
    std::vector<std::vector<std::pair<std::string, Box>>> owners;
    for (guiContainer* palette : hud) {
        guiWindowMgr::AddWindow(palette);
        auto& boxes = owners.emplace_back();
        for (i32 i = 0; i < palette->GetChildCount(); ++i)
            boxes.emplace_back(palette->GetName() + "/" + Named(*palette->GetChild(i)),
                               ScreenBox(*palette->GetChild(i)));
    }
    screens.back().release();
    guiWindowMgr::AddWindow(ride);
    const auto& picker = dynamic_cast<const guiContainer&>(
        *dynamic_cast<guiContainer*>(ride->FindChild("TrackColor"))->FindChild("Track Color Picker"));
    owners.push_back({{"Track Color Picker", ScreenBox(*picker.FindChild("Background"))}});
    for (size_t a = 0; a < owners.size(); ++a)
        for (size_t b = 0; b < a; ++b)
            for (const auto& [nameA, boxA] : owners[a])
                for (const auto& [nameB, boxB] : owners[b])
                    EXPECT_FALSE(boxA.Meets(boxB)) << nameA << " and " << nameB;
    for (guiWindow* window : std::initializer_list<guiWindow*>{hud[0], hud[1], hud[2], hud[3], hud[4], ride})
        guiWindowMgr::DeleteWindow(window);

    // The name keyboard opens over the profile menu before the menu's first frame: each of the menu's
    // widgets hides whole under it or shows whole beside it, a button in a look of its own.
    auto* menu = new coSelectTrackwrightMenu;
    auto* keyboard = new coKeyboardDialog;
    guiWindowMgr::AddWindow(menu);
    guiWindowMgr::AddWindow(keyboard);
    const Box cover = ScreenBox(*keyboard);
    for (i32 i = 0; i < menu->GetChildCount(); ++i) {
        const guiWindow& widget = *menu->GetChild(i);
        const Box box = ScreenBox(widget);
        EXPECT_TRUE(cover.Holds(box) || !cover.Meets(box)) << Named(widget);
        EXPECT_TRUE(!dynamic_cast<const guiButton*>(&widget) || widget.GetState() != guiStateNone)
            << Named(widget);
    }
    guiWindowMgr::DeleteWindow(keyboard);
    guiWindowMgr::DeleteWindow(menu);
    screens.clear();
    fsResetRootTable();
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
}

// A list's rows start their texts under the captions of their columns: the load menu's under its
// headers', the ride settings' under their buttons'; the profiles' list, without captions, as far in as
// the load menu's.
TEST_F(ScreensContentTest, ListRowsStartUnderTheirCaptions) {
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    coCdatFields fields;
    fields.type = "Steel";
    coByteBuilder coaster;
    coaster.Header();
    fields.Write(coaster, 4);
    saves.Write("Twister.csa", coaster.bytes);
    saves.MakeFolder("Ann");
    coLoadMenu load([](u32, const envString&) { return false; });
    coLoadingScreenHide();
    coSelectTrackwrightMenu profiles;
    coRidePauseDialog ride;
    std::vector<guiTableBox*> lists;
    Collect(ride, lists);
    ASSERT_EQ(lists.size(), 2u);
    // The car types' list, made as the fanfares', stays empty without themes.
    for (const guiTableBox* table : {load.GetTable(), profiles.GetTable(), lists[1]})
        ASSERT_GT(table->GetItemCount(), 0) << table->GetName();
    const auto row = [](const guiTableBox& table, i32 column) -> const guiText& {
        return dynamic_cast<const guiText&>(*table.GetCellWindow(0, column));
    };
    const auto caption = [](const guiContainer& screen, const char* button) {
        return FieldLeft(*dynamic_cast<const guiButton&>(*screen.FindChild(button)).GetText(), 0);
    };
    const struct {
        const char* where;
        f32 text, caption;
    } cases[] = {
        {"load menu names", FieldLeft(row(*load.GetTable(), 0), 0), caption(load, "Name")},
        {"load menu environments", FieldLeft(row(*load.GetTable(), 0), 1), caption(load, "Environment")},
        {"load menu track types", FieldLeft(row(*load.GetTable(), 1), 0), caption(load, "TrackType")},
        {"load menu dates", FieldLeft(row(*load.GetTable(), 1), 1), caption(load, "Date")},
        {"fanfares", FieldLeft(row(*lists[1], 0), 0), caption(ride, "FanfareButton")},
        {"profiles", FieldLeft(row(*profiles.GetTable(), 0), 0) - ScreenBox(*profiles.GetTable()).left,
         FieldLeft(row(*load.GetTable(), 0), 0) - ScreenBox(*load.GetTable()).left},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.caption) << c.where;
    fsResetRootTable();
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
}

// A box with one button has it in its middle; with two, Ok stands on the left.
TEST_F(ScreensContentTest, AnOkAloneStandsInTheMiddleOfItsBox) {
    coDialogDimmer::Create();
    auto* dialog = new coQuestionDialog;
    guiWindowMgr::AddWindow(dialog);
    for (const auto& [type, alone] : {std::pair(2u, true), std::pair(1u, false), std::pair(2u, true)}) {
        coTestFrameFunction frame = ClickLater([dialog] { return dialog->GetOk(); });
        dialog->SetThinkFunction(&frame);
        dialog->Display(type, envString("A notice"));
        const Box box = ScreenBox(*dialog), ok = ScreenBox(*dialog->GetOk());
        EXPECT_EQ(std::abs(ok.left + ok.right - box.left - box.right) <= 1.0f, alone) << type;
        EXPECT_EQ(ok.right < (box.left + box.right) / 2, !alone) << type;
    }
    guiWindowMgr::DeleteWindow(dialog);
    coDialogDimmer::Destroy();
}

} // namespace
