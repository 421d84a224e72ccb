#include "Tools/World/toolIronvaleProps.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Tools/Image/toolFlipBook.h"
#include "Tools/Image/toolPngWriter.h"
#include "Tools/Model/toolAnimatedModels.h"
#include "Tools/Model/toolPropModels.h"
#include "Tools/Pak/toolPakWriter.h"
#include "Tools/Particle/toolParticleTemplates.h"
#include "Tools/Sound/toolSoundSynth.h"
#include "Tools/World/toolPropWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The pack files, each the definition of one of the theme's prop models.
struct Pack {
    const char* file;
    const char* prop;
};
constexpr Pack kPacks[] = {
    {"pack00.prd", "trophy"},   {"pack01.prd", "lantern"}, {"pack02.prd", "statue"}, {"pack03.prd", "barrel"},
    {"pack04.prd", "signpost"}, {"pack05.prd", "crate"},   {"pack06.prd", "totem"},  {"pack07.prd", "arch"},
    {"pack08.prd", "windmill"}, {"pack09.prd", "beacon"},  {"pack10.prd", "gazebo"},
};

// The bench's and banner's materials carry their colour, so that they read without textures; the textures
// add grain and motion: light grey planks with dark seams, and cloth paler towards its hem.
toolImage Planks() {
    toolImage image{16, 16, 3, {}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const u8 shade = static_cast<u8>(y % 4 == 0 ? 130 : 210 + x * 3);
            image.pixels.insert(image.pixels.end(), {shade, shade, shade});
        }
    return image;
}

// The banner's cloth waves: a fold of light and shade runs across it once a second, in 8 frames of
// 16 x 16 cells, 4 across and 2 down one page.
constexpr int kClothFrames = 8, kClothCell = 16, kClothColumns = 4;

toolImage ClothWave() {
    const int rows = kClothFrames / kClothColumns;
    toolImage image{kClothCell * kClothColumns, kClothCell * rows, 3, {}};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const int frame = (y / kClothCell) * kClothColumns + x / kClothCell;
            const float across = static_cast<float>(x % kClothCell) / kClothCell;
            const float fold = std::sin(maTwoPiF * (across - static_cast<float>(frame) / kClothFrames));
            const u8 shade = static_cast<u8>((200.0f + static_cast<float>(y % kClothCell) * 3.0f) *
                                             (0.88f + 0.12f * fold));
            image.pixels.insert(image.pixels.end(), {shade, shade, shade});
        }
    return image;
}

toolFlipBook ClothBook() {
    toolFlipBook book;
    book.frameCount = kClothFrames;
    book.columns = kClothColumns;
    book.rows = kClothFrames / kClothColumns;
    book.framesPerSecond = static_cast<float>(kClothFrames);
    book.pages = {"clothwave.png"};
    return book;
}

// The fountain sprays drops from its nozzle, up and back into the basin, from the start of its animation
// with the splash sound until the next animation starts.
const toolPropParticle kSpray{"fountain.tpr", "", 0, -1.0f, {0, 1.72f, 0}, {0, 1, 0}};

toolPropEvent Sway(i32 playCount) {
    toolPropEvent event;
    event.playCount = playCount;
    event.animation = "fountainsway.mx";
    event.particles.push_back(kSpray);
    event.sounds.push_back({"splash.wav", "", 0, true, 0.8f, 1.0f, 5.0f, 60.0f});
    event.sounds.push_back({"chime.wav", "", 2, false, 1.0f, 1.2f, 5.0f, 60.0f});
    return event;
}

toolPropEvent Dance(i32 playCount) {
    toolPropEvent event;
    event.playCount = playCount;
    event.animation = "tubedancersway.mx";
    return event;
}

toolPropEvent Turn(i32 playCount) {
    toolPropEvent event;
    event.playCount = playCount;
    event.animation = "windmillturn.mx";
    return event;
}

} // namespace

void toolWriteIronvaleProps(const std::string& dataFolder) {
    const fs::path theme = fs::path(dataFolder) / "Themes" / "Ironvale";
    for (const char* folder : {"Data", "Model", "Texture", "Sound"})
        fs::create_directories(theme / folder);

    toolWriteIronvalePropModels((theme / "Model").string());
    toolWriteTubeDancer((theme / "Model").string());
    toolWritePng((theme / "Texture" / "planks.png").string(), Planks());
    toolWritePng((theme / "Texture" / "clothwave.png").string(), ClothWave());
    // The model names "cloth.png"; with no such file the game plays the flip-book of that name.
    toolWriteFlipBook((theme / "Texture" / "cloth.tuv").string(), ClothBook());
    toolWriteFile((theme / "Sound" / "splash.wav").string(),
                  toolBuildWave(toolSynthesize({toolSoundKind::Noise, 2000.0f, 1.0f, true}, 7)));
    toolWriteFile((theme / "Sound" / "chime.wav").string(),
                  toolBuildWave(toolSynthesize({toolSoundKind::Tone, 880.0f, 0.6f, false}, 1)));

    // Particle cues of props take their sprites from the effects' "Texture" folder.
    const fs::path sprites = fs::path(dataFolder) / "Data" / "Effects" / "Texture";
    fs::create_directories(sprites);
    toolWritePng((sprites / toolFountainSpray().texture).string(), toolDropSprite());

    const std::string data = (theme / "Data").string();
    toolPropDefinition bench;
    bench.model = "bench.mx";
    bench.triggerDistance = 4.0f;
    toolWritePropDefinition(data + "/bench.prd", bench);

    toolPropDefinition fountain;
    fountain.model = "fountain.mhx";
    fountain.triggerDistance = 12.0f;
    fountain.idle = {Sway(0)};
    fountain.entries = {Sway(1), Sway(-1)};
    fountain.exit = {Sway(0)};
    fountain.exit[0].sounds.clear();
    toolWritePropDefinition(data + "/fountain.prd", fountain);

    // A skinned model: the loader takes any model that is neither ".mx" nor ".mhx" for a skin. It sways now
    // and then, keeps swaying while a train passes, and once more as it leaves.
    toolPropDefinition dancer;
    dancer.model = "tubedancer.msk";
    dancer.triggerDistance = 10.0f;
    dancer.idle = {Dance(0)};
    dancer.entries = {Dance(-1)};
    dancer.exit = {Dance(0)};
    toolWritePropDefinition(data + "/tubedancer.prd", dancer);

    toolPropDefinition banner;
    banner.model = "banner.mx";
    banner.trackProp = true;
    banner.height = 0.5f;
    toolWritePropDefinition(data + "/banner.prd", banner);

    // The packs are written apart and then packed, so that no loose copy stands beside the pak.
    const fs::path staging = fs::temp_directory_path() / ("lvpacks" + std::to_string(::getpid()));
    fs::create_directories(staging);
    const std::vector<toolPropModel> models = toolIronvalePropModels();
    for (const Pack& pack : kPacks) {
        toolPropDefinition prop;
        prop.model = std::find_if(models.begin(), models.end(), [&](const toolPropModel& model) {
                         return model.prop == pack.prop;
                     })->file;
        prop.triggerDistance = 6.0f;
        if (std::string_view(pack.prop) == "windmill") {
            // The sails turn once now and then, and keep turning while a train passes.
            prop.idle = {Turn(0)};
            prop.entries = {Turn(-1)};
        }
        toolWritePropDefinition((staging / pack.file).string(), prop);
    }
    const auto entries = toolCollectPakEntries(staging.string());
    fs::remove_all(staging);
    fs::create_directories(fs::path(dataFolder) / "Data" / "Geom");
    toolWritePak((fs::path(dataFolder) / "Data" / "Geom" / "geom.pak").string(), entries);
}
