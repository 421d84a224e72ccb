// Writes the props of the default themes and the prop packs under a data folder:
//   lvPropGenerator <data folder>
#include "Engine/Core/Env/envExceptionX.h"
#include "Tools/World/toolEnvironmentProps.h"
#include "Tools/World/toolIronvaleProps.h"
#include "Tools/World/toolThemeProps.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvPropGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteIronvaleProps(argv[1]);
        toolWriteEnvironmentProps(argv[1]);
        for (const toolPropTheme& theme : toolLeadingPropThemes())
            toolWriteThemeProps(argv[1], theme.folder, theme.models);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvPropGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvPropGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
