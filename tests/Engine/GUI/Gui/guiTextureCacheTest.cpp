#include "guiTextureCacheTest.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"

#include <gtest/gtest.h>

namespace {

fsLocator File(const char* name, i32 root = -1) {
    fsLocator file;
    file.AppendComponent("GUI");
    file.AppendComponent(name);
    file.SetRoot(root);
    return file;
}

} // namespace

TEST(guiTextureCacheTest, UsersShareOneTextureUntilTheLastRelease) {
    guiCountingLoader loader;
    g3dTexture* first = guiTextureCache::Acquire(File("face.png", 10));
    EXPECT_EQ(guiTextureCache::Acquire(File("face.png", 3)), first) << "the root is not part of the key";
    guiTextureCache::Release(first);
    EXPECT_EQ(loader.releases, 0);
    fsLocator where;
    guiTextureCache::GetFile(first, where);
    EXPECT_EQ(where, File("face.png", 10));
    guiTextureCache::Release(first);
    EXPECT_EQ(loader.releases, 1);
    fsLocator untouched = File("x");
    guiTextureCache::GetFile(first, untouched);
    guiTextureCache::GetFile(nullptr, untouched);
    EXPECT_EQ(untouched, File("x"));
    guiTextureCache::Release(guiTextureCache::Acquire(File("face.png")));
    EXPECT_EQ(loader.plainLoads, 2);

    // A texture the cache never gave out goes straight back.
    g3dTexture* foreign = loader.LoadPlainTexture(File("text"));
    guiTextureCache::Release(foreign);
    EXPECT_EQ(loader.releases, 3);
    EXPECT_EQ(loader.LiveCount(), 0u);
}

TEST(guiTextureCacheTest, OnlyTheExactTuvMarksAFlipBook) {
    guiCountingLoader loader;
    const struct {
        const char* name;
        int uva;
    } cases[] = {{"a.tuv.png", 1}, {"b.tuv", 1}, {"A.TUV", 0}, {"c.png", 0}};
    for (const auto& c : cases) {
        const int before = loader.uvaLoads;
        guiTextureCache::Release(guiTextureCache::Acquire(File(c.name)));
        EXPECT_EQ(loader.uvaLoads - before, c.uva) << c.name;
    }
    EXPECT_EQ(loader.plainLoads, 2);
}

TEST(guiTextureCacheTest, AMissingFileThrowsAndIsNotCached) {
    fsTestFolder folder;
    const fsLocator missing = folder.Locator("missing.png");
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>([&] { guiTextureCache::Acquire(missing); }), missing);
}
