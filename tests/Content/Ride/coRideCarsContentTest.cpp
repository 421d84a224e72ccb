// The default theme's train from the built tree, on the fake device: the car models and the flame load
// as the ride loads them, and nothing is reported.
#include "Content/coBuiltTree.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/Graphics/G3d/g3dRendererFixture.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"

namespace {

maVector3d Size(const scSimpleMovableObject& car) {
    return car.GetBoundingBox().GetMax() - car.GetBoundingBox().GetMin();
}

class coRideCarsContentTest : public g3dRendererFixture {
  protected:
    void SetUp() override {
        g3dRendererFixture::SetUp();
        g3dTextureManager::Initialize();
        g3dSelectTextureFormats();
        fsResetRootTable();
        fsAddRootDirectory(coRootThemes, coBuiltTreeLocator("Themes"));
        fsAddRootDirectory(coRootEffects, coBuiltTreeLocator("Data/Effects"));
        coSetThemeName("Ironvale");
        m_typeBefore = coCoasterDefinitionStore().GetCoasterTypeName();
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        gfErrorHandler::SetDisplayer(&m_errors);
    }
    void TearDown() override {
        m_cars.FreeCars();
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        coPrefs::SetSessionFlag(coRunFlagCarFlames, 0);
        coCoasterDefinitionStore().SetCoasterTypeName(m_typeBefore);
        coSetThemeName("");
        fsResetRootTable();
        g3dRendererFixture::TearDown();
    }

    gfRecordingDisplayer m_errors;
    std::string m_typeBefore;
    coRideCars m_cars;
};

} // namespace

TEST_F(coRideCarsContentTest, TheDefaultTrainLoadsWholeWithItsFlames) {
    // Both shipped types ride it.
    coCoasterDefinitionStore().SetCoasterTypeName("Wooden");
    m_cars.BuildCars(1, 2);
    EXPECT_EQ(m_cars.GetCarCount(), 2);
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    coPrefs::SetSessionFlag(coRunFlagCarFlames, 1);
    m_cars.BuildCars(2, 4);
    ASSERT_EQ(m_cars.GetCarCount(), 8);
    const auto& cars = m_cars.GetCars();
    EXPECT_NE(cars[0]->GetFragment(), cars[1]->GetFragment());
    EXPECT_EQ(cars[4]->GetFragment(), cars[0]->GetFragment());
    // The lead car's raised nose makes it the taller; both fit between cars set 4 apart.
    const maVector3d lead = Size(*cars[0]), follower = Size(*cars[1]);
    EXPECT_GT(lead.y, follower.y);
    for (const maVector3d& size : {lead, follower}) {
        EXPECT_GT(size.x, 0.0f);
        EXPECT_GT(size.z, 0.0f);
        EXPECT_LT(size.z, 4.0f);
    }
    ASSERT_EQ(m_cars.GetFlames().size(), 8u);
    EXPECT_TRUE(m_errors.shown.empty());
}
