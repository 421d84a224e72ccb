#include "Source/Screens/coOptionsDialog.h"

#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coRunDialog.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coTrackBuilder.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

constexpr const char* kScript = "uiod";

struct Box {
    const char* name;
    const char* group;
    int pref;
    // The preference means "off" where the box means "on".
    bool inverted;
};

constexpr Box kBoxes[] = {
    {"Drag v Click", "Game Group", coPrefDragOrClick, false},
    {"Tool Tips", "Game Group", coPrefToolTips, false},
    {"Texture In Build", "Graphics Group", coPrefTextureInBuild, false},
    {"Particles", "Graphics Group", coPrefParticles, false},
    {"EnglishMetric", "Game Group", coPrefMetricUnits, false},
    {"Layered Sky", "Graphics Group", coPrefLayeredSky, false},
    {"Multitexture", "Graphics Group", coPrefMultitexture, false},
    {"Vertical Sync", "Graphics Group", coPrefVerticalSync, false},
    {"Triple Buffering", "Graphics Group", coPrefTripleBuffering, false},
    {"Camera Shake", "Game Group", coPrefCameraShake, false},
    {"Allow Inversions", "Game Group", coPrefAllowInversions, false},
    {"Car Shadows", "Graphics Group", coPrefCarShadows, false},
    {"Track Shadows", "Graphics Group", coPrefTrackShadows, false},
    {"Lens Flare", "Graphics Group", coPrefLensFlare, false},
    {"Disable Prop Collisions", "Game Group", coPrefDisablePropCollisions, false},
};

struct Row {
    const char* name;
    const char* group;
    int floatPref;
    // The audio rows' switch: the bool preference that means off; -1 for a slider alone.
    int offPref;
};

constexpr Row kRows[] = {
    {"Menu Music", "Audio Group", coPrefMenuMusicVolume, coPrefMenuMusicOff},
    {"Builder Music", "Audio Group", coPrefBuilderMusicVolume, coPrefBuilderMusicOff},
    {"Ride Music", "Audio Group", coPrefRideMusicVolume, coPrefRideMusicOff},
    {"SFX", "Audio Group", coPrefSoundEffectsVolume, coPrefSoundEffectsOff},
    {"Interface", "Audio Group", coPrefInterfaceVolume, coPrefInterfaceMuted},
    {"Ambient", "Audio Group", coPrefAmbientVolume, coPrefAmbientOff},
    {"Voices", "Audio Group", coPrefVoicesVolume, coPrefVoicesOff},
    {"Screams", "Audio Group", coPrefScreamsVolume, coPrefScreamsOff},
    {"Gamma", "Graphics Group", coPrefGamma, -1},
    {"GeometryLOD", "Graphics Group", coPrefDetailDistance, -1},
    {"Prop Far Clipping", "Graphics Group", coPrefPropFarClipping, -1},
    {"Crossbar Detail", "Graphics Group", coPrefCrossbarDetail, -1},
};

constexpr int kResolutionButtons = 6;

// The music a caller tries out: its row of the audio group and its music context.
struct CallerMusic {
    const Row* row;
    int context;
};

const Row* RowNamed(std::string_view name) {
    return &*std::find_if(std::begin(kRows), std::end(kRows),
                          [name](const Row& row) { return row.name == name; });
}

bool MusicOf(i32 modeId, CallerMusic& out) {
    if (modeId == 0)
        out = {RowNamed("Menu Music"), coMusicMenu};
    else if (modeId >= 6 && modeId <= 8)
        out = {RowNamed("Builder Music"), coMusicBuilder};
    else if (modeId == 9 || modeId == 11)
        out = {RowNamed("Ride Music"), coMusicRide};
    else
        return false;
    return true;
}

// From the menu the music starts at once. Elsewhere the options lie behind the pause dialog, which
// resumes the music as it closes; so the track starts again paused there, when its context is current.
void StartCallerMusic(i32 modeId, const CallerMusic& music) {
    const bool current = coMusicGetContext() == music.context;
    coMusicRequestContext(music.context);
    if (modeId == coOptionsFromMenu) {
        coMusicApplyContext(false);
    } else if (current) {
        coMusicApplyContext(true);
        coMusicPause();
    }
}

int ResolutionOfButton(const guiCheckbox* button) {
    const std::string& name = button ? button->GetName() : std::string();
    return name.size() == 1 && name[0] >= '0' && name[0] <= '5' ? name[0] - '0' : 0;
}

bool DisplayHas(int resolution, u32 bits) {
    int width = 0, height = 0;
    coPrefs::GetResolution(resolution, width, height);
    return g2dScreen::HasDisplayMode(static_cast<u32>(width), static_cast<u32>(height), bits);
}

} // namespace

coOptionsDialog::coOptionsDialog() {
    coLoadScreenScript(kScript, "uiod.tsf", this);
    SetKeysEnabled(true);
    i32 width = 0, height = 0;
    guiGetScreenSize(width, height);
    SetSize(width, height);
    m_categories = coFindWidget<guiRadioGroup>(*this, kScript, "Categories", "RadioGroup");
    for (const char* group : {"Audio Group", "Game Group", "Graphics Group", "Resolution Group"})
        m_groups[group] = coFindWidget<guiContainer>(*this, kScript, group, "Container");
    guiContainer& resolutionGroup = *m_groups["Resolution Group"];
    m_resolution = coFindWidget<guiRadioGroup>(resolutionGroup, kScript, "Resolution", "RadioGroup");
    m_bitDepth = coFindWidget<guiCheckbox>(resolutionGroup, kScript, "Bit Depth", "Checkbox");
    m_resetButton = coFindWidget<guiWindow>(*this, kScript, "Reset", "Button");
    for (const Box& box : kBoxes)
        m_boxes[box.name] = coFindWidget<guiCheckbox>(*m_groups[box.group], kScript, box.name, "Checkbox");
    for (const Row& row : kRows) {
        auto* container = coFindWidget<guiContainer>(*m_groups[row.group], kScript, row.name, "Container");
        m_sliders[row.name] = coFindWidget<guiSlider>(*container, kScript, "Slider", "Slider");
        if (row.offPref >= 0)
            m_boxes[row.name] = coFindWidget<guiCheckbox>(*container, kScript, row.name, "Checkbox");
    }
    m_crossbarDetail = dynamic_cast<guiContainer*>(m_groups["Graphics Group"]->FindChild("Crossbar Detail"));
    SelectCategoryGroup(nullptr);
}

guiCheckbox* coOptionsDialog::GetBox(const std::string& name) const {
    const auto found = m_boxes.find(name);
    return found == m_boxes.end() ? nullptr : found->second;
}

guiSlider* coOptionsDialog::GetSlider(const std::string& container) const {
    const auto found = m_sliders.find(container);
    return found == m_sliders.end() ? nullptr : found->second;
}

void coOptionsDialog::EnableStartupOptions(bool enable) {
    m_startupOptions = enable;
    m_resolution->SetEnabled(enable);
    for (const char* name : {"Texture In Build", "Layered Sky", "Particles", "Vertical Sync"})
        m_boxes[name]->SetEnabled(enable);
    m_crossbarDetail->SetEnabled(enable);
    m_crossbarDetail->SetVisible(enable);
}

void coOptionsDialog::FillControls() {
    for (const Box& box : kBoxes)
        m_boxes[box.name]->SetChecked(coPrefs::GetBool(box.pref) != box.inverted);
    for (const Row& row : kRows) {
        if (row.offPref >= 0)
            m_boxes[row.name]->SetChecked(!coPrefs::GetBool(row.offPref));
        m_sliders[row.name]->SetValue(coPrefs::GetFloat(row.floatPref));
    }
    if (coPrefs::GetBool(coPrefMultitextureLocked)) {
        m_boxes["Multitexture"]->SetChecked(false);
        m_boxes["Multitexture"]->SetEnabled(false);
    }
    m_bitDepth->SetChecked(coPrefs::GetInt(coPrefColourDepth) == 32);
    const int position = coPrefs::GetInt(coPrefResolution) + 1;
    m_resolution->SetSelection(position >= 0 && position < m_resolution->GetButtonCount() ? position : 0);
    for (i32 i = 0; i < m_resolution->GetChildCount(); ++i) {
        guiWindow* button = m_resolution->GetChild(i);
        const std::string& name = button->GetName();
        if (name.size() == 1 && name[0] >= '0' && name[0] < '0' + kResolutionButtons)
            // A locked group does not think, so its buttons are locked too and show so.
            button->SetEnabled(m_resolution->IsEnabled() && DisplayHas(name[0] - '0', 16));
    }
    CheckBitDepth();
}

void coOptionsDialog::CheckBitDepth() {
    const int resolution = ResolutionOfButton(m_resolution->GetSelectedButton());
    const bool available = coPrefs::GetBool(coPrefDeepColourOffered) && DisplayHas(resolution, 32);
    if (!available)
        m_bitDepth->SetChecked(false);
    // The colour depth, like the resolution, changes only where the display can be made again.
    m_bitDepth->SetEnabled(available && m_startupOptions);
}

void coOptionsDialog::StoreControls() const {
    for (const Box& box : kBoxes)
        coPrefs::SetBool(box.pref, m_boxes.at(box.name)->IsChecked() != box.inverted);
    for (const Row& row : kRows) {
        if (row.offPref >= 0)
            coPrefs::SetBool(row.offPref, !m_boxes.at(row.name)->IsChecked());
        coPrefs::SetFloat(row.floatPref, m_sliders.at(row.name)->GetValue());
    }
    coPrefs::SetInt(coPrefColourDepth, m_bitDepth->IsChecked() ? 32 : 16);
    coPrefs::SetInt(coPrefResolution, ResolutionOfButton(m_resolution->GetSelectedButton()));
}

void coOptionsDialog::SelectCategoryGroup(const guiCheckbox* oldCategory) {
    // Before the first selection there is no old group to put away.
    if (oldCategory) {
        const auto old = m_groups.find(oldCategory->GetName() + " Group");
        if (old != m_groups.end())
            coShowWidget(old->second, false);
    }
    const guiCheckbox* selected = m_categories->GetSelectedButton();
    if (!selected)
        return;
    const auto now = m_groups.find(selected->GetName() + " Group");
    if (now != m_groups.end())
        coShowWidget(now->second, true);
}

void coOptionsDialog::ShowCategory(const std::string& name) {
    const guiCheckbox* old = m_categories->GetSelectedButton();
    m_categories->SelectByName(name);
    if (m_categories->GetSelectedButton() != old)
        SelectCategoryGroup(old);
}

void coOptionsDialog::ResetPreferences() {
    coPrefs::SetDefaults();
    FillControls();
    m_reset = true;
    guiSoundCues::SetMuted(!m_boxes["Interface"]->IsChecked());
    coMusicSetDisabled(false);
    if (coMusicGetContext() == coMusicMenu) {
        coMusicApplyContext(false);
        m_musicStopped = false;
    }
}

void coOptionsDialog::TryMusicSwitch(bool off) {
    CallerMusic music{};
    if (!MusicOf(m_modeId, music) || off == coPrefs::GetBool(music.row->offPref))
        return;
    coPrefs::SetBool(music.row->offPref, off);
    coMusicSetDisabled(off);
    m_musicStopped = off;
    if (off)
        coMusicStop();
    else
        StartCallerMusic(m_modeId, music);
}

void coOptionsDialog::Think() {
    const guiCheckbox* category = m_categories->GetSelectedButton();
    guiContainer::Think();
    CheckBitDepth();
    if (m_categories->GetSelectedButton() != category)
        SelectCategoryGroup(category);
    if (m_resetButton->GetState() == guiStateReleased)
        ResetPreferences();
}

i32 coOptionsDialog::DoModal() {
    m_cancelled = false;
    m_reset = false;
    m_musicStopped = false;
    FillControls();
    m_openingResolution = coPrefs::GetInt(coPrefResolution);
    m_openingDepth = coPrefs::GetInt(coPrefColourDepth);
    m_openingGamma = coPrefs::GetFloat(coPrefGamma);
    if (auto* frame = dynamic_cast<coOptionsDialogFunction*>(GetThinkFunction()))
        frame->SetLastGamma(m_openingGamma);
    const bool interfaceMuted = coPrefs::GetBool(coPrefInterfaceMuted);
    const f32 interfaceVolume = coPrefs::GetFloat(coPrefInterfaceVolume);
    CallerMusic music{};
    const bool hasMusic = MusicOf(m_modeId, music);
    const bool musicOff = hasMusic && coPrefs::GetBool(music.row->offPref);
    const f32 musicVolume = hasMusic ? coPrefs::GetFloat(music.row->floatPref) : 0.0f;
    const bool menuMusicWasOff = coPrefs::GetBool(coPrefMenuMusicOff);
    const bool propCollisionsWereOff = coPrefs::GetBool(coPrefDisablePropCollisions);

    i32 result = 2;
    {
        const coDialogDimmer::Scope dimmer(this);
        result = guiDialog::DoModal();
    }
    if (m_cancelled) {
        coPrefs::SetFloat(coPrefGamma, m_openingGamma);
        if (hasMusic) {
            coPrefs::SetBool(music.row->offPref, musicOff);
            coPrefs::SetFloat(music.row->floatPref, musicVolume);
            coMusicSetDisabled(musicOff);
            if (m_musicStopped && !musicOff)
                StartCallerMusic(m_modeId, music);
        }
        coPrefs::SetBool(coPrefInterfaceMuted, interfaceMuted);
        coPrefs::SetFloat(coPrefInterfaceVolume, interfaceVolume);
    }
    g2dScreen::SetGamma(coPrefs::GetFloat(coPrefGamma));
    coPrefs::ApplyVolumes();
    coMusicApplyVolumes();
    guiSoundCues::SetMuted(coPrefs::GetBool(coPrefInterfaceMuted));
    g2dScreen::SetVerticalSync(coPrefs::GetBool(coPrefVerticalSync) ? 1 : 0);
    coCoasterDefinition& definition = coCoasterDefinitionStore();
    definition.SetAllowInvertPieces(definition.GetAllowInvertPieces());
    // The ride options' own "No Prop Collisions" holds unless this box changed.
    if (const bool off = coPrefs::GetBool(coPrefDisablePropCollisions); off != propCollisionsWereOff)
        coSetCollisionChecks(!off);
    coGetTrackBuilder().RefreshShadows();
    if (coMusicGetContext() == coMusicMenu && menuMusicWasOff) {
        coMusicSetDisabled(true);
        coMusicStop();
    }
    return result;
}

void coOptionsDialog::OnClose(bool accepted) {
    guiDialog::OnClose(accepted);
    if (accepted) {
        StoreControls();
        try {
            coPrefs::Save();
        } catch (...) {
            // The choices hold for this run; only the file keeps the old ones.
            coReportCurrentException();
        }
        return;
    }
    m_cancelled = true;
    if (m_reset)
        coPrefs::Load();
}

void coOptionsDialog::GetOpeningDisplayMode(i32& resolution, i32& depth) const {
    resolution = m_openingResolution;
    depth = m_openingDepth;
}

bool coOptionsDialog::GetChangedDisplayMode(i32& resolution, i32& depth) const {
    resolution = coPrefs::GetInt(coPrefResolution);
    depth = coPrefs::GetInt(coPrefColourDepth);
    return resolution != m_openingResolution || depth != m_openingDepth;
}

void coOptionsDialogFunction::DrawOverlay() {
    if (guiSlider* gamma = m_dialog->GetSlider("Gamma"); gamma && gamma->GetValue() != m_lastGamma) {
        m_lastGamma = gamma->GetValue();
        g2dScreen::SetGamma(m_lastGamma);
    }
    CallerMusic music{};
    if (MusicOf(m_dialog->GetModeId(), music)) {
        m_dialog->TryMusicSwitch(!m_dialog->GetBox(music.row->name)->IsChecked());
        coSetMusicVolume(m_dialog->GetSlider(music.row->name)->GetValue());
    }
    const bool interfaceOff = !m_dialog->GetBox("Interface")->IsChecked();
    if (interfaceOff != coPrefs::GetBool(coPrefInterfaceMuted)) {
        coPrefs::SetBool(coPrefInterfaceMuted, interfaceOff);
        guiSoundCues::SetMuted(interfaceOff);
    }
    g2dScreen::SetVerticalSync(m_dialog->GetBox("Vertical Sync")->IsChecked() ? 1 : 0);
    snSoundManager::SetCategoryVolume(m_dialog->GetSlider("Interface")->GetValue(), guiSoundCues::kCategory);
}

coOptionsResult coRunOptionsDialog(i32 modeId, bool startupOptions, std::function<void()> frameStart) {
    return coRunNewDialog<coOptionsDialog>("Options Dialog", coOptionsResult{}, [&](coOptionsDialog& dialog) {
        coOptionsDialogFunction frame(std::move(frameStart), &dialog, modeId == coOptionsFromMenu);
        dialog.SetThinkFunction(&frame);
        dialog.SetModeId(modeId);
        dialog.EnableStartupOptions(startupOptions);
        coOptionsResult result;
        result.answer = dialog.DoModal();
        result.displayChanged = dialog.GetChangedDisplayMode(result.resolution, result.depth);
        dialog.GetOpeningDisplayMode(result.previousResolution, result.previousDepth);
        return result;
    });
}
