// The world's texture cache and texture loader on the test device.
#include "Source/Scene/coTextureCache.h"
#include "Engine/App/Ch/chTestBytes.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coWorldTestSupport.h"

#include <tuple>

namespace {

std::string Png(u32 size) {
    return g2dImageBuilder::Png(size, 8, 6, std::vector<std::string>(size, std::string(size * 4, '\x7F')));
}

std::string Chunk(const char* id, const std::string& body) {
    return chTestBytes().Chunk(id, static_cast<u32>(body.size()), 1).Str() + body;
}

// A flip-book of one page.
std::string Tuv(const std::string& page) {
    const std::string udat = chTestBytes().U32(1).U32(1).U32(1).U32(0).U8(1).U8(0).Str();
    return "KSFB" + std::string(4, '\0') + Chunk("TUVA", Chunk("UDAT", udat) + Chunk("TPAG", page + '\0'));
}

class coTextureCacheTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        fsResetRootTable();
        fsAddRootDirectory(coRootThemes, m_folder.Locator("Themes"));
        fsAddRootDirectory(coRootEnvironments, m_folder.Locator("Environments"));
    }
    void TearDown() override {
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        coPrefs::SetSessionFlag(coSessionWoodTextures, 0);
        fsResetRootTable();
        coWorldDeviceTest::TearDown();
    }
    fsLocator Folder(const std::string& relative) {
        m_folder.MakeFolder(relative);
        return m_folder.Locator(relative);
    }
    static void ReleaseAll(const std::vector<g3dTexture*>& textures) {
        for (g3dTexture* texture : textures)
            coReleaseTexture(texture);
    }
    fsTestFolder m_folder;
};

TEST_F(coTextureCacheTest, NamesFallBackFromBmpToPngToTuvWithTheirCaseKept) {
    m_folder.Write("Tex/a.png", Png(4));
    m_folder.Write("Tex/b.tuv", Tuv("a.png"));
    coTextureLoader loader(Folder("Tex"));
    const struct {
        const char* name;
        const char* loaded; // null: missing
    } cases[] = {
        // The reads fold case, the names are kept: "A.png" and "a.PNG" are entries of their own.
        {"a.bmp", "a.png"},
        {"b.bmp", "b.tuv"},
        {"b.png", "b.tuv"},
        {"A.bmp", "A.png"},
        {"a.BMP", nullptr},
        {"a.PNG", "a.PNG"},
        {"d.bmp", nullptr},
        // The first ".bmp" is changed: "a.png.bmp", then "a.tuv.bmp".
        {"a.bmp.bmp", nullptr},
    };
    std::vector<g3dTexture*> held;
    for (const auto& c : cases) {
        if (!c.loaded) {
            EXPECT_THROW(loader.GetTexture(c.name), fsFileDoesntExistX) << c.name;
            continue;
        }
        fsLocator expected = m_folder.Locator("Tex");
        expected.AppendComponent(c.loaded);
        held.push_back(loader.GetTexture(c.name));
        EXPECT_EQ(held.back(), coAcquireTexture(expected)) << c.name;
        coReleaseTexture(held.back());
    }
    EXPECT_NE(dynamic_cast<g3dUVATexture*>(held[1]), nullptr);
    EXPECT_EQ(coGetTextureCache().GetEntryCount(), 4u);
    ReleaseAll(held);
}

TEST_F(coTextureCacheTest, OneFileIsOneCountedTexturePerRoot) {
    m_folder.Write("Themes/Forest/Texture/a.png", Png(4));
    m_folder.Write("Environments/Forest/Texture/a.png", Png(4));
    fsLocator theme(coRootThemes), environment(coRootEnvironments);
    for (fsLocator* locator : {&theme, &environment})
        for (const char* component : {"Forest", "Texture", "a.png"})
            locator->AppendComponent(component);
    g3dTexture* first = coAcquireTexture(theme);
    EXPECT_EQ(coAcquireTexture(theme), first);
    EXPECT_EQ(coGetTextureCache().GetCount(first), 2);
    g3dTexture* other = coAcquireTexture(environment);
    EXPECT_NE(other, first);
    EXPECT_EQ(coGetTextureCache().GetEntryCount(), 2u);
    coReleaseTexture(first);
    EXPECT_EQ(coGetTextureCache().GetCount(first), 1);
    ReleaseAll({first, other});
    // Given back already: ignored.
    coReleaseTexture(first);
}

TEST_F(coTextureCacheTest, NamesThatLeaveTheFolderAndMissingFilesEnterNothing) {
    m_folder.Write("x.png", Png(4));
    m_folder.Write("Tex/x.png", Png(4));
    coTextureLoader loader(Folder("Tex"));
    for (const char* name : {"../x.png", "sub/x.png", "..\\x.png", ".", "..", "", "missing.png"})
        EXPECT_THROW(loader.GetTexture(name), fsFileDoesntExistX) << name;
    EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
}

TEST(coMipLevelsToDrop, EnvironmentTexturesKeepTheirLevelsLonger) {
    const fsLocator prop(coRootThemes), environment(coRootEnvironments);
    const struct {
        u32 free;
        i32 prop, environment;
    } cases[] = {{8000000, 2, 2},  {10485759, 2, 2}, {10485760, 1, 0},
                 {12000000, 1, 0}, {18874367, 1, 0}, {18874368, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(coMipLevelsToDrop(c.free, prop), c.prop) << c.free;
        EXPECT_EQ(coMipLevelsToDrop(c.free, environment), c.environment) << c.free;
    }
}

TEST_F(coTextureCacheTest, ShortMemoryDropsLevelsOfTheTexturesLoaded) {
    m_d3d.SetAvailableTextureMem(12000000);
    m_folder.Write("Themes/T/p.png", Png(16));
    m_folder.Write("Environments/E/e.png", Png(16));
    g3dTexture* prop = coAcquireTexture(fsRootedLocator(coRootThemes, "T/p.png"));
    g3dTexture* environment = coAcquireTexture(fsRootedLocator(coRootEnvironments, "E/e.png"));
    EXPECT_EQ(std::tuple(prop->GetWidth(), environment->GetWidth()), std::tuple(8, 16));
    ReleaseAll({prop, environment});
}

TEST_F(coTextureCacheTest, TheWoodFlagServesTheWoodTextureWhenItIsThere) {
    m_folder.Write("Tex/a.png", Png(4));
    m_folder.Write("Tex/b.png", Png(8));
    coTextureLoader loader(Folder("Tex"));
    coPrefs::SetSessionFlag(coSessionWoodTextures, 1);
    // No wood file: loads as usual.
    g3dTexture* a = loader.GetTexture("a.png");
    EXPECT_EQ(a->GetWidth(), 4);
    m_folder.Write("Themes/Environment/Texture/wood.png", Png(2));
    g3dTexture* wood = loader.GetTexture("b.png");
    EXPECT_EQ(std::tuple(wood->GetWidth(), loader.GetTexture("a.png")), std::tuple(2, wood));
    EXPECT_EQ(coGetTextureCache().GetCount(wood), 2);
    ReleaseAll({a, wood, wood});
}

} // namespace
