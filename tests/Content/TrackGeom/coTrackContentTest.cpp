#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/May/mayGeometry.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coSupportDefinitionReader.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

namespace {

const std::filesystem::path kTracks = LV_DATA_DIR "/Tracks";

// Records every file a definition names instead of loading it.
struct NamedFiles : coTextureCache, coModelHolderLoader {
    NamedFiles() {
        coSetTextureCache(this);
        coSetModelHolderLoader(this);
    }
    ~NamedFiles() override {
        coSetTextureCache(nullptr);
        coSetModelHolderLoader(nullptr);
    }
    g3dTexture* Acquire(const fsLocator& locator) override {
        files.push_back(locator);
        return nullptr;
    }
    std::unique_ptr<coModelHolder> Load(const fsLocator& model, const fsLocator&, bool) override {
        files.push_back(model);
        return std::make_unique<coModelHolder>();
    }
    std::vector<fsLocator> files;
};

// Every line's first token, and the token after each boolean key.
void CheckCoasterText(const std::string& text, const std::filesystem::path& path) {
    const std::set<std::string> booleans = {"Inverted", "AllowInvertPieces", "NeedsShadow", "InvertStation",
                                            "WoodSupports"};
    std::set<std::string> named;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream tokens(line);
        std::string key, value;
        tokens >> key >> value;
        named.insert(key);
        if (booleans.count(key)) {
            EXPECT_TRUE(value == "0" || value == "1") << path << ": " << line;
        }
    }
    for (const char* key : {"Inverted", "AllowInvertPieces", "NeedsShadow", "InvertStation", "WoodSupports",
                            "EyePosition", "CloseEyePosition", "TetherOffset", "Extrusion", "PickPathRadius",
                            "InitialPosition", "NumCars", "CarSeparation", "RailHeight", "TerrainOffset",
                            "CameraPitch", "CameraShake", "CameraSlide", "ExtrusionPolygon"})
        EXPECT_TRUE(named.count(key)) << path << " does not name " << key;
}

} // namespace

// Each shipped definition reads without a warning through the game's readers, and every file it names
// is in its coaster type's folder under that exact name (the game would find other cases too).
TEST(coTrackContent, EveryShippedDefinitionReads) {
    const coCoasterDefinition saved = coCoasterDefinitionStore();
    fsLocator tracks;
    fsLocatorFromNativePath(kTracks.c_str(), tracks);
    int definitions = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kTracks)) {
        if (entry.path().extension() != ".def")
            continue;
        ++definitions;
        fsResetRootTable();
        fsAddRootDirectory(coRootTracks, tracks);
        coCoasterDefinitionStore().SetCoasterTypeName(entry.path().parent_path().filename().string());
        dbgLogCapture log;
        NamedFiles named;
        const std::string file = entry.path().filename().string();
        if (file == "Coaster.def") {
            coCoasterDefinitionStore().Load(file);
            std::ifstream in(entry.path());
            CheckCoasterText(std::string(std::istreambuf_iterator<char>(in), {}), entry.path());
        } else if (file == "Track.def") {
            coLoadTrackDefinition(file);
            EXPECT_FALSE(named.files.empty());
        } else if (file == "Support.def") {
            coSupportMakerPole maker;
            coLoadSupportDefinition(file, maker);
            EXPECT_FALSE(maker.GetPoles().empty());
            EXPECT_FALSE(named.files.empty());
        } else {
            ADD_FAILURE() << entry.path() << " is a definition no test reads";
        }
        EXPECT_TRUE(log.lines.empty()) << entry.path() << ": " << (log.lines.empty() ? "" : log.lines[0]);
        for (const fsLocator& locator : named.files) {
            std::string relative;
            fsLocatorToNativePath(locator, relative);
            EXPECT_TRUE(std::filesystem::is_regular_file(kTracks / relative))
                << entry.path() << " names " << relative;
        }
    }
    EXPECT_GE(definitions, 3);
    coFreeTrackDefinition();
    coCoasterDefinitionStore() = saved;
    fsResetRootTable();
}

namespace {

// The one fragment of a generated static model, through the model geometry reader.
mayMesh ReadModel(const char* name) {
    fsLocator model;
    fsLocatorFromNativePath((kTracks / "Steel" / name).c_str(), model);
    gfFile file(model, gfFileRead);
    file.ReadBinHeader(nullptr);
    chBinReader reader(&file);
    u32 id = 0, size = 0;
    u16 version = 0;
    mayMesh mesh;
    EXPECT_TRUE(reader.BeginChunk(&id, &version, &size)) << name;
    mayReadGeometry(reader, version, size, mesh, false);
    reader.EndChunk();
    EXPECT_FALSE(reader.BeginChunk(&id, &version, &size)) << name;
    return mesh;
}

} // namespace

// The crossbar and the support models are one fragment of one material each; the pole stands one unit
// tall on its lower end. The section textures are RGB PNGs but for the chain's RGBA.
TEST(coTrackContent, SteelModelsAndTextures) {
    const mayMesh box = ReadModel("crossbar.mx");
    // A vertex per face corner.
    EXPECT_EQ(std::tuple(box.positions.size(), box.uvs.size(), box.indices.size()),
              std::tuple(24u, 24u, 36u));
    ASSERT_EQ(box.materials.size(), 1u);
    EXPECT_TRUE(box.materials[0].material->IsSpecularEnabled());
    for (const char* name : {"joint.mx", "halfjoint.mx"})
        EXPECT_EQ(ReadModel(name).indices.size(), 36u) << name;
    const mayMesh pole = ReadModel("pole.mx");
    EXPECT_EQ(pole.indices.size(), 48u); // 8 sides, open ends
    maBoundingBox bounds;
    for (const maVector3d& position : pole.positions)
        bounds.AddPoint(position);
    EXPECT_NEAR(bounds.minY, 0.0f, 1e-6f);
    EXPECT_NEAR(bounds.maxY, 1.0f, 1e-6f);

    int textures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kTracks / "Steel")) {
        // The choice faces of the new-coaster dialog ("uiccbn_*") are the screens' own.
        if (entry.path().extension() != ".png" || entry.path().filename().string().rfind("uiccbn", 0) == 0)
            continue;
        ++textures;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string header(26, '\0');
        in.read(header.data(), 26);
        const int colourType = static_cast<u8>(header[25]); // in IHDR: 2 RGB, 6 RGBA
        EXPECT_EQ(colourType, entry.path().filename() == "chain.png" ? 6 : 2) << entry.path();
    }
    EXPECT_EQ(textures, 8);

    // The shadow's fade lives in its alpha.
    std::ifstream shadow(LV_DATA_DIR "/Environments/shadow.png", std::ios::binary);
    std::string header(26, '\0');
    shadow.read(header.data(), 26);
    EXPECT_EQ(static_cast<u8>(header[25]), 6);
}
