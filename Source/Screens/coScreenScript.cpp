#include "Source/Screens/coScreenScript.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"

#include <algorithm>
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

// The box that a text's widest state fills: its fields side by side from their offsets, in their fonts.
std::pair<i32, i32> TextExtent(const guiText& text) {
    u32 width = 0, height = 0;
    for (i32 state = guiStateIdle; state < 2 * guiCheckbox::kCheckedStates; ++state) {
        const guiTextRecord* record = text.FindRecord(state);
        if (!record)
            continue;
        for (size_t field = 0; field < record->fields.size(); ++field) {
            u32 w = 0, h = 0;
            g2dFont::MeasureText(record->fonts[field], record->fields[field], w, h);
            width = std::max(width, static_cast<u32>(std::max(record->offsets[field], 0)) + w);
            height = std::max(height, h);
        }
    }
    return {static_cast<i32>(width), static_cast<i32>(height)};
}

// Grows a centred length to the parity of the length it is centred in, so it lands on whole pixels.
i32 OnWholePixels(i32 length, i32 within, bool centred) {
    return centred && (within - length) % 2 != 0 ? length + 1 : length;
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
        // A text set cut inside its header is damaged itself, not the script that names it.
        if (textSet && coIsDamageOf(std::current_exception(), coScreenTextSet(textSet)))
            throw;
        Damaged(name);
    }
    coFitCaptions(screen);
}

void coFitCaption(guiButton* button) {
    guiText* text = button ? button->GetText() : nullptr;
    if (!text)
        return;
    i32 horizontal = 0, vertical = 0;
    text->GetJustification(horizontal, vertical);
    if (horizontal != guiJustifyCenter && vertical != guiJustifyCenter)
        return;
    i32 buttonWidth = 0, buttonHeight = 0, textureWidth = 0, textureHeight = 0;
    button->GetSize(buttonWidth, buttonHeight);
    text->GetTextureSize(textureWidth, textureHeight);
    const auto [inkWidth, inkHeight] = TextExtent(*text);
    const i32 width = std::min(
        OnWholePixels(std::max(inkWidth, 1), buttonWidth, horizontal == guiJustifyCenter), textureWidth);
    const i32 height = std::min(
        OnWholePixels(std::max(inkHeight, 1), buttonHeight, vertical == guiJustifyCenter), textureHeight);
    text->SetSize(width, height);
    for (i32 state = guiStateIdle; state < 2 * guiCheckbox::kCheckedStates; ++state)
        if (text->FindRecord(state))
            text->SetTile(static_cast<f32>(width) / static_cast<f32>(textureWidth),
                          static_cast<f32>(height) / static_cast<f32>(textureHeight), state);
}

void coFitCaptions(guiWindow* window) {
    auto* container = dynamic_cast<guiContainer*>(window);
    if (!container)
        return;
    coFitCaption(dynamic_cast<guiButton*>(container));
    for (i32 i = 0; i < container->GetChildCount(); ++i)
        coFitCaptions(container->GetChild(i));
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
