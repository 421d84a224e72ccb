#include "Tools/World/toolIronvaleProps.h"

#include "Tools/Image/toolPngWriter.h"
#include "Tools/Model/toolAnimatedModels.h"
#include "Tools/Model/toolModelWriter.h"
#include "Tools/Pak/toolPakWriter.h"
#include "Tools/Particle/toolParticleTemplates.h"
#include "Tools/Sound/toolSoundSynth.h"
#include "Tools/World/toolPropWriter.h"

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The pack files and what each becomes: a prop over one of the theme's own models.
struct Pack {
    const char* file;
    const char* model;
    float height;
};
constexpr Pack kPacks[] = {
    {"pack00.prd", "bench.mx", 0.0f},     {"pack01.prd", "banner.mx", 0.0f},
    {"pack02.prd", "bench.mx", 0.5f},     {"pack03.prd", "bench.mx", 0.0f},
    {"pack04.prd", "banner.mx", 0.0f},    {"pack05.prd", "bench.mx", 0.0f},
    {"pack06.prd", "banner.mx", 1.0f},    {"pack07.prd", "banner.mx", 0.0f},
    {"pack08.prd", "fountain.mhx", 0.0f}, {"pack09.prd", "banner.mx", 2.0f},
    {"pack10.prd", "bench.mx", 0.0f},
};

toolModelMaterial Textured(const char* texture) {
    toolModelMaterial material;
    material.textures = {texture};
    return material;
}

toolImage Planks() {
    toolImage image{16, 16, 3, {}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const u8 shade = static_cast<u8>(y % 4 == 0 ? 90 : 140 + x * 3);
            image.pixels.insert(image.pixels.end(), {shade, static_cast<u8>(shade * 3 / 4), 60});
        }
    return image;
}

toolImage Cloth() {
    toolImage image{8, 8, 3, {}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.pixels.insert(image.pixels.end(), {200, static_cast<u8>(40 + y * 20), 40});
    return image;
}

toolPropEvent Sway(i32 playCount) {
    toolPropEvent event;
    event.playCount = playCount;
    event.animation = "fountainsway.mx";
    event.particles.push_back({"coasterflame.tpr", "", 1, 1.5f, {0, 1.6f, 0}, {0, 1, 0}});
    event.sounds.push_back({"splash.wav", "", 0, true, 0.8f, 1.0f, 5.0f, 60.0f});
    event.sounds.push_back({"chime.wav", "", 2, false, 1.0f, 1.2f, 5.0f, 60.0f});
    return event;
}

} // namespace

void toolWriteIronvaleProps(const std::string& dataFolder) {
    const fs::path theme = fs::path(dataFolder) / "Themes" / "Ironvale";
    for (const char* folder : {"Data", "Model", "Texture", "Sound"})
        fs::create_directories(theme / folder);

    const std::string model = (theme / "Model").string();
    toolWriteStaticModel(model + "/bench.mx",
                         {toolMakeBox({2.0f, 0.1f, 0.5f}, {0, 0.5f, 0}, Textured("planks.png")),
                          toolMakeBox({0.1f, 0.5f, 0.5f}, {-0.9f, 0.25f, 0}, Textured("planks.png")),
                          toolMakeBox({0.1f, 0.5f, 0.5f}, {0.9f, 0.25f, 0}, Textured("planks.png"))});
    toolWriteStaticModel(model + "/banner.mx",
                         {toolMakeBox({0.2f, 4.0f, 0.2f}, {-2, 2, 0}, toolModelMaterial{}),
                          toolMakeBox({0.2f, 4.0f, 0.2f}, {2, 2, 0}, toolModelMaterial{}),
                          toolMakeBox({4.0f, 1.0f, 0.05f}, {0, 3.4f, 0}, Textured("cloth.png"))});
    toolWriteFountainModels(model);
    toolWritePng((theme / "Texture" / "planks.png").string(), Planks());
    toolWritePng((theme / "Texture" / "cloth.png").string(), Cloth());
    toolWriteFile((theme / "Sound" / "splash.wav").string(),
                  toolBuildWave(toolSynthesize({toolSoundKind::Noise, 2000.0f, 1.0f, true}, 7)));
    toolWriteFile((theme / "Sound" / "chime.wav").string(),
                  toolBuildWave(toolSynthesize({toolSoundKind::Tone, 880.0f, 0.6f, false}, 1)));

    // Particle cues of props take their sprites from the effects' "Texture" folder.
    const fs::path sprites = fs::path(dataFolder) / "Data" / "Effects" / "Texture";
    fs::create_directories(sprites);
    toolWritePng((sprites / toolCoasterFlame().texture).string(), toolFlameSprite());

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

    toolPropDefinition banner;
    banner.model = "banner.mx";
    banner.trackProp = true;
    banner.height = 0.5f;
    toolWritePropDefinition(data + "/banner.prd", banner);

    // The packs are written apart and then packed, so that no loose copy stands beside the pak.
    const fs::path staging = fs::temp_directory_path() / ("lvpacks" + std::to_string(::getpid()));
    fs::create_directories(staging);
    for (const Pack& pack : kPacks) {
        toolPropDefinition prop;
        prop.model = pack.model;
        prop.height = pack.height;
        prop.triggerDistance = 6.0f;
        toolWritePropDefinition((staging / pack.file).string(), prop);
    }
    const auto entries = toolCollectPakEntries(staging.string());
    fs::remove_all(staging);
    fs::create_directories(fs::path(dataFolder) / "Data" / "Geom");
    toolWritePak((fs::path(dataFolder) / "Data" / "Geom" / "geom.pak").string(), entries);
}
