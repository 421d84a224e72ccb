#pragma once
#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/App/App/appRegistry.h"
#include "Engine/App/App/appStartupTestServices.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Source/Settings/coPaths.h"

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// The start-up services over a test folder: the program in "install", the user's data folder "user", a
// disc mounted at "disc" when asked, the INI file "loopvane.ini" and the registry hive in "config",
// reports recorded. The basic strings are those shipped, with any replaced.
struct coSettingsTest : appStartupTestServices {
    static constexpr const char* kDiscLabel = "LOOPVANE";
    static constexpr const char* kRegistryKey = "[Software\\Zandrel Trackwrighting\\Loopvane]\n";
    gfRecordingDisplayer displayer;

    void SetUp() override {
        appStartupTestServices::SetUp();
        envInit();
        fsResetRootTable();
        folders.programPath = folder.Path("install/loopvane");
        folders.commonAppDataFolder = folder.Path("user");
        folder.MakeFolder("user");
        gfErrorHandler::SetDisplayer(&displayer);
        WriteBasicStrings({});
    }
    void TearDown() override {
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        appRegistryClose();
        fsResetRootTable();
        envShutdown();
        appStartupTestServices::TearDown();
    }

    void WriteBasicStrings(const std::map<u32, std::string>& replaced) {
        std::map<u32, std::string> texts = {{0, "Loopvane"},
                                            {1, "Loopvane"},
                                            {2, "loopvane.ini"},
                                            {3, "HDRoot"},
                                            {4, "Software\\Zandrel Trackwrighting"},
                                            {5, "Loopvane"},
                                            {6, "HDRoot"},
                                            {7, "Language"},
                                            {16, "Metric Units: false"},
                                            {28, "Language"}};
        for (const auto& [id, text] : replaced)
            texts[id] = text;
        gfTextSet set(folder.Write("install/basicstr.tsf", ""), 32, false);
        for (const auto& [id, text] : texts)
            set.SetText(id, envString(text.c_str()));
        set.Save();
    }

    // The folders of an installation under base ("install", "disc/Setup/Game").
    void MakeTree(const std::string& base, const std::vector<std::string>& extra = {}) {
        for (const char* name :
             {"Themes", "Tracks", "Environments", "Data/GUI", "Data/Text/Eng", "Data/Effects",
              "Data/Missions", "Data/Video", "Data/Music", "Data/Voice/Eng", "Data/Geom"})
            folder.MakeFolder(base + "/" + name);
        for (const std::string& name : extra)
            folder.MakeFolder(base + "/" + name);
    }

    // Roots 0 to 3 (the disc mounted when asked), the basic strings and the game's roots.
    void Start(bool disc = false) {
        folders.volumes.clear();
        if (disc)
            folders.volumes.push_back({folder.Path("disc"), kDiscLabel});
        appInitDefaultRoots(kDiscLabel);
        coPaths::LoadBasicStrings();
        coPaths::Init();
    }

    // A path relative to the test folder.
    std::string Relative(const fsLocator& locator) const {
        std::string path;
        fsLocatorToNativePath(locator, path);
        return path.rfind(folder.Path() + "/", 0) == 0 ? path.substr(folder.Path().size() + 1) : path;
    }
    std::vector<std::string> Root(i32 root) const {
        std::vector<fsLocator> directories;
        fsGetRootDirectories(root, directories);
        std::vector<std::string> paths;
        for (const fsLocator& directory : directories)
            paths.push_back(Relative(directory));
        return paths;
    }
    // The sub-folder list of a root as "root:name".
    static std::vector<std::string> List(i32 root) {
        std::vector<fsLocator> list;
        coPaths::GetRootDirectories(root, list);
        std::vector<std::string> names;
        for (const fsLocator& entry : list) {
            std::string path;
            fsLocatorToNativePath(entry, path);
            names.push_back(std::to_string(entry.GetRoot()) + ":" + path);
        }
        return names;
    }
};
