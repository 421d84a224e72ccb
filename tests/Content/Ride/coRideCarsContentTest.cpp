// The default theme's train from the built tree, on the fake device: the car models and the flame load
// as the ride loads them, and nothing is reported; and the seat camera's view over the lead car.
#include "Content/coBuiltTreeTest.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/Graphics/G3d/g3dRendererFixture.h"
#include "Engine/Graphics/May/mayGeometry.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"

#include <algorithm>
#include <cmath>

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
        coPrefs::SetSessionFlag(coSessionCarFlames, 0);
        coCoasterDefinitionStore().SetCoasterTypeName(m_typeBefore);
        coSetThemeName("");
        fsResetRootTable();
        g3dRendererFixture::TearDown();
    }

    gfRecordingDisplayer m_errors;
    std::string m_typeBefore;
    coRideCars m_cars{[] { coReportCurrentException(); }};
};

} // namespace

TEST_F(coRideCarsContentTest, TheDefaultTrainLoadsWholeWithItsFlames) {
    // Both shipped types ride it.
    coCoasterDefinitionStore().SetCoasterTypeName("Wooden");
    m_cars.BuildCars(1, 2);
    EXPECT_EQ(m_cars.GetCarCount(), 2);
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    coPrefs::SetSessionFlag(coSessionCarFlames, 1);
    m_cars.BuildCars(2, 4);
    ASSERT_EQ(m_cars.GetCarCount(), 8);
    const auto& cars = m_cars.GetCars();
    EXPECT_NE(cars[0]->GetFragment(), cars[1]->GetFragment());
    EXPECT_EQ(cars[4]->GetFragment(), cars[0]->GetFragment());
    // The ride shows one fragment of a car: its body, seats, lap bars, bogies and trim are that
    // fragment's material ranges. Both cars fit between cars set 4 apart.
    for (const auto& car : {cars[0].get(), cars[1].get()}) {
        EXPECT_EQ(car->GetFragment()->GetMaterialCount(), 5u);
        const maVector3d size = Size(*car);
        EXPECT_GT(size.x, 0.0f);
        EXPECT_GT(size.z, 0.0f);
        EXPECT_LT(size.z, 4.0f);
    }
    ASSERT_EQ(m_cars.GetFlames().size(), 8u);
    EXPECT_TRUE(m_errors.shown.empty());
}

namespace {

using coSeatViewContentTest = coBuiltTreeTest;

// The positions of the lead car of a type, through the model geometry reader.
std::vector<maVector3d> LeadCarPositions(const std::string& type) {
    gfFile file(coBuiltTreeLocator("Themes/Ironvale/Tracks/" + type + "/Model/carlead.mx"), gfFileRead);
    file.ReadBinHeader(nullptr);
    chBinReader reader(&file);
    u32 id = 0, size = 0;
    u16 version = 0;
    mayMesh mesh;
    if (reader.BeginChunk(&id, &version, &size))
        mayReadGeometry(reader, version, size, mesh, false);
    return mesh.positions;
}

} // namespace

// From each type's eye the seat camera sees the lead car's nose and nothing of the car above the frame's
// bottom quarter: the whole car lies under the plane through the eye that bounds that quarter. The eye
// is in the track's frame, the car RailHeight above it.
TEST_F(coSeatViewContentTest, EachTypesEyeSeesOverTheLeadCarsNose) {
    // The camera's 90 degrees across at 4:3 give tan 0.75 to the frame's bottom edge, half that to the
    // bottom quarter's top.
    constexpr float kFrameBottom = 0.75f, kQuarterTop = 0.375f;
    coPakManager::Create();
    const coCoasterDefinition saved = coCoasterDefinitionStore();
    for (const std::string type : {"Steel", "Wooden"}) {
        coCoasterDefinitionStore().SetCoasterTypeName(type);
        coPakManager::OpenCoasterPaks(envString(type.c_str()));
        coCoasterDefinitionStore().Load("Coaster.def");
        const coCoasterDefinition& definition = coCoasterDefinitionStore();
        const maVector3d seat =
            definition.GetEyePosition() - maVector3d(0.0f, definition.GetRailHeight(), 0.0f);
        const float pitch = definition.GetCameraPitch();
        const maVector3d forward(0.0f, std::sin(pitch), std::cos(pitch)),
            up(0.0f, std::cos(pitch), -std::sin(pitch));
        // The forces slide the rider's head both ways across and up and down, and from the lowest
        // and widest place the view still holds.
        maVector4d slide;
        definition.GetCameraSlide(slide);
        EXPECT_TRUE(slide.x < 0.0f && slide.y > 0.0f && slide.z < 0.0f && slide.w > 0.0f) << type;
        for (const float across : {slide.x, slide.y}) {
            const maVector3d eye = seat + maVector3d(-across, slide.z, 0.0f);
            // How far the car reaches over the plane at most (none: below 0), and how many of its
            // corners show in the frame.
            float over = -1.0f;
            int seen = 0;
            for (const maVector3d& position : LeadCarPositions(type)) {
                const maVector3d d = position - eye;
                const float ahead = maDot(d, forward), above = maDot(d, up);
                over = std::max(over, above + kQuarterTop * ahead);
                seen += ahead > 0.0f && above >= -kFrameBottom * ahead && std::abs(d.x) < ahead;
            }
            EXPECT_LE(over, 0.0f) << type << " " << across;
            EXPECT_GT(seen, 0) << type << " " << across;
        }
    }
    coCoasterDefinitionStore() = saved;
    coPakManager::Destroy();
}
