// Speaks the default voice-overs into an installation tree's voice folder "Data/Voice/Eng": the main
// menu's, one a button; the builder's hints, feedback messages 0 to 10 as "uimpfb.tsf" words them; and
// each career mission's fly-through, its title and briefing from its track type's text set. The text
// sets must be in the tree already.
//   lvVoiceGenerator <data folder>
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"
#include "Source/Career/coMissionFile.h"
#include "Tools/Mission/lvMissionRecipes.h"
#include "Tools/Pak/toolPakWriter.h"
#include "Tools/Sound/toolSoundSynth.h"
#include "Tools/Speech/toolSpeaker.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr u32 kTextSet = 32;
constexpr u32 kFeedbackVoices = 11;

// What each main-menu button says the first time the pointer rests on it.
const struct {
    const char* button;
    const char* words;
} kMenuVoices[] = {
    {"Build", "Build a coaster. Lay the track piece by piece, close the circuit, and ride it."},
    {"Load", "Load a coaster you saved, to build on or to ride."},
    {"Trkwt", "The Trackwright career. Build to a brief, and win bronze, silver and gold medals."},
    {"Opt", "Options. The screen, the sound and the controls."},
    {"Cred", "The credits. Who made the game."},
    {"Exit", "Leave the game."},
};

// The text sets of a folder, each read once however many of its texts are spoken.
class TextFolder {
  public:
    explicit TextFolder(std::string folder) : m_folder(std::move(folder)) {}
    std::string Get(const std::string& fileName, u32 id) {
        std::unique_ptr<const gfTextSet>& set = m_sets[fileName];
        if (!set) {
            fsLocator file;
            fsLocatorFromNativePath((m_folder + "/" + fileName).c_str(), file);
            set = std::make_unique<const gfTextSet>(file, kTextSet, true);
        }
        const envString& text = set->GetText(id);
        return envUtf16ToUtf8(std::u16string_view(text.GetData(), text.GetLength()));
    }

  private:
    std::string m_folder;
    std::map<std::string, std::unique_ptr<const gfTextSet>> m_sets;
};

class VoiceFolder {
  public:
    explicit VoiceFolder(std::string folder) : m_folder(std::move(folder)) {}
    void Write(const std::string& name, const std::string& words) {
        const std::filesystem::path path = std::filesystem::path(m_folder) / (name + ".wav");
        std::filesystem::create_directories(path.parent_path());
        toolWriteFile(path.string(), toolBuildWave(m_speaker.Speak(words)));
    }

  private:
    std::string m_folder;
    toolSpeaker m_speaker;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1];
    try {
        TextFolder texts(data + "/Data/Text/Eng");
        VoiceFolder voices(data + "/Data/Voice/Eng");
        for (const auto& menu : kMenuVoices)
            voices.Write(menu.button, menu.words);
        for (u32 message = 0; message < kFeedbackVoices; ++message) {
            char name[8];
            std::snprintf(name, sizeof name, "fbvo%02u", message);
            voices.Write(name, texts.Get("uimpfb.tsf", message));
        }
        for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
            const std::string typeTexts = std::string(recipe.type) + ".tsf";
            const u32 number = static_cast<u32>(recipe.number);
            voices.Write(std::string(recipe.type) + "/mvo" + std::to_string(number),
                         texts.Get(typeTexts, coCoasterNameOffset + number) + ". " +
                             texts.Get(typeTexts, number));
        }
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "%s: a text set cannot be read (error 0x%08X)\n", argv[0], e.GetCode());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
