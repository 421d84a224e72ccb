// Environment files written by the generator read back through the game's reader.
#include "Tools/World/toolEnvironmentWriter.h"
#include "Engine/App/Fs/fsTestFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

TEST(toolEnvironmentWriterTest, WhatIsWrittenReadsBack) {
    toolEnvironment written;
    written.terrainModel = "hill.mx";
    written.extraTerrainModel = "cave.mx";
    written.sky = {"sky1.mx", "", 0.25f, -0.5f, false, true};
    written.grid = {-100, 120, -80, 90, 44, -2, 15.0f};
    written.background = {0.2f, 0.4f, 0.6f};
    written.ambient = {0.1f, 0.1f, 0.3f};
    written.startPosition = {5, 1, -5};
    written.pointLights = {{1, 0.5f, 0, 10, 20, 30}, {0, 0, 1, -1, -2, -3}};
    written.directionalLights = {{1, 1, 1, 0, -1, 0}};
    written.fog = {1, 0.5f, 0.5f, 0.5f, 10, 300, 0.01f};
    written.lensFlare.sun = {800, 900, 1000};
    written.lensFlare.elements = {{"flare.png", 0.5f, 2.0f}, {"halo.png", 1.0f, 0.5f}};
    written.shadowMode = 2;
    fsTestFolder folder;
    toolWriteEnvironment(folder.Path("1.end"), written);

    toolEnvironment read;
    read.sky.layer2Model = "stale.mx";
    coReadEnvironmentFile(folder.Locator("1.end"), read.pointLights, read.directionalLights, read.ambient,
                          read.terrainModel, read.extraTerrainModel, read.startPosition, read.sky, read.grid,
                          read.background, read.fog, read.lensFlare, read.shadowMode);
    EXPECT_EQ(
        std::tuple(read.extraTerrainModel, read.sky.layer2Model.GetLength(), read.fog.end, read.shadowMode),
        std::tuple(written.extraTerrainModel, 0u, 300.0f, 2));
    EXPECT_TRUE(!read.sky.staticSky && read.sky.flatSky && read.sky.layer2Rate == -0.5f);
    EXPECT_TRUE(read.grid.cellsZ == -2 && read.grid.height == 15.0f);
    EXPECT_TRUE(read.startPosition.z == -5.0f && read.background.z == 0.6f);
    EXPECT_TRUE(read.pointLights.size() == 2 && read.directionalLights.size() == 1);
    ASSERT_EQ(read.lensFlare.elements.size(), 2u);
    EXPECT_EQ(read.lensFlare.elements[1].texture, envString("halo.png"));

    written.grid.cellsX = 40000;
    EXPECT_THROW(toolWriteEnvironment(folder.Path("2.end"), written), std::out_of_range);
}

} // namespace
