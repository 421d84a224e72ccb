#include "Tools/Model/toolDefaultModels.h"
#include "Tools/Model/toolCarModels.h"

#include <filesystem>

std::vector<toolDefaultModel> toolDefaultModels() {
    // A grey steel tie under the rails (which run 0.6 to either side), reaching down to the spine.
    toolModelMaterial steel;
    steel.diffuse = {0.55f, 0.55f, 0.6f, 1.0f};
    steel.ambient = {0.4f, 0.4f, 0.45f, 1.0f};
    steel.specular = {0.8f, 0.8f, 0.8f, 1.0f};
    steel.power = 16.0f;
    // The supports: a pole one unit tall, stretched along each segment; a portal's beam between its legs,
    // at the attachment height 2 over the track, across x (towards the +x leg); the half beam to the -x
    // side, which is turned to the leg that stands.
    toolModelMaterial support = steel;
    support.diffuse = {0.5f, 0.52f, 0.58f, 1.0f};
    std::vector<toolDefaultModel> models = {
        {"Tracks/Steel/crossbar.mx", {toolMakeBox({1.3f, 0.12f, 0.15f}, {0.0f, -0.16f, 0.0f}, steel)}},
        {"Tracks/Steel/pole.mx", {toolMakeCylinder(0.25f, 1.0f, 8, support)}},
        {"Tracks/Steel/joint.mx", {toolMakeBox({8.0f, 0.35f, 0.35f}, {0.0f, 2.0f, 0.0f}, support)}},
        {"Tracks/Steel/halfjoint.mx", {toolMakeBox({4.0f, 0.35f, 0.35f}, {-2.0f, 2.0f, 0.0f}, support)}},
    };
    // The default theme's train for both types, so that a coaster of either can be ridden: polished steel
    // trim on the steel type's cars, varnished timber on the wooden type's.
    toolModelMaterial steelTrim = steel;
    steelTrim.diffuse = {0.8f, 0.82f, 0.86f, 1.0f};
    toolModelMaterial timberTrim;
    timberTrim.diffuse = {0.6f, 0.4f, 0.2f, 1.0f};
    timberTrim.ambient = {0.45f, 0.3f, 0.15f, 1.0f};
    timberTrim.specular = {0.4f, 0.4f, 0.4f, 1.0f};
    timberTrim.power = 12.0f;
    for (const auto& [type, trim] :
         {std::pair<std::string, toolModelMaterial>{"Steel", steelTrim}, {"Wooden", timberTrim}}) {
        const std::string folder = "Themes/Ironvale/Tracks/" + type + "/Model/";
        models.push_back({folder + "carlead.mx", {toolMakeCar(true, trim)}});
        models.push_back({folder + "carfoll.mx", {toolMakeCar(false, trim)}});
    }
    return models;
}

void toolWriteDefaultModels(const std::string& dataFolder) {
    for (const toolDefaultModel& model : toolDefaultModels()) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / model.path;
        std::filesystem::create_directories(path.parent_path());
        toolWriteStaticModel(path.string(), model.fragments);
    }
}

void toolWriteWoodenModels(const std::string& woodenFolder) {
    // A timber tie under the plank deck (0.3 deep, 2 wide), wider than the deck so that it shows.
    toolModelMaterial timber;
    timber.diffuse = {0.55f, 0.4f, 0.25f, 1.0f};
    timber.ambient = {0.35f, 0.27f, 0.18f, 1.0f};
    std::filesystem::create_directories(woodenFolder);
    toolWriteStaticModel((std::filesystem::path(woodenFolder) / "crossbar.mx").string(),
                         {toolMakeBox({2.4f, 0.2f, 0.3f}, {0.0f, -0.4f, 0.0f}, timber)});
}
