#include "Source/Settings/coNamedFile.h"

#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/App/Gf/gfPakSearcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>

namespace {

constexpr i32 kRoot = 11;

// Stands in for the pak manager: one pak answers for the root.
class OnePak : public gfPakSearcher::PakLocator {
  public:
    gfPakFile* Locate(i32 root, const fsLocator& locator, fsLocator&) override {
        return root == kRoot && pak->HasEntry(locator) ? pak.get() : nullptr;
    }
    std::unique_ptr<gfPakFile> pak;
};

fsLocator File(const char* name) {
    fsLocator file;
    file.AppendComponent("Model");
    file.AppendComponent(name);
    return file;
}

} // namespace

// A file not found by the name a definition gave it is told with the definition, inside its pak when one
// holds it; a failure of another file (one the named file names in turn) or damage inside the named file
// is left as it was, and what is thrown keeps its class.
TEST(coNamedFile, AFileNotFoundByItsNameIsToldWithTheFileThatNamedIt) {
    fsTestFolder folder;
    gfPakBuilderLayout layout;
    layout.entries = {{"Track.def", "Track { }"}};
    folder.Write("Wooden.pak", gfBuildPak(layout));
    OnePak paks;
    paks.pak = std::make_unique<gfPakFile>(folder.Locator("Wooden.pak"));
    gfPakSearcher::SetPakLocator(&paks);
    fsLocator inPak(kRoot);
    inPak.AppendComponent("Track.def");

    const fsLocator model = File("tubetancer.msk"), definition = File("tubedancer.prd");
    const struct {
        std::function<void()> fail;
        const std::type_info& type;
        fsLocator namedIn, file, entry; // what the failure names as the file that named it
    } rows[] = {
        {[&] { throw fsFileDoesntExistX(model); }, typeid(fsFileDoesntExistX), definition, definition, {}},
        {[&] { throw gfFileNotInPakX(model); }, typeid(gfFileNotInPakX), definition, definition, {}},
        {[&] { throw fsInvalidLocatorX(model); }, typeid(fsInvalidLocatorX), definition, definition, {}},
        // The pak gives no other path: the entry is the locator's.
        {[&] { throw fsFileDoesntExistX(model); }, typeid(fsFileDoesntExistX), inPak,
         folder.Locator("Wooden.pak"), inPak},
        {[&] { throw fsFileDoesntExistX(File("grass.png")); },
         typeid(fsFileDoesntExistX),
         definition,
         {},
         {}},
        {[&] { throw gfInvalidFileBinX(model); }, typeid(gfInvalidFileBinX), definition, {}, {}},
        {[&] { throw fsReadOnlyX(model); }, typeid(fsReadOnlyX), definition, {}, {}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        try {
            coLoadNamedFile(model, rows[i].namedIn, rows[i].fail);
            ADD_FAILURE() << i;
        } catch (const fsFileFailureX& failure) {
            EXPECT_EQ(typeid(failure), rows[i].type) << i;
            EXPECT_EQ(failure.GetNamedIn(), rows[i].file) << i;
            EXPECT_EQ(failure.GetNamedInEntry(), rows[i].entry) << i;
        }
    }
    EXPECT_EQ(coLoadNamedFile(model, definition, [] { return 7; }), 7);
    gfPakSearcher::SetPakLocator(nullptr);
}
