// Writes the shipped colour schemes of the coaster types, "TrkColor.def" under the environment's
// "Tracks" folder, through the game's own writer. Usage: lvTrackColorWriter <data folder>
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

coSchemeMaterial Record(float r, float g, float b, const char* texture = "") {
    coSchemeMaterial record;
    record.ambient = g3dARGBColor(r * 0.5f, g * 0.5f, b * 0.5f, 1.0f);
    record.diffuse = g3dARGBColor(r, g, b, 1.0f);
    record.specular = g3dARGBColor(0.6f, 0.6f, 0.6f, 1.0f);
    record.power = 16.0f;
    record.texture = texture;
    return record;
}

// Rail, spine and crossbars, then supports.
coColorScheme Scheme(const coSchemeMaterial& rail, const coSchemeMaterial& center,
                     const coSchemeMaterial& crossbar, const coSchemeMaterial& support) {
    return {{"Rail", rail}, {"Center", center}, {"Crossbar", crossbar}, {"Support", support}};
}

// The same schemes in every shipped environment.
void Write(const std::string& dataFolder, const char* type, const std::vector<coColorScheme>& schemes) {
    for (const char* environment : {"Mountain", "cavern"}) {
        const std::filesystem::path folder =
            std::filesystem::path(dataFolder) / "Environments" / environment / "Tracks" / type;
        std::filesystem::create_directories(folder);
        fsLocator file;
        fsLocatorFromNativePath((folder / coTrackColorFileName).c_str(), file);
        coTrackColorizer::AssignSchemes(schemes);
        saveColorSchemes(file);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    try {
        // Steel: its shipped look with textured rails, then red over white, then green over grey.
        Write(argv[1], "Steel",
              {Scheme(Record(0.75f, 0.75f, 0.8f, "rail.png"), Record(0.55f, 0.55f, 0.6f),
                      Record(0.55f, 0.55f, 0.6f), Record(0.6f, 0.62f, 0.68f)),
               Scheme(Record(0.85f, 0.1f, 0.1f), Record(0.85f, 0.1f, 0.1f), Record(0.9f, 0.9f, 0.9f),
                      Record(0.9f, 0.9f, 0.9f)),
               Scheme(Record(0.1f, 0.7f, 0.2f), Record(0.1f, 0.7f, 0.2f), Record(0.5f, 0.5f, 0.5f),
                      Record(0.5f, 0.5f, 0.5f))});
        // Wooden: bare timber, white paint, dark stain; the deck keeps its planks and the trestles their
        // lattice (an untextured trestle would be a solid wall).
        Write(argv[1], "Wooden",
              {Scheme(Record(0.7f, 0.7f, 0.72f, "rail.png"), Record(0.6f, 0.45f, 0.3f, "deck.png"),
                      Record(0.6f, 0.45f, 0.3f), Record(0.75f, 0.6f, 0.45f, "lattice.png")),
               Scheme(Record(0.7f, 0.7f, 0.72f), Record(0.9f, 0.9f, 0.88f, "deck.png"),
                      Record(0.9f, 0.9f, 0.88f), Record(0.9f, 0.9f, 0.88f, "lattice.png")),
               Scheme(Record(0.7f, 0.7f, 0.72f), Record(0.35f, 0.22f, 0.12f, "deck.png"),
                      Record(0.35f, 0.22f, 0.12f), Record(0.35f, 0.22f, 0.12f, "lattice.png"))});
    } catch (const envExceptionX& error) {
        std::fprintf(stderr, "%s: cannot write the colour schemes (0x%08X)\n", argv[0], error.GetCode());
        return 1;
    }
    return 0;
}
