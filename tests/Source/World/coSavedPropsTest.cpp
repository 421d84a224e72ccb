// Placed props through the saved coaster file: written from the prop list, read back before the world is
// cleared, made from the theme's templates after it.
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coTrackProp.h"
#include "Tools/Model/toolModelWriter.h"
#include "Tools/Model/toolPropModels.h"
#include "Tools/World/toolPropWriter.h"
#include "coPropTreeTest.h"
#include "coWorldTestSupport.h"

#include <filesystem>
#include <tuple>

namespace {

// The recording world with the real prop list in place of its recorded names.
class RealPropServices : public coRecordingCoasterServices {
  public:
    using coRecordingCoasterServices::coRecordingCoasterServices;
    void WriteProps(chWriter& writer) const override { coSavedCoasterServices::WriteProps(writer); }
    std::unique_ptr<coPendingProps> ReadProps(chReader& reader, u16 version, u32 size) const override {
        return coSavedCoasterServices::ReadProps(reader, version, size);
    }
    void PlaceProps(coPendingProps& props) override { coSavedCoasterServices::PlaceProps(props); }
};

// An installation with a theme of a plain prop "rock" and a track prop "flag" of two entry events, listed
// as the game lists them, on the test device.
class coSavedPropsTest : public coPropTreeTest {
  protected:
    void SetUp() override {
        coPropTreeTest::SetUp();
        const std::string theme = folder.Path("install/Themes/Ironvale");
        for (const char* path : {"/Data", "/Model"})
            folder.MakeFolder("install/Themes/Ironvale" + std::string(path));
        toolWriteStaticModel(theme + "/Model/box.mx",
                             {toolMakeBox({1, 2, 1}, {0, 1, 0}, toolModelMaterial{})});
        toolWriteIronvalePropModels(theme + "/Model");
        toolPropDefinition rock;
        rock.model = "box.mx";
        toolWritePropDefinition(theme + "/Data/rock.prd", rock);
        toolPropDefinition flag;
        flag.model = "box.mx";
        flag.trackProp = true;
        flag.entries.resize(2);
        for (toolPropEvent& entry : flag.entries)
            entry.animation = "fountainsway.mx";
        toolWritePropDefinition(theme + "/Data/flag.prd", flag);
        Start();

        plServices services = plGetServices();
        services.d3d = &m_d3d;
        plInstallServices(services);
        g2dSetTextService(&m_text);
        g2dInitialize();
        g3dTextureManager::Initialize();
        g2dScreen::InitWindowed(64, 48, 0, 0);
        g3dSelectTextureFormats();
        g3dFragmentManager::Initialize();
        g3dRenderer::Initialize();
        coPropTemplateList::Build(false);
        coCircuitClear();
        park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
    }
    void TearDown() override {
        coSetThemeName(m_theme);
        coCircuitClear();
        coPropList::DeleteAll();
        coPropTemplateList::DeleteAll();
        g3dRenderer::Shutdown();
        EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);
        g2dScreen::Deinitialize();
        g2dShutdown();
        g2dSetTextService(nullptr);
        EXPECT_EQ(m_d3d.GetRefCount(), 0u);
        coPropTreeTest::TearDown();
    }
    coPropTemplate& Template(const char* name) {
        int category, index;
        coFindPropTemplate(envString(name), category, index);
        coPropTemplate& found = *coPropTemplateList::GetTemplate(index, category);
        coLoadPropTemplate(found);
        return found;
    }
    std::vector<coProp*> Placed() {
        std::vector<coProp*> props;
        coPropList::CollectAll(props);
        return props;
    }
    std::string Save() {
        coSaveCoasterFile(folder.Locator("ride.csa"));
        return folder.Read("ride.csa");
    }

    plFakeD3d m_d3d;
    g2dRecordingText m_text;
    std::string m_theme = coGetThemeName();
    coRecordingTrackBuilder builder;
    coFakePark park;
    coFileTestDefinition definition;
    RealPropServices services{definition};
};

TEST_F(coSavedPropsTest, PropsRoundTripThroughTheCoasterFile) {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    auto rock = std::make_unique<coProp>(Template("rock"));
    rock->SetPosition(maVector3d(10.0f, 0.0f, 20.0f));
    rock->SetAngle(0.5f);
    coPropList::Add(std::move(rock));
    auto flag = std::make_unique<coTrackProp>(Template("flag"));
    flag->SetPieceIndex(3);
    flag->SetDistance(0.25f);
    flag->SetActiveEvent(1);
    coPropList::Add(std::move(flag));
    coPropList::PlaceAllTrackProps();
    services.hasDock = true;
    services.dockType = "Ironvale";
    coSetThemeName("Ironvale");
    coRideComputeStats();
    const std::string saved = Save();

    // A file cut inside its prop section leaves the standing props alone.
    size_t cprl = 0;
    for (const coChunkAt& chunk : coChunksOf(saved))
        cprl = chunk.id == "CPRL" ? chunk.offset : cprl;
    ASSERT_GT(cprl, 0u);
    EXPECT_THROW(coLoadCoasterFile(folder.Write("cut.csa", saved.substr(0, cprl + 40))), envExceptionX);
    ASSERT_EQ(Placed().size(), 2u);

    coPropList::Remove(Placed().front());
    coLoadCoasterFile(folder.Locator("ride.csa"));
    const std::vector<coProp*> loaded = Placed();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(std::tuple(loaded[0]->GetPosition().x, loaded[0]->GetPosition().z, loaded[0]->GetAngle()),
              std::tuple(10.0f, 20.0f, 0.5f));
    const auto* track = dynamic_cast<const coTrackProp*>(loaded[1]);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(std::tuple(track->GetPiece(), track->GetActiveEvent(), track->IsVisible()),
              std::tuple(coCircuitPieceAt(3), 1, true));
    EXPECT_EQ(Save(), saved);

    // A kind whose file has gone since is left out.
    coPropList::DeleteAll();
    std::filesystem::remove(folder.Path("install/Themes/Ironvale/Data/rock.prd"));
    coPropTemplateList::Build(false);
    coLoadCoasterFile(folder.Locator("ride.csa"));
    ASSERT_EQ(Placed().size(), 1u);
    EXPECT_NE(dynamic_cast<coTrackProp*>(Placed()[0]), nullptr);
}

} // namespace
