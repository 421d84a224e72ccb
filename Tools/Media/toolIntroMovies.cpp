#include "Tools/Media/toolIntroMovies.h"

#include "Engine/Platform/Graphics/plFontRasterizer.h"
#include "Tools/Image/toolModelPictures.h"
#include "Tools/Image/toolTitleLettering.h"
#include "Tools/Sound/toolSoundSynth.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using Colour = std::array<float, 3>;

constexpr int kWidth = static_cast<int>(toolMovieWidth);
constexpr int kHeight = static_cast<int>(toolMovieHeight);
// The fades' length at each end, in seconds.
constexpr float kFade = 0.4f;

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

// Top to bottom from one colour to the other (0 to 255 a channel).
toolImage Gradient(Colour top, Colour bottom) {
    toolImage image{kWidth, kHeight, 3, {}};
    image.pixels.reserve(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        const float t = static_cast<float>(y) / (kHeight - 1);
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c)
                image.pixels.push_back(Byte(top[c] + (bottom[c] - top[c]) * t));
    }
    return image;
}

// The text centred across the card with its cell's top at y, in the colour, its strokes drawn `weight`
// times a pixel apart; the shadow falls further under larger letters.
void Letter(toolImage& card, plFontRasterizer& fonts, std::u16string_view text, int cell, int y,
            Colour colour, int weight) {
    toolLetterTitle(card, fonts, text, {cell, colour, weight, std::max(cell / 24, 2), 0.6f}, 0, kWidth, y,
                    Byte);
}

void AddBox(std::vector<toolShadedTriangle>& out, const maVector3d& low, const maVector3d& high,
            Colour colour) {
    const maVector3d c[8] = {{low.x, low.y, low.z},    {high.x, low.y, low.z}, {high.x, high.y, low.z},
                             {low.x, high.y, low.z},   {low.x, low.y, high.z}, {high.x, low.y, high.z},
                             {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7},
                             {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
    for (const auto& f : faces) {
        out.push_back({{c[f[0]], c[f[1]], c[f[2]]}, colour});
        out.push_back({{c[f[0]], c[f[2]], c[f[3]]}, colour});
    }
}

// A round rail's outline across the track, centred at x.
toolTrackSection Rail(float x, Colour colour) {
    toolTrackSection rail{{}, colour};
    for (int i = 0; i <= 8; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / 8.0f;
        rail.outline.push_back({x + 0.1f * std::cos(angle), 0.1f * std::sin(angle)});
    }
    return rail;
}

std::vector<i16> Mix(const std::vector<i16>& a, const std::vector<i16>& b) {
    std::vector<i16> out(std::max(a.size(), b.size()));
    for (size_t i = 0; i < out.size(); ++i) {
        const int sum = (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        out[i] = static_cast<i16>(std::clamp(sum, -32768, 32767));
    }
    return out;
}

std::vector<toolShadedTriangle> ReadCar(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("no car model " + file.string());
    const std::vector<u8> bytes{std::istreambuf_iterator<char>(in), {}};
    return toolShadeModel(toolReadModelTriangles(bytes), [](const std::string&) { return Colour{1, 1, 1}; });
}

void Write(const fs::path& path, const plMovieContent& movie) {
    fs::create_directories(path.parent_path());
    if (!plWriteMovieFile(path.string(), movie))
        throw std::runtime_error("could not write " + path.string());
}

} // namespace

plMovieContent toolTitleCardMovie(const toolImage& card, const std::vector<i16>& sound) {
    plMovieContent movie;
    movie.width = toolMovieWidth;
    movie.height = toolMovieHeight;
    movie.frameRate = toolMovieFrameRate;
    const u32 count = static_cast<u32>(std::lround(toolMovieSeconds * toolMovieFrameRate));
    for (u32 i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / toolMovieFrameRate;
        const float light =
            std::clamp(std::min(t, toolMovieSeconds - t - 1.0f / toolMovieFrameRate) / kFade, 0.0f, 1.0f);
        std::vector<u8> frame;
        frame.reserve(static_cast<size_t>(toolMovieWidth) * toolMovieHeight * 4);
        for (size_t p = 0; p + 2 < card.pixels.size(); p += 3) {
            for (int c = 0; c < 3; ++c)
                frame.push_back(Byte(static_cast<float>(card.pixels[p + c]) * light));
            frame.push_back(255);
        }
        movie.frames.push_back(std::move(frame));
    }
    movie.audioRate = toolSampleRate;
    movie.audioChannels = 1;
    movie.audio = sound;
    movie.audio.resize(static_cast<size_t>(toolMovieSeconds * toolSampleRate), 0);
    return movie;
}

toolImage toolMakerCard(plFontRasterizer& fonts) {
    toolImage card = Gradient({14, 22, 52}, {4, 8, 22});
    Letter(card, fonts, u"Zandrel", 96, 190, {236, 232, 220}, 3);
    Letter(card, fonts, u"Trackwrighting", 56, 318, {224, 186, 96}, 2);
    // A gold rule between the two words.
    for (int y = 302; y < 306; ++y)
        for (int x = 250; x < 550; ++x)
            for (int c = 0; c < 3; ++c)
                card.pixels[(static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 3 + c] =
                    std::array<u8, 3>{224, 186, 96}[c];
    return card;
}

toolImage toolGameCard(plFontRasterizer& fonts, const std::vector<toolShadedTriangle>& leadCar,
                       const std::vector<toolShadedTriangle>& follower) {
    toolImage card = Gradient({70, 120, 200}, {215, 230, 242});
    const Colour red{0.85f, 0.16f, 0.12f};
    std::vector<toolShadedTriangle> crossbar;
    AddBox(crossbar, {-0.65f, -0.16f, -0.08f}, {0.65f, -0.06f, 0.08f}, {0.35f, 0.35f, 0.4f});
    std::vector<toolShadedTriangle> scene =
        toolTrackStretch({Rail(-0.6f, red), Rail(0.6f, red)}, crossbar, 0.8f, leadCar, follower);
    const Colour lawn{0.36f, 0.6f, 0.28f};
    scene.push_back({{{-300, 0, -300}, {300, 0, -300}, {300, 0, 300}}, lawn});
    scene.push_back({{{-300, 0, -300}, {300, 0, 300}, {-300, 0, 300}}, lawn});
    toolCamera camera;
    camera.target = {14.0f, 4.0f, 0.0f};
    camera.eye = {10.0f, 3.5f, 15.0f};
    camera.fieldOfView = 0.75f;
    toolCompose(card, toolRasterise(scene, camera, kWidth, kHeight, 3));
    Letter(card, fonts, u"Loopvane", 132, 36, {255, 240, 200}, 4);
    return card;
}

void toolWriteIntroMovies(const std::string& dataFolder, plFontRasterizer& fonts) {
    const fs::path data(dataFolder);
    const fs::path cars = data / "Themes" / "Ironvale" / "Tracks" / "Steel" / "Model";
    const fs::path video = data / "Data" / "Video";
    const std::vector<i16> chime = Mix(toolSynthesize({toolSoundKind::Tone, 660.0f, 1.6f, false}, 1),
                                       toolSynthesize({toolSoundKind::Tone, 990.0f, 1.2f, false}, 2));
    Write(video / "zandrel.avi", toolTitleCardMovie(toolMakerCard(fonts), chime));
    const toolImage game = toolGameCard(fonts, ReadCar(cars / "carlead.mx"), ReadCar(cars / "carfoll.mx"));
    Write(video / "brisomar.avi",
          toolTitleCardMovie(game, toolSynthesize({toolSoundKind::Melody, 262.0f, 2.2f, false}, 3)));
}
