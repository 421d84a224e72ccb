#include "Tools/Image/toolModelPictures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Tools/Model/toolPropModels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

namespace {

std::vector<u8> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

toolModelMaterial Coloured(float r, float g, float b) {
    toolModelMaterial material;
    material.diffuse = {r, g, b, 1.0f};
    return material;
}

size_t Colours(const toolImage& image) {
    std::set<std::vector<u8>> colours;
    for (size_t i = 0; i < image.pixels.size(); i += image.channels)
        colours.insert({image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]});
    return colours.size();
}

float MeanLight(const toolImage& image) {
    double sum = 0.0;
    for (size_t i = 0; i < image.pixels.size(); i += image.channels)
        sum += 0.3 * image.pixels[i] + 0.59 * image.pixels[i + 1] + 0.11 * image.pixels[i + 2];
    return static_cast<float>(sum / (image.pixels.size() / image.channels));
}

} // namespace

// Models written by the model writers read back as placed, coloured triangles; cut short anywhere they
// throw rather than crash.
TEST(toolModelPictures, ModelsReadBackWithTheirPlacesAndMaterials) {
    fsTestFolder folder;
    toolWriteStaticModel(folder.Path("table.mx"),
                         {toolMakeBox({2.0f, 0.2f, 1.0f}, {0, 1, 0}, Coloured(0.6f, 0.3f, 0.1f)),
                          toolMakeBox({0.2f, 1.0f, 0.2f}, {0, 0.5f, 0}, Coloured(0.2f, 0.2f, 0.8f))});
    const std::vector<u8> table = ReadBytes(folder.Path("table.mx"));
    const toolModelTriangles read = toolReadModelTriangles(table);
    ASSERT_EQ(read.triangles.size(), 24u);
    ASSERT_EQ(read.materials.size(), 2u);
    EXPECT_FLOAT_EQ(read.materials[1].diffuse[2], 0.8f);
    EXPECT_FLOAT_EQ(read.triangles[0].corners[0].y, 0.9f);
    // The fountain's nozzle stands on its joint, 1.57 over the basin's foot: its top is at 1.71.
    toolWriteIronvalePropModels(folder.Path());
    float top = 0.0f;
    for (const auto& triangle : toolReadModelTriangles(ReadBytes(folder.Path("fountain.mhx"))).triangles)
        for (const maVector3d& corner : triangle.corners)
            top = std::max(top, corner.y);
    EXPECT_NEAR(top, 1.71f, 1e-5f);
    for (size_t size = 0; size < table.size(); size += 7)
        try {
            toolReadModelTriangles(std::span<const u8>(table).first(size));
        } catch (const std::runtime_error&) {
        }
}

// An icon shows its object shaded, in the middle of the picture; a choice face's chosen look is lit at
// least as brightly as its idle one.
TEST(toolModelPictures, IconsShowTheirObjectAndTheChosenFaceIsLit) {
    fsTestFolder folder;
    toolWriteStaticModel(folder.Path("post.mx"),
                         {toolMakeBox({1, 2, 1}, {5, 1, 3}, Coloured(0.7f, 0.2f, 0.2f))});
    const toolModelTriangles model = toolReadModelTriangles(ReadBytes(folder.Path("post.mx")));
    const std::vector<toolShadedTriangle> object = toolShadeModel(model, [](const std::string&) {
        return std::array<float, 3>{1, 1, 1};
    });
    const toolImage icon = toolObjectIcon(object);
    ASSERT_EQ(icon.width, 32);
    // The backdrop's corner colour tells the object's pixels: red outweighs the other channels there.
    double sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) {
            const u8* pixel = &icon.pixels[(static_cast<size_t>(y) * icon.width + x) * icon.channels];
            EXPECT_EQ(pixel[3], 255);
            if (pixel[0] > pixel[1] + 40)
                sumX += x, sumY += y, ++count;
        }
    ASSERT_GT(count, 60);
    EXPECT_NEAR(sumX / count, 15.5, 2.0);
    EXPECT_NEAR(sumY / count, 15.5, 2.0);
    EXPECT_GE(Colours(icon), 8u);

    const std::vector<toolShadedTriangle> stretch = toolTrackStretch(
        {{{{-0.6f, 0}, {-0.5f, 0.1f}, {-0.6f, 0}}, {0.7f, 0.7f, 0.8f}}}, object, 2.0f, object, object);
    const std::vector<toolImage> looks = toolChoiceLooks(toolTrackTypeView(stretch));
    ASSERT_EQ(looks.size(), 3u);
    EXPECT_GE(Colours(looks[0]), 20u);
    EXPECT_GT(MeanLight(looks[1]), MeanLight(looks[0]));
    EXPECT_GT(MeanLight(looks[2]), MeanLight(looks[0]));
}
