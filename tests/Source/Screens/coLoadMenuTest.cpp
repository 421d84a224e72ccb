#include "Source/Screens/coLoadMenu.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Screens/coLoadingScreen.h"
#include "coScreenTestKit.h"

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The load menu over coasters written in the test's saves folder; the track type "Steel" and the
// environment "Mountain" are installed, anything else is not.
struct coLoadMenuTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        installed.MakeFolder("Steel");
        installed.MakeFolder("Mountain");
        // The track types' one folder, the environment's own folder: both ways of installing count.
        fsSetRootDirectory(coRootTracks, installed.Locator());
        fsSetRootDirectory(coRootEnvironments, installed.Locator("Mountain"));
    }
    // A coaster file holding only its setting, written at that time (seconds since the epoch).
    void WriteCoaster(const std::string& name, i64 time, const std::string& type = "Steel", i8 closed = 1) {
        coCdatFields fields;
        fields.type = type;
        fields.closed = closed;
        coByteBuilder b;
        b.Header();
        fields.Write(b, 4);
        saves.Write(name, b.bytes);
        std::filesystem::last_write_time(saves.Path(name),
                                         std::filesystem::file_time_type::clock::from_sys(
                                             std::chrono::sys_seconds(std::chrono::seconds(time))));
    }
    static std::vector<std::string> Names(const coLoadMenu& menu) {
        std::vector<std::string> names;
        for (const coLoadCacheEntry& entry : menu.GetEntries())
            names.push_back(envStringToNarrow(entry.name));
        return names;
    }
    static std::string Buttons(const coLoadMenu& menu) {
        std::string on;
        for (const char* name : {"Build", "Ride", "Delete"})
            on += menu.FindChild(name)->IsEnabled() ? 'B' : '-';
        return on;
    }
    static void SelectRow(coLoadMenu& menu, i32 row) {
        menu.GetTable()->SetSelected(-1, -1, false);
        menu.GetTable()->SetSelected(row, 0, true);
        menu.Think();
    }
    void TearDown() override {
        coLoadingScreenHide();
        coScreenTest::TearDown();
    }
    fsTestFolder installed;
};

TEST_F(coLoadMenuTest, ListsCoasterFilesSortedWithTheirButtons) {
    WriteCoaster("Zeta.csa", 1700000300);
    WriteCoaster("alpha.csa", 1700000100, "Steel", 0);
    WriteCoaster("Wreck.csa", 1700000200, "Wooden");
    WriteCoaster("Beta.csa", 1700000300);
    WriteCoaster("A.CSA", 1700000000);
    for (const char* notCoaster : {"x.csa.bak", "csa", ".csa"})
        WriteCoaster(notCoaster, 1700000000);
    using std::filesystem::perms;
    std::filesystem::permissions(saves.Path("Beta.csa"),
                                 perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
    coLoadMenu menu([this](u32 text, const envString& name) { return host.AskNamedQuestion(text, name); });
    // Code-unit order: capitals first.
    EXPECT_EQ(Names(menu), (std::vector<std::string>{"A", "Beta", "Wreck", "Zeta", "alpha"}));
    EXPECT_EQ(Buttons(menu), "BBB");
    EXPECT_EQ(menu.GetTable()->GetVisibleRows(), 22);

    // A rows's buttons: read-only, missing track type, not finished.
    const std::pair<i32, const char*> rows[] = {{1, "BB-"}, {2, "--B"}, {4, "B-B"}};
    for (const auto& [row, buttons] : rows) {
        SelectRow(menu, row);
        EXPECT_EQ(Buttons(menu), buttons) << row;
    }
    EXPECT_EQ(envStringToNarrow(menu.GetSelectedName()), "alpha");

    // Newest first; the two of the same second by name.
    ClickOn(menu, "Date");
    EXPECT_EQ(Names(menu), (std::vector<std::string>{"Beta", "Zeta", "Wreck", "alpha", "A"}));
    EXPECT_EQ(Buttons(menu), "BB-");
}

TEST_F(coLoadMenuTest, DeleteRemovesTheEntrysOwnFileAfterTheQuestion) {
    fsTestFolder second;
    fsAddRootDirectory(coRootSaves, second.Locator());
    for (const char* name : {"One.csa", "Two.csa"})
        WriteCoaster(name, 1700000000);
    second.Write("Two.csa", saves.Read("Two.csa"));
    {
        coLoadMenu menu(
            [this](u32 text, const envString& name) { return host.AskNamedQuestion(text, name); });
        ASSERT_EQ(menu.GetEntries().size(), 3u);
        // "Two" of the second folder; the two of that name tie in the name order.
        const i32 row = menu.GetEntries()[1].file == second.Locator("Two.csa") ? 1 : 2;
        SelectRow(menu, row);
        EXPECT_EQ(menu.GetSelectedFile(), second.Locator("Two.csa"));

        host.answerOk = false;
        ClickOn(menu, "Delete");
        EXPECT_EQ(menu.GetEntries().size(), 3u);

        host.answerOk = true;
        ClickOn(menu, "Delete");
        EXPECT_FALSE(std::filesystem::exists(second.Path("Two.csa")));
        EXPECT_TRUE(std::filesystem::exists(saves.Path("Two.csa")));
        EXPECT_EQ(host.questions, (std::vector<u32>{17, 17}));
        EXPECT_EQ(host.names, (std::vector<std::string>{"Two", "Two"}));
        EXPECT_EQ(menu.GetEntries().size(), 2u);
        EXPECT_EQ(menu.GetTable()->GetSelection(), 1);
        // "One" removed behind the menu's back, while "one" is there: the entry goes, "one" stays.
        std::filesystem::rename(saves.Path("One.csa"), saves.Path("one.csa"));
        for (int i = 0; i < 2; ++i) {
            ClickOn(menu, "Delete");
        }
        EXPECT_TRUE(std::filesystem::remove(saves.Path("one.csa")));
        EXPECT_EQ(Buttons(menu), "---");
        EXPECT_EQ(envStringToNarrow(menu.GetSelectedName()), "");
        EXPECT_EQ(menu.GetSelectedFile().GetComponentCount(), 0u);
    }
    // The deleted coasters are forgotten: the cache holds nothing.
    EXPECT_EQ(saves.Read("LoadCach.bin"), "");
    coLoadMenu empty([this](u32 text, const envString& name) { return host.AskNamedQuestion(text, name); });
    EXPECT_EQ(Buttons(empty), "---");
}

// A cache that cannot be read is as none: the menu lists the coasters from their files and writes a
// readable cache in its place.
TEST_F(coLoadMenuTest, ACacheThatCannotBeReadIsRebuilt) {
    WriteCoaster("Oval.csa", 1700000000);
    const std::string cache = saves.Path("LoadCach.bin");
    const struct {
        const char* what;
        std::function<void()> plant;
    } cases[] = {
        {"a pipe", [&] { ASSERT_EQ(mkfifo(cache.c_str(), 0600), 0); }},
        {"unreadable",
         [&] {
             saves.Write("LoadCach.bin", "LoadCach");
             std::filesystem::permissions(cache, std::filesystem::perms::none);
         }},
    };
    for (const auto& c : cases) {
        if (geteuid() == 0 && std::string(c.what) == "unreadable")
            continue; // permissions do not stop the superuser
        std::filesystem::remove(cache);
        c.plant();
        {
            coLoadMenu menu(
                [this](u32 text, const envString& name) { return host.AskNamedQuestion(text, name); });
            EXPECT_EQ(Names(menu), std::vector<std::string>{"Oval"}) << c.what;
        }
        EXPECT_TRUE(std::filesystem::is_regular_file(cache)) << c.what;
        coLoadCacheMap cached;
        coReadLoadCache(cached);
        EXPECT_EQ(cached.size(), 1u) << c.what;
    }
}

} // namespace
