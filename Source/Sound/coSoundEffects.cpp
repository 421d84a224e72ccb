#include "Source/Sound/coSoundEffects.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

#include <memory>
#include <string>

namespace {

constexpr u32 kEffectsCategory = 1;
constexpr const char* kSoundFolder = "Sound";

struct coEffectSlot {
    std::vector<const char*> names;
    float volume;
};

// Slots 6 and 7 (and 9 to 12, 14 to 17) share files but load them as jobs of their own, so that a
// slot's sound never cuts another's short.
const coEffectSlot kEffects[coSoundEffectSlotCount] = {
    {{"TRACK_PLACE_A", "TRACK_PLACE_B", "TRACK_PLACE_C"}, 0.6f},
    {{"TRACK_FINISH"}, 0.8f},
    {{"TRACK_BEND_A", "TRACK_BEND_B", "TRACK_BEND_C", "TRACK_BEND_D", "TRACK_BEND_E"}, 0.45f},
    {{"UNDO_TRACK_A", "UNDO_TRACK_B"}, 0.6f},
    {{"LENGTHEN"}, 0.4f},
    {{"SHORTEN"}, 0.4f},
    {{"PROP_PLACE_FLOAT", "PROP_PLACE_GROUND"}, 0.7f},
    {{"PROP_PLACE_FLOAT", "PROP_PLACE_GROUND"}, 0.7f},
    {{"CHAIN"}, 0.5f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"CHAIN"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"PROP_PLACE_GROUND"}, 0.6f},
    {{"ERROR_B"}, 0.6f},
    {{"Ring"}, 0.7f},
    {{"MisFail"}, 0.6f},
    {{"MisComp"}, 0.6f},
    {{"MisBrnz"}, 0.6f},
    {{"MisSilv"}, 0.6f},
    {{"MisGold"}, 0.6f},
    {{"CrerComp"}, 0.6f},
};

// The GUI toolkit's cue slots and the interface sound each gets.
const struct {
    int slot;
    const char* name;
} kUiCues[] = {{1, "ui001_o"}, {7, "ui001_o"}, {3, "ui001_p"}, {9, "ui001_p"}};

std::vector<std::unique_ptr<coSoundVariantSet>> g_bank;

fsLocator SoundFolder() {
    fsLocator folder(coRootGui);
    folder.AppendComponent(kSoundFolder);
    return folder;
}

// A static sound of the category, loaded; null after a warning naming the file when it cannot be.
snSoundJob2D* LoadSound(const fsLocator& file, const envString& name, u32 category, const char* kind) {
    snSoundJob2D* job = snSoundManager::CreateSound(file, name, false);
    try {
        job->Load();
    } catch (const envExceptionX& e) {
        std::string path;
        fsLocatorToNativePath(file, path);
        DBG_WARNING("The %s \"%s\" cannot be loaded (error 0x%08X); left out", kind, path.c_str(),
                    e.GetCode());
        snSoundManager::DestroySound(job);
        return nullptr;
    }
    job->SetCategory(category);
    return job;
}

} // namespace

fsLocator coWaveFile(const fsLocator& folder, const envString& name) {
    envString fileName(name);
    fileName.Append(envString(".wav"));
    fsLocator file(folder);
    file.AppendComponent(fileName);
    return file;
}

snSoundJob2D* coCreateEffectSound(const fsLocator& file, float volume) {
    const envString name = file.GetComponentCount() > 0 ? file.GetLastComponent() : envString();
    snSoundJob2D* job = LoadSound(file, name, kEffectsCategory, "sound");
    if (job) {
        job->SetVolume(volume);
        snSoundManager::ApplyVolume(job);
    }
    return job;
}

coSoundVariantSet::~coSoundVariantSet() {
    for (snSoundJob2D* job : m_variants)
        snSoundManager::DestroySound(job);
}

void coSoundVariantSet::Add(const fsLocator& locator, float volume) {
    if (locator.GetComponentCount() == 0)
        return;
    fsLocator folder(locator);
    folder.RemoveLastComponent();
    if (snSoundJob2D* job = coCreateEffectSound(coWaveFile(folder, locator.GetLastComponent()), volume))
        m_variants.push_back(job);
}

void coSoundVariantSet::PlayRandom() {
    if (m_variants.empty())
        return;
    const int count = GetCount();
    int i = static_cast<int>(maRandomInt() % static_cast<u32>(count));
    if (i == m_last)
        i = (m_last + 1) % count;
    m_variants[static_cast<size_t>(i)]->Restart(static_cast<f32>(appGetTime()));
    m_last = i;
}

void coPlaySoundEffect(int slot) {
    if (coPrefs::GetBool(coPrefSoundEffectsOff)) {
        coReleaseSoundEffects();
        return;
    }
    if (slot < 0 || slot >= coSoundEffectSlotCount) {
        DBG_WARNING("There is no sound effect %d", slot);
        return;
    }
    coLoadSoundEffects();
    g_bank[static_cast<size_t>(slot)]->PlayRandom();
}

void coLoadSoundEffects() {
    if (coPrefs::GetBool(coPrefSoundEffectsOff) || !g_bank.empty())
        return;
    const fsLocator folder = SoundFolder();
    for (const coEffectSlot& slot : kEffects) {
        auto set = std::make_unique<coSoundVariantSet>();
        for (const char* name : slot.names) {
            fsLocator locator(folder);
            locator.AppendComponent(name);
            set->Add(locator, slot.volume);
        }
        g_bank.push_back(std::move(set));
    }
}

void coReleaseSoundEffects() {
    g_bank.clear();
}

const coSoundVariantSet* coGetSoundEffect(int slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= g_bank.size())
        return nullptr;
    return g_bank[static_cast<size_t>(slot)].get();
}

void coLoadUiSounds() {
    guiSoundCues::Clear();
    const fsLocator folder = SoundFolder();
    for (const auto& cue : kUiCues) {
        const fsLocator file = coWaveFile(folder, cue.name);
        try {
            guiSoundCues::AddCue(cue.slot, file, 1.0f);
        } catch (const envExceptionX& e) {
            // The interface stays usable without its sounds.
            std::string path;
            fsLocatorToNativePath(file, path);
            DBG_WARNING("The interface sound \"%s\" cannot be loaded (error 0x%08X); left out", path.c_str(),
                        e.GetCode());
        }
    }
    guiSoundCues::SetMuted(coPrefs::GetBool(coPrefInterfaceMuted));
}

snSoundJob2D* coStartVoiceOver(const fsLocator& file, const envString& name) {
    constexpr u32 kVoicesCategory = 2;
    snSoundJob2D* voice = LoadSound(file, name, kVoicesCategory, "voice-over");
    if (voice) {
        snSoundManager::ApplyVolume(voice);
        voice->Play(appClock::GetTime());
    }
    return voice;
}
