#include "Source/Screens/coScreenScript.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Source/Settings/coPaths.h"

#include <string>
#include <utility>

namespace {

constexpr u32 kScreenTextSet = 32;

// "<folder>/<script>" names a script in another folder than its own name's.
std::pair<std::string, std::string> Split(const char* name) {
    const std::string path(name);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {path, path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

fsLocator ScriptFile(const char* name) {
    const auto [folder, script] = Split(name);
    fsLocator file = coScreenScriptFolder(folder.c_str());
    file.AppendComponent((script + ".gsf").c_str());
    return file;
}

[[noreturn]] void Damaged(const char* name) {
    DBG_WARNING("The screen script \"%s\" is damaged", name);
    throw coScreenScriptX(ScriptFile(name));
}

} // namespace

fsLocator coScreenScriptFolder(const char* name) {
    fsLocator folder(coRootGui);
    folder.AppendComponent(name);
    return folder;
}

fsLocator coScreenTextSet(const char* fileName) {
    fsLocator file(coRootText);
    file.AppendComponent(fileName);
    return file;
}

void coLoadScreenScript(const char* name, const char* textSet, guiWindow* screen) {
    const auto [folderName, script] = Split(name);
    const fsLocator folder = coScreenScriptFolder(folderName.c_str());
    try {
        if (textSet)
            guiLoadScript(folder, envString(script.c_str()), coScreenTextSet(textSet), screen);
        else
            gprParserUtil::LoadScript(folder, envString(script.c_str()), screen);
    } catch (const chInvalidChunkX&) {
        Damaged(name);
    } catch (const gfInvalidFileBinX&) {
        Damaged(name);
    }
}

void coThrowMissingWidget(const char* script, const char* widget, const char* kind) {
    DBG_WARNING("The screen script \"%s\" has no %s named \"%s\"", script, kind, widget);
    throw coScreenScriptX(ScriptFile(script));
}

std::vector<envString> coReadTexts(const char* fileName) {
    const gfTextSet set(coScreenTextSet(fileName), kScreenTextSet, true);
    std::vector<envString> texts(set.GetTexts().size());
    for (u32 id = 0; id < texts.size(); ++id)
        texts[id] = set.GetText(id);
    return texts;
}

envString coTextOrEmpty(const std::vector<envString>& texts, u32 number, const char* fileName) {
    if (number < texts.size())
        return texts[number];
    DBG_WARNING("\"%s\" has no text %u; left empty", fileName, number);
    return envString();
}

void coShowWidget(guiWindow* widget, bool shown) {
    if (!widget)
        return;
    widget->SetVisible(shown);
    widget->SetEnabled(shown);
}
