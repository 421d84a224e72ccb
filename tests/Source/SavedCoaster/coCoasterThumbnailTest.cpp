#include "Source/SavedCoaster/coCoasterThumbnail.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/World/coPropTemplateList.h"

#include <tuple>

namespace {

// The renderer on a 640 x 480 fake display.
class coCoasterThumbnailTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g2dScreen::InitWindowed(640, 480, 0, 0);
        g3dFragmentManager::Initialize();
        g3dRenderer::Initialize();
        g3dRenderer::InitStates();
    }
    void TearDown() override {
        coSetWorldTextured(true);
        g3dRenderer::Shutdown();
        g2dScreenFixture::TearDown();
    }
    // A chunk file holding what the game's services write as the thumbnail.
    std::string Saved() {
        const fsLocator file = folder.Locator("thumb.bin");
        gfWriteFileAtomically(file, gfByteOrderData, [](gfFile& stream) {
            const u8 version[4] = {2, 1, 0, 0};
            stream.WriteBinHeader(version);
            chBinWriter writer(&stream);
            coGameCoasterServices().WriteThumbnail(writer);
        });
        return folder.Read("thumb.bin");
    }

    fsTestFolder folder;
};

} // namespace

// The picture is drawn textured and the world is left as it was: a save never changes the builder's look.
TEST_F(coCoasterThumbnailTest, TheThumbnailChunkHoldsTheDrawnSceneAndTheWorldIsLeftAsItWas) {
    for (bool textured : {false, true}) {
        coSetWorldTextured(textured);
        const std::string bytes = Saved();
        const std::vector<coChunkAt> chunks = coChunksOf(bytes);
        ASSERT_EQ(chunks.size(), 1u);
        EXPECT_EQ(chunks[0].id, "CSNP");
        // 640 x 480: 4 x 4 blocks of the whole screen, 160 x 120, rows of 480 bytes.
        ASSERT_EQ(chunks[0].size, 54u + 480 * 120);
        const std::string bmp = bytes.substr(chunks[0].Body(), chunks[0].size);
        EXPECT_EQ(std::tuple(bmp.substr(0, 2), static_cast<u8>(bmp[18]), static_cast<u8>(bmp[22])),
                  std::tuple("BM", 160, 120));
        EXPECT_EQ(std::tuple(coIsWorldTextured(), coPropTemplateList::AreTexturesStripped()),
                  std::tuple(textured, !textured));
    }
}
