#include "Source/Settings/coErrorLine.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/envUtf.h"

std::string coErrorLine(u32 package, u32 number) {
    const std::optional<envString> text = gfErrorHandler::FindText(package, number);
    if (!text)
        return {};
    std::string line = envStringToUtf8(*text);
    line.erase(line.find_last_not_of(" \n") + 1);
    return line;
}
