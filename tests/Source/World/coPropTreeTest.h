#pragma once
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Settings/coSettingsTestSupport.h"
#include "Source/World/coPropScreens.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"
#include "coPropTestBytes.h"

// An installation tree in "install" with the player's saves in the user folder, for listing props and
// themes; the screens a listing shows are recorded.
struct coPropTreeTest : coSettingsTest {
    struct Screens : coPropScreens {
        void ShowLoadingScreen(bool restart) override {
            restarts += restart ? 1 : 0;
            ++shown;
        }
        void RebuildPropsPalette() override { ++palettes; }
        int shown = 0, restarts = 0, palettes = 0;
    } screens;

    void SetUp() override {
        coSettingsTest::SetUp();
        MakeTree("install");
        coSetPropScreens(&screens);
    }
    void TearDown() override {
        coPropTemplateList::DeleteAll();
        coThemeList::Clear();
        coSetPropScreens(nullptr);
        coSettingsTest::TearDown();
    }
    // Relative to the installation's data folders.
    void Write(const std::string& path, const std::string& bytes) { folder.Write("install/" + path, bytes); }
    void WriteSet(const std::string& path, const std::map<u32, std::string>& texts) {
        const std::string full = "install/Data/Text/Eng/" + path;
        folder.MakeFolder(full.substr(0, full.rfind('/')));
        std::map<u32, envString> wide;
        for (const auto& [id, text] : texts)
            wide[id] = envString(text.c_str());
        gfWriteTextSet(folder.Locator(full), 32, wide);
    }
    // The player's save directory, relative to the test folder.
    std::string Saves() const { return Relative(fsGetRootDirectory(coRootSaves, 0)); }
    // The listed names of a theme's category, in order.
    static std::vector<std::string> Names(const std::string& theme) {
        std::vector<std::string> names;
        for (int c = 0; c < coPropTemplateList::GetCategoryCount(); ++c)
            if (envStringToNarrow(coPropTemplateList::GetCategoryName(c)) == theme)
                for (int i = 0; i < coPropTemplateList::GetTemplateCount(c); ++i)
                    names.push_back(
                        envStringToNarrow(coPropTemplateList::GetTemplate(i, c)->GetInternalName()));
        return names;
    }
    static int Category(const std::string& theme) {
        for (int c = 0; c < coPropTemplateList::GetCategoryCount(); ++c)
            if (envStringToNarrow(coPropTemplateList::GetCategoryName(c)) == theme)
                return c;
        return -1;
    }
};
