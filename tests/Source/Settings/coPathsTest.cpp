#include "Source/Settings/coPaths.h"
#include "coSettingsTestSupport.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Source/Settings/coErrorPackage.h"
#include "Source/Settings/coPrefs.h"

#include <filesystem>
#include <functional>
#include <sstream>
#include <tuple>
#include <unistd.h>

namespace {

using Paths = std::vector<std::string>;
const std::string kSaves = "user/Zandrel Trackwrighting/Loopvane/Saves";

} // namespace

// Every root from the hard disc; the disc's "Setup/Game" for what the hard disc lacks; a root found in
// neither stays empty with a warning, and without a disc nothing is looked for beside the program.
TEST_F(coSettingsTest, DataRootsFromTheHardDiscThenTheDisc) {
    struct Case {
        bool onHardDisc, disc;
        Paths tracks;
        bool lookedOnDisc;
    };
    const Case cases[] = {{true, false, {"install/Tracks"}, false},
                          {true, true, {"install/Tracks"}, false},
                          {false, true, {"disc/Setup/Game/Tracks"}, true},
                          {false, false, {}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.onHardDisc) + std::to_string(c.disc));
        fsResetRootTable();
        std::filesystem::remove_all(folder.Path("install/Tracks"));
        if (c.onHardDisc)
            MakeTree("install");
        if (c.disc)
            MakeTree("disc/Setup/Game");
        log.lines.clear();
        Start(c.disc);
        EXPECT_EQ(Root(coRootTracks), c.tracks);
        EXPECT_EQ(
            std::tuple(log.Holds("looking on CD for"), log.Holds("Corrupt installation - couldn't find")),
            std::tuple(c.lookedOnDisc, c.tracks.empty()));
        const fsLocator found = coPaths::FindRootDirectory(coRootTracks, "Steel");
        EXPECT_EQ(found.GetComponentCount() == 0, c.tracks.empty());
        EXPECT_EQ(found.GetRoot(), c.tracks.empty() ? coRootTracks : -1);
    }
    EXPECT_EQ(Root(coRootData), Paths{"install"});
    std::istringstream expected(
        "install install/Themes install/Tracks install/Environments SAVES install/Data/GUI "
        "install/Data/Text/Eng install/Data/Effects install/Data/Missions install/Data/Video "
        "install/Data/Music install/Data/Voice/Eng install/Data/Geom");
    fsResetRootTable();
    MakeTree("install");
    Start();
    std::string path;
    for (i32 root = coRootData; root <= coRootGeom && expected >> path; ++root)
        EXPECT_EQ(Root(root), Paths{path == "SAVES" ? kSaves : path}) << root;
}

// The INI file wins over the registry; an empty value counts as missing; separators of both kinds
// split the path and a trailing one is dropped; a relative path is taken from the program's folder.
TEST_F(coSettingsTest, HardDiscRootFromTheIniFileOrTheRegistry) {
    struct Case {
        std::string ini, hive;
        std::string root, message;
    };
    const std::string games = folder.Path("games");
    const Case cases[] = {
        {"HDRoot=" + games + "/lv/", "", "games/lv", "Found HDRoot in INI: " + games + "/lv/"},
        {"HDRoot=" + games + "\\lv\\\\", "HDRoot=/elsewhere\n", "games/lv", "Found HDRoot in INI"},
        {"HDRoot=", "HDRoot=" + games + "/lv\n", "games/lv", "Found HDRoot in REG: " + games + "/lv"},
        {"HDRoot=relative/lv", "", "install/relative/lv", "Found HDRoot in INI"},
        {"", "HDRoot=\n", "install", "Did not find HDRoot."},
        {"", "", "install", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini + " | " + c.hive);
        fsResetRootTable();
        folder.Write("loopvane.ini", "[Loopvane]\n" + c.ini + "\n");
        folder.Write("config/HKEY_LOCAL_MACHINE.ini", c.hive.empty() ? "" : kRegistryKey + c.hive);
        folder.MakeFolder(c.root);
        log.lines.clear();
        Start();
        EXPECT_EQ(Root(coRootData), Paths{c.root});
        EXPECT_EQ(log.Holds("HDRoot"), !c.message.empty());
        if (!c.message.empty()) {
            EXPECT_TRUE(log.Holds(c.message));
        }
    }
}

// The first and last code of every row, then codes outside the table; the INI's code wins.
TEST_F(coSettingsTest, LanguageCodesMapToFolders) {
    // "code=folder", space-separated.
    std::istringstream cases(
        "ISLANG_ENGLISH=Eng ISLANG_ENGLISH_JAMAICA=Eng ISLANG_DUTCH=Dut ISLANG_DUTCH_BELGIAN=Dut "
        "ISLANG_FRENCH=Fra ISLANG_FRENCH_LUXEMBOURG=Fra ISLANG_GERMAN=Ger ISLANG_GERMAN_LIECHTENSTEIN=Ger "
        "ISLANG_ITALIAN=Ita ISLANG_ITALIAN_SWISS=Ita ISLANG_PORTUGUESE=Por ISLANG_PORTUGUESE_BRAZILIAN=Por "
        "ISLANG_SPANISH=Spa ISLANG_SPANISH_URUGUAY=Spa ISLANG_ENGLISH_UNITEDKINGDOM=Uk "
        "ISLANG_ENGLISH_SOUTHAFRICA=Uk ISLANG_H4X0R=Hax ISLANG_KLINGON=KLINGON ISLANG=Eng ISLANG_../x=Eng "
        "ISLANG_..=Eng XXXXXXSub\\x=Eng");
    appInitDefaultRoots(nullptr);
    coPaths::LoadBasicStrings();
    for (std::string c; cases >> c;) {
        const size_t equals = c.rfind('=');
        folder.Write("config/HKEY_LOCAL_MACHINE.ini",
                     kRegistryKey + ("Language=" + c.substr(0, equals)) + "\n");
        EXPECT_EQ(coPaths::GetLanguageFolder(), envString(c.substr(equals + 1).c_str())) << c;
    }
    folder.Write("loopvane.ini", "[Loopvane]\nLanguage=ISLANG_GERMAN\n");
    EXPECT_EQ(coPaths::GetLanguageFolder(), envString("Ger"));
    // A key without the value: the default code is written and read.
    folder.Write("loopvane.ini", "");
    folder.Write("config/HKEY_LOCAL_MACHINE.ini", kRegistryKey);
    EXPECT_EQ(coPaths::GetLanguageFolder(), envString("Eng"));
    EXPECT_NE(folder.Read("config/HKEY_LOCAL_MACHINE.ini").find("ISLANG_ENGLISH_UNITEDSTATES"),
              std::string::npos);
    folder.Write("config/HKEY_LOCAL_MACHINE.ini", "");
    EXPECT_EQ(coPaths::GetLanguageFolder(), envString("Eng"));
}

// A language folder that neither data root holds gives "Eng" for the texts and the voices.
TEST_F(coSettingsTest, MissingLanguageFoldersFallBackToEng) {
    const std::pair<const char*, const char*> cases[] = {
        {"ISLANG_KLINGON", "KLINGON"}, {"ISLANG_MISSING", "Eng"}, {"ISL", "Eng"}, {"ISLANG_../x", "Eng"}};
    MakeTree("install", {"Data/Text/KLINGON"});
    MakeTree("disc/Setup/Game", {"Data/Voice/KLINGON"});
    for (const auto& [code, language] : cases) {
        fsResetRootTable();
        folder.Write("loopvane.ini", std::string("[Loopvane]\nLanguage=") + code + "\n");
        Start(true);
        EXPECT_EQ(Root(coRootText), Paths{std::string("install/Data/Text/") + language}) << code;
        const std::string voice =
            std::string(language) == "Eng" ? "install/Data/Voice/Eng" : "disc/Setup/Game/Data/Voice/KLINGON";
        EXPECT_EQ(Root(coRootVoice), Paths{voice}) << code;
    }
}

// The saves folder is made under the user's data folder; the first time, the installation's old "Saves"
// is copied in; a copy that fails leaves no partial folder, one report and an empty saves folder.
TEST_F(coSettingsTest, SavesFolderIsMadeAndOldSavesMoveIn) {
    MakeTree("install");
    folder.Write("install/Saves/One.csa", "one");
    folder.Write("install/Saves/Sub/Two.csa", "two");
    Start();
    EXPECT_EQ(Root(coRootSaves), Paths{kSaves});
    EXPECT_EQ(List(coRootSaves), Paths{"-1:" + folder.Path(kSaves)});
    EXPECT_EQ(std::tuple(folder.Read(kSaves + "/Sub/Two.csa"), folder.Read(kSaves + "/One.csa")),
              std::tuple("two", "one"));

    // Present already: nothing is copied again.
    folder.Write("install/Saves/Three.csa", "three");
    fsResetRootTable();
    Start();
    EXPECT_FALSE(std::filesystem::exists(folder.Path(kSaves + "/Three.csa")));
    EXPECT_TRUE(displayer.shown.empty());

    std::filesystem::remove_all(folder.Path("user"));
    fsResetRootTable();
    {
        // The copy's folders are made, its files fail.
        const fsWriteCalls failing(EIO);
        Start();
    }
    EXPECT_EQ(Root(coRootSaves), Paths{kSaves});
    EXPECT_EQ(std::tuple(std::filesystem::is_empty(folder.Path(kSaves)),
                         std::filesystem::exists(folder.Path(kSaves + ".partial"))),
              std::tuple(true, false));
    ASSERT_EQ(displayer.shown.size(), 1u);
    EXPECT_EQ(displayer.shown[0].type, 5u);
}

// Without a user folder or with a product name that is no folder name, the saves are the data root's
// "Saves", with no word to the player; with none, root 9 and its list stay empty.
TEST_F(coSettingsTest, SavesFallBackToTheDataRoot) {
    struct Case {
        std::string userFolder, product;
        bool installSaves;
        Paths saves;
    };
    const Case cases[] = {{"", "Loopvane", true, {"install/Saves"}},
                          {folder.Path("user"), "../Loopvane", true, {"install/Saves"}},
                          {"", "Loopvane", false, {}}};
    MakeTree("install");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.userFolder + " " + c.product);
        fsResetRootTable();
        folders.commonAppDataFolder = c.userFolder;
        WriteBasicStrings({{1, c.product}});
        std::filesystem::remove_all(folder.Path("install/Saves"));
        if (c.installSaves)
            folder.MakeFolder("install/Saves");
        Start();
        EXPECT_EQ(std::tuple(Root(coRootSaves), List(coRootSaves).size()),
                  std::tuple(c.saves, c.saves.size()));
    }
    EXPECT_EQ(coPaths::FindRootDirectory(coRootSaves, "x").GetRoot(), coRootSaves);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("user/Loopvane")));
    fsLocator prefs;
    EXPECT_THROW(coPrefs::GetFilePath(prefs), fsDirectoryDoesntExistX);
    EXPECT_TRUE(displayer.shown.empty());
}

// A saves folder that cannot be used (a file, a link to nothing or a link to itself in its place, or a
// folder that cannot be made) is told with its path, why, and where the game saves instead; nothing is
// copied or made in its place, and the saves are the data root's "Saves". Where that cannot be written
// either, the box says that nothing can be saved in this run.
TEST_F(coSettingsTest, AnUnusableSavesFolderIsToldWithWhyAndWhereTheGameSaves) {
    folder.MakeFolder("errors");
    gfWriteTextSet(folder.Locator("errors/coErrors.tsf"), 32,
                   {{12, u"Unusable:\n"},
                    {19, u"A file."},
                    {20, u"A link to nothing."},
                    {21, u"A link to itself."},
                    {22, u"Instead:"},
                    {23, u"Nowhere."},
                    {28, u"Nothing saved."},
                    {46, u"A file in a folder's place."}});
    gfErrorHandler::SetErrorFileDirectory(folder.Locator("errors"));
    gfErrorHandler::RegisterPackage(coErrorPackage, "coErrors.tsf");
    const std::string saves = folder.Path(kSaves);
    const auto link = [&](const std::string& target) {
        folder.MakeFolder("user/Zandrel Trackwrighting/Loopvane");
        std::filesystem::create_symlink(target, saves);
    };
    const struct {
        const char* what;
        std::function<void()> make;
        std::string cause;
        bool installSaves;
        bool canSave = true;
    } rows[] = {
        {"file", [&] { folder.Write(kSaves, "not a folder"); }, "A file.", true},
        {"link to nothing", [&] { link(folder.Path("gone")); }, "A link to nothing.", true},
        {"link to itself", [&] { link(saves); }, "A link to itself.", true},
        {"cannot be made", [&] { folder.Write("user/Zandrel Trackwrighting", "a file"); }, "A file in a folder's place.", true},
        {"no data root saves", [&] { link("gone"); }, "A link to nothing.", false, false},
        {"data root saves read-only",
         [&] {
             link("gone");
             std::filesystem::permissions(folder.Path("install/Saves"),
                                          std::filesystem::perms::owner_read |
                                              std::filesystem::perms::owner_exec);
         },
         "A link to nothing.", true, false},
    };
    MakeTree("install");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (!row.canSave && row.installSaves && geteuid() == 0)
            continue; // permissions do not stop the superuser
        if (std::filesystem::exists(folder.Path("install/Saves")))
            std::filesystem::permissions(folder.Path("install/Saves"), std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder.Path("user"));
        std::filesystem::remove_all(folder.Path("install/Saves"));
        if (row.installSaves)
            folder.Write("install/Saves/Old.csa", "old");
        row.make();
        const auto before = std::filesystem::symlink_status(saves).type();
        displayer.shown.clear();
        fsResetRootTable();
        Start();
        EXPECT_EQ(Root(coRootSaves), row.installSaves ? Paths{"install/Saves"} : Paths{});
        EXPECT_EQ(std::filesystem::symlink_status(saves).type(), before);
        EXPECT_FALSE(std::filesystem::exists(saves + ".partial") ||
                     std::filesystem::exists(folder.Path("gone")));
        ASSERT_EQ(displayer.shown.size(), 1u);
        EXPECT_EQ(displayer.shown[0].message, "Unusable:\n" + saves + "\n" + row.cause + "\n" +
                                                  (row.canSave ? "Instead:\n" + folder.Path("install/Saves")
                                                               : "Nowhere.\nNothing saved."));
        EXPECT_EQ(coPaths::CanSave(), row.canSave);
    }
    gfErrorHandler::Shutdown();
    gfErrorHandler::SetErrorFileDirectory(fsLocator());
}

// Unlocked props join the theme root; each list names a sub-folder once, the first of its name winning.
TEST_F(coSettingsTest, SubfolderListsKeepTheFirstFolderOfAName) {
    MakeTree("install",
             {"Themes/Forest", "Themes/Desert", "Tracks/Steel", "Tracks/Wood", "Environments/Mountain"});
    folder.MakeFolder(kSaves + "/Directory For Unlocked Props/Forest/Inner");
    folder.MakeFolder(kSaves + "/Directory For Unlocked Props/Candy");
    Start();
    EXPECT_EQ(Root(coRootThemes), (Paths{"install/Themes", kSaves + "/Directory For Unlocked Props"}));
    EXPECT_EQ(List(coRootThemes), (Paths{"6:Desert", "6:Forest", "6:Candy"}));
    EXPECT_EQ(List(coRootTracks), (Paths{"7:Steel", "7:Wood"}));
    EXPECT_EQ(List(coRootEnvironments), (Paths{"8:Mountain"}));
    EXPECT_EQ(List(coRootGui), Paths{});
    const fsLocator candy = coPaths::FindRootDirectory(coRootThemes, "Candy");
    EXPECT_EQ(std::tuple(candy.GetRoot(), candy.GetLastComponent()),
              std::tuple(coRootThemes, envString("Candy")));
    EXPECT_EQ(Relative(coPaths::FindRootDirectory(coRootThemes, "candy")), "install/Themes");
}
