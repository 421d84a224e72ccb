#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiTestFrame.h"
#include "gprTestWidgets.h"

#include <cstring>
#include <string>

// Bytes of the binary form, built independently of the chunk writer.
inline std::string gprBytes(const void* data, size_t size) {
    return std::string(static_cast<const char*>(data), size);
}
inline std::string gprInt(i32 value) {
    return gprBytes(&value, 4);
}
inline std::string gprFloat(f32 value) {
    return gprBytes(&value, 4);
}
inline std::string gprString(const std::string& text) {
    return text + std::string(1, '\0');
}
// A chunk: its four-character id (missing characters 0), body size, version 0, body.
inline std::string gprChunk(const std::string& code, const std::string& body = {}) {
    std::string id = code.substr(0, 4);
    id.resize(4, '\0');
    const u32 size = static_cast<u32>(body.size());
    return id + gprBytes(&size, 4) + std::string(2, '\0') + body;
}

// The script package started with the test widgets, the gui package and the renderer's lists for the
// toolkit's widgets, a folder to write scripts into and the script
// directory set to it.
class gprTestScripts : public guiTestServices {
  protected:
    void SetUp() override {
        guiTestServices::SetUp();
        StartScreen(fonts);
        guiInit();
        gprInit();
        gprInstallTestWidgets();
        gprParserUtil::SetScriptDirectory(folder.Locator());
    }
    void TearDown() override {
        gprParserUtil::SetScriptDirectory({});
        gprRemoveTestWidgets();
        gprShutdown();
        guiShutdown();
        g3dStopTestScreen();
        guiTestServices::TearDown();
    }

    // The binary form of a text script.
    std::string Compile(const std::string& text) {
        folder.Write("c.gst", text);
        gprParserUtil::CompileScript(folder.Locator("c.gst"), folder.Locator("c.gsf"));
        return folder.Read("c.gsf");
    }
    // Loads binary bytes as script "b" of the folder.
    void LoadBytes(const std::string& bytes, guiWindow* target) {
        folder.Write("b.gsf", bytes);
        gprParserUtil::LoadScript(folder.Locator(), u"b", target);
    }
    void LoadText(const std::string& text, guiWindow* target) { LoadBytes(Compile(text), target); }
    std::string Save(guiWindow* window) {
        gprParserUtil::SaveScript(folder.Locator("saved.gsf"), window);
        return folder.Read("saved.gsf");
    }

    gprTestFonts fonts;
    fsTestFolder folder;
};
