#pragma once
#include "Engine/App/Fs/fsRootTable.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coPropTestBytes.h"
#include "Tools/Image/toolPngWriter.h"

#include <cstdio>

// The screen kit with a themes folder (root 6) of generated prop categories, its default pictures
// written as plain PNGs, and a coaster of type "Steel".
class coParkPaletteTest : public coScreenTest {
  protected:
    struct SteelDefinition : coCoasterDefinition {
        std::string GetCoasterTypeName() const override { return "Steel"; }
    };

    void SetUp() override {
        coScreenTest::SetUp();
        fsSetRootDirectory(coRootThemes, themes.Locator());
        for (const char* name : {"prpdef_i", "prpdefpd", "dckdef_i", "dckdefpd", "thmtab_i", "thmtab_s"})
            Picture(std::string(name) + ".png");
        coSetCoasterDefinition(&steel);
    }
    void TearDown() override {
        coSetCoasterDefinition(nullptr);
        coPropTemplateList::DeleteAll();
        coScreenTest::TearDown();
    }
    // A white 8 x 8 picture, relative to the themes folder.
    void Picture(const std::string& relative) {
        MakeParent(relative);
        toolWritePng(themes.Path(relative), {8, 8, 3, std::vector<u8>(8 * 8 * 3, 255)});
    }
    void Damaged(const std::string& relative) { themes.Write(relative, "\x89PNG damaged"); }
    // A category with that many props "p00", "p01", ...; with a dock for "Steel" and its "Tracks".
    void Category(const std::string& name, int props, bool dock = false) {
        themes.MakeFolder(name + "/Data");
        for (int i = 0; i < props; ++i) {
            char file[16];
            std::snprintf(file, sizeof file, "p%02d.prd", i);
            themes.Write(name + "/Data/" + file, coPropFile("m.mx"));
        }
        if (dock)
            themes.Write(name + "/Tracks/Steel/Model/loaddock.mx", "");
    }
    // The themes listed and their templates built, as the game does before it shows a palette.
    static void BuildTemplates() {
        coPaths::ListRootDirectories(coRootThemes);
        coPropTemplateList::Build(false);
    }
    static std::string FileOf(const guiImage& image, i32 state) {
        fsLocator file;
        image.GetImageFile(state, file);
        std::string path;
        fsLocatorToNativePath(file, path);
        return path;
    }

    fsTestFolder themes;
    SteelDefinition steel;

  private:
    void MakeParent(const std::string& relative) {
        if (const size_t slash = relative.rfind('/'); slash != std::string::npos)
            themes.MakeFolder(relative.substr(0, slash));
    }
};
