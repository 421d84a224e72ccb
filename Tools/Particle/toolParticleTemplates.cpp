#include "Tools/Particle/toolParticleTemplates.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chReader.h"
#include "Tools/Chunk/toolChunkFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace {

constexpr u32 kTemplate = chMakeId('T', 'P', 'A', 'R');
constexpr u32 kGenerator = chMakeId('G', 'E', 'N', 'P');
constexpr u32 kDisplay = chMakeId('S', 'G', 'P', 'P');
constexpr u32 kParameters = chMakeId('P', 'A', 'R', 'P');
// The flame's frames: cells of 64 x 64, four to a row.
constexpr int kFlameCell = 64;
constexpr int kFlameColumns = 4;

i8 Count(size_t count, const char* what) {
    if (count > 127)
        throw std::length_error(std::string("more than 127 ") + what);
    return static_cast<i8>(count);
}

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

} // namespace

void toolWriteParticleTemplate(const std::string& path, const toolParticleTemplate& effect) {
    const i8 keys = Count(effect.alpha.size(), "alpha keys");
    const i8 parameters = Count(effect.parameters.size(), "parameters");
    const std::u16string texture(effect.texture.begin(), effect.texture.end());
    toolWriteChunkFile(path, [&](chBinWriter& writer) {
        writer.BeginChunk(kTemplate, 0, true);

        writer.BeginChunk(kGenerator, 0, true);
        writer.WriteInt8(effect.generatorType);
        writer.WriteInt8(effect.emitterType);
        writer.WriteFloat(effect.emitterSize.x);
        writer.WriteFloat(effect.emitterSize.y);
        writer.WriteFloat(effect.emitterSize.z);
        writer.EndChunk();

        writer.BeginChunk(kDisplay, 0, true);
        writer.WriteInt8(effect.growthMode);
        writer.WriteInt8(effect.frameMode);
        writer.WriteInt8(effect.lightingMode);
        writer.WriteString(texture.c_str());
        writer.WriteInt8(keys);
        for (const auto& [time, value] : effect.alpha) {
            writer.WriteFloat(time);
            writer.WriteFloat(value);
        }
        writer.EndChunk();

        writer.BeginChunk(kParameters, 0, true);
        writer.WriteInt8(parameters);
        for (float value : effect.parameters)
            writer.WriteFloat(value);
        writer.EndChunk();

        writer.EndChunk();
    });
}

toolParticleTemplate toolCoasterFlame() {
    toolParticleTemplate flame;
    flame.generatorType = 1;
    flame.emitterType = 2;
    flame.emitterSize = {0.3f, 0.3f, 0.3f};
    flame.growthMode = 0;
    flame.frameMode = 0;    // the frame follows the flame's age
    flame.lightingMode = 0; // flames give light, they do not take it
    flame.texture = "flame.tuv";
    flame.alpha = {{0.0f, 1.0f}, {1.0f, 0.0f}};
    flame.parameters = {
        0.4f,  0.7f,                            // life, seconds
        60.0f, 200.0f,                          // births a second, most alive
        0.6f,  -0.5f,                           // start size, shrinking a second
        -0.3f, 0.3f,   -0.8f, 0.8f, 0.0f, 0.0f, // the tongues stay near upright as they sway
        0.3f,  4.0f,   6.0f,                    // cone half-angle, speeds
        0.0f,  3.0f,   0.0f,                    // acceleration: the flames rise
    };
    return flame;
}

toolFlipBook toolFlameBook() {
    toolFlipBook book;
    book.frameCount = kFlameFrames;
    book.columns = kFlameColumns;
    book.rows = kFlameFrames / kFlameColumns;
    book.framesPerSecond = 16.0f;
    book.pages = {"flameflicker.png"};
    return book;
}

toolImage toolFlameFrames() {
    toolImage image{kFlameCell * kFlameColumns, kFlameCell * (kFlameFrames / kFlameColumns), 4, {}};
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4u);
    for (int frame = 0; frame < kFlameFrames; ++frame) {
        const float f = static_cast<float>(frame);
        const float age = (f + 0.5f) / kFlameFrames;
        const float lean = 0.35f * std::sin(f * 2.3f);
        const float reach = 1.3f - 0.45f * age + 0.15f * std::sin(f * 3.7f);
        const float width = 0.45f - 0.1f * age;
        const float cool = 1.0f - 0.6f * age;
        const int left = frame % kFlameColumns * kFlameCell, top = frame / kFlameColumns * kFlameCell;
        for (int y = 0; y < kFlameCell; ++y) {
            for (int x = 0; x < kFlameCell; ++x) {
                // A round body low in the cell and a tongue above it that narrows to its tip, bends by the
                // lean the more the higher it is, and ripples at its sides.
                const float up = 1.0f - (y + 0.5f) / kFlameCell * 2.0f;
                const float above = up + 0.45f;
                const float rise = std::clamp(above / reach, 0.0f, 1.0f);
                const float across = (x + 0.5f) / kFlameCell * 2.0f - 1.0f - lean * rise * rise +
                                     0.06f * rise * std::sin(above * 9.0f + f * 2.1f);
                const float half = width * (1.0f - 0.55f * rise);
                const float height = above > 0.0f ? reach : 0.45f;
                const float r =
                    std::sqrt(across * across / (half * half) + above * above / (height * height));
                const float heat = 1.0f - std::min(r, 1.0f);
                const float body = std::min(heat * 1.6f, 1.0f);
                u8* pixel = &image.pixels[(static_cast<size_t>(top + y) * static_cast<size_t>(image.width) +
                                           static_cast<size_t>(left + x)) *
                                          4u];
                pixel[0] = Byte(1.0f);
                pixel[1] = Byte((0.25f + heat * 1.2f) * cool);
                pixel[2] = Byte(heat * heat * 1.4f * cool);
                pixel[3] = Byte(body * body * (3.0f - 2.0f * body));
            }
        }
    }
    return image;
}

toolParticleTemplate toolFountainSpray() {
    toolParticleTemplate spray;
    spray.generatorType = 1;
    spray.emitterType = 2;
    spray.emitterSize = {0.05f, 0.05f, 0.05f};
    spray.growthMode = 0;
    spray.lightingMode = 0; // glinting water adds its light: lit by a sun behind it, it would read as smoke
    spray.texture = "drop.png";
    spray.alpha = {{0.0f, 0.8f}, {0.7f, 0.8f}, {1.0f, 0.0f}};
    spray.parameters = {
        0.8f,   0.86f,                          // life: up and back down to the water
        180.0f, 220.0f,                         // births a second, most alive
        0.08f,  0.0f,                           // size, no growth
        0.0f,   0.0f,   0.0f, 0.0f, 0.0f, 0.0f, // round drops do not turn
        0.5f,   3.1f,   3.4f,                   // cone half-angle, speeds
        0.0f,   -9.8f,  0.0f,                   // acceleration: gravity
    };
    return spray;
}

toolImage toolDropSprite() {
    constexpr int kSide = 32;
    toolImage image{kSide, kSide, 4, {}};
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const float dx = (x + 0.5f) / kSide * 2.0f - 1.0f, dy = (y + 0.5f) / kSide * 2.0f - 1.0f;
            const float core = 1.0f - std::min(std::sqrt(dx * dx + dy * dy), 1.0f);
            image.pixels.insert(image.pixels.end(), {Byte(0.55f + core * 0.6f), Byte(0.75f + core * 0.4f),
                                                     Byte(1.0f), Byte(std::sqrt(core) * 1.3f)});
        }
    }
    return image;
}

void toolWriteParticleEffects(const std::string& dataFolder) {
    const std::filesystem::path folder = std::filesystem::path(dataFolder) / "Data" / "Effects" / "Particle";
    std::filesystem::create_directories(folder);
    // The ride looks for the car flame's flip book beside the cars' textures of the theme.
    const std::filesystem::path theme = std::filesystem::path(dataFolder) / "Themes" / "Ironvale" / "Texture";
    std::filesystem::create_directories(theme);
    const toolFlipBook book = toolFlameBook();
    const toolImage frames = toolFlameFrames();
    for (const std::filesystem::path& at : {folder, theme}) {
        toolWriteFlipBook((at / "flame.tuv").string(), book);
        toolWritePng((at / book.pages[0]).string(), frames);
    }
    toolWriteParticleTemplate((folder / "coasterflame.tpr").string(), toolCoasterFlame());
    toolWritePng((folder / "drop.png").string(), toolDropSprite());
    toolWriteParticleTemplate((folder / "fountain.tpr").string(), toolFountainSpray());
}
