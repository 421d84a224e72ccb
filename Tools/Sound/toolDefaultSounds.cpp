#include "Tools/Sound/toolDefaultSounds.h"

#include "Tools/Pak/toolPakWriter.h"

#include <filesystem>
#include <span>

namespace {

using enum toolSoundKind;

// The sound bank of the builder, the missions and the interface, in "Data/GUI/Sound".
const toolDefaultSound kEffects[] = {
    {"TRACK_PLACE_A", {Tone, 660.0f, 0.15f, false}},
    {"TRACK_PLACE_B", {Tone, 740.0f, 0.15f, false}},
    {"TRACK_PLACE_C", {Tone, 830.0f, 0.15f, false}},
    {"TRACK_FINISH", {Tone, 1046.0f, 0.6f, false}},
    {"TRACK_BEND_A", {Tone, 400.0f, 0.12f, false}},
    {"TRACK_BEND_B", {Tone, 450.0f, 0.12f, false}},
    {"TRACK_BEND_C", {Tone, 500.0f, 0.12f, false}},
    {"TRACK_BEND_D", {Tone, 550.0f, 0.12f, false}},
    {"TRACK_BEND_E", {Tone, 600.0f, 0.12f, false}},
    {"UNDO_TRACK_A", {Tone, 330.0f, 0.15f, false}},
    {"UNDO_TRACK_B", {Tone, 294.0f, 0.15f, false}},
    {"LENGTHEN", {Tone, 880.0f, 0.1f, false}},
    {"SHORTEN", {Tone, 440.0f, 0.1f, false}},
    {"PROP_PLACE_FLOAT", {Tone, 990.0f, 0.2f, false}},
    {"PROP_PLACE_GROUND", {Noise, 300.0f, 0.15f, false}},
    {"CHAIN", {Clicks, 20.0f, 0.4f, false}},
    {"ERROR_B", {Tone, 220.0f, 0.3f, false}},
    {"Ring", {Tone, 1318.0f, 0.5f, false}},
    {"MisFail", {Tone, 196.0f, 0.8f, false}},
    {"MisComp", {Tone, 784.0f, 0.8f, false}},
    {"MisBrnz", {Tone, 523.0f, 0.6f, false}},
    {"MisSilv", {Tone, 659.0f, 0.6f, false}},
    {"MisGold", {Tone, 880.0f, 0.6f, false}},
    {"CrerComp", {Tone, 1046.0f, 1.0f, false}},
    {"ui001_o", {Tone, 1200.0f, 0.03f, false}},
    {"ui001_p", {Tone, 800.0f, 0.05f, false}},
};

// The thirteen ride sounds of a coaster type; the looping ones sustain.
const toolDefaultSound kRide[] = {
    {"START", {Tone, 440.0f, 0.5f, false}},
    {"END", {Tone, 330.0f, 0.5f, false}},
    {"RUN", {Noise, 150.0f, 2.0f, true}},
    {"TURN", {Noise, 900.0f, 2.0f, true}},
    {"GFORCE", {Tone, 110.0f, 2.0f, true}},
    {"CLIMB", {Clicks, 8.0f, 2.0f, true}},
    {"GRAB_CHAIN", {Clicks, 30.0f, 0.3f, false}},
    {"RELEASE_CHAIN", {Clicks, 40.0f, 0.3f, false}},
    {"BRAKES", {Noise, 2500.0f, 1.0f, false}},
    {"ACCEL", {Noise, 1200.0f, 1.0f, false}},
    {"TUBE", {Noise, 80.0f, 2.0f, true}},
    {"RETARDER", {Noise, 1800.0f, 2.0f, true}},
    {"RETARDER_END", {Noise, 1800.0f, 0.4f, false}},
};

const toolDefaultSound kScreams[] = {
    {"SCREAMS1", {Tone, 700.0f, 1.5f, false}},  {"SCREAMS2", {Tone, 800.0f, 1.5f, false}},
    {"SCREAMS3", {Tone, 900.0f, 1.5f, false}},  {"SCREAMS4", {Tone, 1000.0f, 1.5f, false}},
    {"SCREAMS5", {Tone, 1100.0f, 1.5f, false}},
};

// The fanfare of the default theme, played as a ride starts.
const toolDefaultSound kFanfare[] = {{"fanfare", {Melody, 523.0f, 2.0f, false}}};

// Twelve seconds of arpeggio each: six whole bars, so every track loops.
const toolDefaultSound kMusic[] = {
    {"main1", {Melody, 392.0f, 12.0f, true}},  {"main2", {Melody, 349.0f, 12.0f, true}},
    {"build1", {Melody, 262.0f, 12.0f, true}}, {"build2", {Melody, 294.0f, 12.0f, true}},
    {"build3", {Melody, 330.0f, 12.0f, true}}, {"build4", {Melody, 370.0f, 12.0f, true}},
    {"ride1", {Melody, 440.0f, 12.0f, true}},  {"ride2", {Melody, 494.0f, 12.0f, true}},
    {"ride3", {Melody, 523.0f, 12.0f, true}},  {"ride4", {Melody, 587.0f, 12.0f, true}},
};

void AppendIn(std::vector<toolDefaultSound>& out, const char* folder,
              std::span<const toolDefaultSound> sounds) {
    for (const toolDefaultSound& sound : sounds)
        out.push_back({std::string(folder) + sound.path + ".wav", sound.spec});
}

// Each file's noise from its own name, so rebuilding gives the same bytes.
u32 SeedOf(const std::string& path) {
    u32 seed = 2166136261u;
    for (char c : path)
        seed = (seed ^ static_cast<u8>(c)) * 16777619u;
    return seed;
}

// The ride modes' ambient loop of the mountain environment.
const toolDefaultSound kAmbient[] = {{"Ambient", {Noise, 400.0f, 10.0f, true}}};

} // namespace

std::vector<toolDefaultSound> toolDefaultSounds() {
    std::vector<toolDefaultSound> sounds;
    AppendIn(sounds, "Data/GUI/Sound/", kEffects);
    AppendIn(sounds, "Tracks/Steel/", kRide);
    AppendIn(sounds, "Tracks/", kScreams);
    AppendIn(sounds, "Data/Music/", kMusic);
    AppendIn(sounds, "Themes/Ironvale/Sound/", kFanfare);
    AppendIn(sounds, "Environments/Mountain/Sound/", kAmbient);
    AppendIn(sounds, "Environments/cavern/Sound/", kAmbient);
    return sounds;
}

std::vector<toolDefaultSound> toolRideSounds() {
    std::vector<toolDefaultSound> sounds;
    AppendIn(sounds, "", kRide);
    return sounds;
}

namespace {
void WriteAll(const std::string& folder, const std::vector<toolDefaultSound>& sounds) {
    for (const toolDefaultSound& sound : sounds) {
        const std::filesystem::path path = std::filesystem::path(folder) / sound.path;
        std::filesystem::create_directories(path.parent_path());
        toolWriteFile(path.string(), toolBuildWave(toolSynthesize(sound.spec, SeedOf(sound.path))));
    }
}
} // namespace

void toolWriteDefaultSounds(const std::string& dataFolder, const std::string& woodenFolder) {
    WriteAll(dataFolder, toolDefaultSounds());
    WriteAll(woodenFolder, toolRideSounds());
}
