#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envString.h"

#include <vector>

class snSoundJob2D;

// The game's bank of numbered sound effects: edits in the builder, missions and a few screens play one of
// 26 slots, each a set of interchangeable variants. The bank loads on first use and is dropped while
// sound effects are switched off.
inline constexpr int coSoundEffectSlotCount = 26;

// The variants of one effect. Playing picks one at random, never the one played last; the sound manager
// owns the jobs and the set destroys them through it.
class coSoundVariantSet {
  public:
    coSoundVariantSet() = default;
    ~coSoundVariantSet();
    coSoundVariantSet(const coSoundVariantSet&) = delete;
    coSoundVariantSet& operator=(const coSoundVariantSet&) = delete;

    // The locator's last component plus ".wav", in the locator's folder, at the volume; a file that
    // cannot be loaded is left out with a warning.
    void Add(const fsLocator& locator, float volume);
    void PlayRandom();

    int GetCount() const { return static_cast<int>(m_variants.size()); }
    const snSoundJob2D& GetVariant(int index) const { return *m_variants.at(static_cast<size_t>(index)); }
    int GetLastPlayed() const { return m_last; }

  private:
    std::vector<snSoundJob2D*> m_variants;
    int m_last = 0;
};

// Plays a variant of the slot (0 to 25; any other is ignored with a warning), loading the bank first;
// while sound effects are off it releases the bank instead.
void coPlaySoundEffect(int slot);
// Fills the bank unless sound effects are off or it is filled already.
void coLoadSoundEffects();
void coReleaseSoundEffects();
// The slot's set; null while the bank is empty or outside the slots.
const coSoundVariantSet* coGetSoundEffect(int slot);

// The interface sounds of the GUI toolkit and its mute switch from the preferences; once at start.
void coLoadUiSounds();

// The folder plus the name and ".wav".
fsLocator coWaveFile(const fsLocator& folder, const envString& name);
// A new effects job (category 1) on the file, loaded, at the volume, with the manager's volumes
// applied; null, with a warning and no job left behind, when the file cannot be loaded.
snSoundJob2D* coCreateEffectSound(const fsLocator& file, float volume);

// Loads the voice-over and starts it in the voices' volume category; one that cannot be loaded warns,
// is freed and gives null, since a voice that cannot be heard is no reason to stop the game.
snSoundJob2D* coStartVoiceOver(const fsLocator& file, const envString& name);
