#include "Tools/World/toolThemeProps.h"

#include "Tools/World/toolPropWriter.h"

#include <filesystem>

namespace {

toolPropEvent Turn(const toolPropModel& model, i32 playCount) {
    toolPropEvent event;
    event.playCount = playCount;
    event.animation = model.animation;
    return event;
}

} // namespace

void toolWriteThemeProps(const std::string& dataFolder, const std::string& theme,
                         const std::vector<toolPropModel>& models) {
    const std::filesystem::path folder = std::filesystem::path(dataFolder) / "Themes" / theme;
    std::filesystem::create_directories(folder / "Model");
    for (const toolPropModel& model : models) {
        toolWritePropModel((folder / "Model").string(), model);
        toolPropDefinition prop;
        prop.model = model.file;
        if (!model.animation.empty()) {
            prop.triggerDistance = 10.0f;
            prop.idle = {Turn(model, 0)};
            prop.entries = {Turn(model, -1)};
        }
        toolWritePropDefinition((folder / "Data" / (model.prop + ".prd")).string(), prop);
    }
}
