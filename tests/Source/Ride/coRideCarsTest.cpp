// The ride's car objects on the fake device: their building from the theme's models, the flames, the
// freeing, and the cavern headlight.
#include "Source/Ride/coRideCars.h"
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dRendererFixture.h"
#include "Engine/Graphics/May/mayModelBytes.h"
#include "Engine/Graphics/Sc/scListParticleScene.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "Engine/Graphics/Sc/scParticleTemplateBytes.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coTrain.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coParkWorld.h"

#include <filesystem>
#include <tuple>

namespace {

class coCavernWorld : public coParkWorld {
  public:
    coCavernWorld() { coSetParkWorld(this); }
    ~coCavernWorld() override { coSetParkWorld(nullptr); }
    std::string GetEnvironmentName() const override { return name; }
    bool GetEnvironmentShadowsOn() const override { return shadows; }
    std::string name = "cavern";
    bool shadows = true;
};

class coShadowDefinition : public coCoasterDefinition {
  public:
    coShadowDefinition() {
        SetCoasterTypeName("Steel");
        coSetCoasterDefinition(this);
    }
    ~coShadowDefinition() override { coSetCoasterDefinition(nullptr); }
};

class coRideCarsTest : public g3dRendererFixture {
  protected:
    void SetUp() override {
        g3dRendererFixture::SetUp();
        g3dTextureManager::Initialize();
        g3dSelectTextureFormats();
        fsResetRootTable();
        fsAddRootDirectory(coRootThemes, m_folder.Locator("Themes"));
        fsAddRootDirectory(coRootEffects, m_folder.Locator("Effects"));
        coSetThemeName("Fair");
        // Three points along x: a box from (0, 0, 0) to (2, 0, 0), half-diagonal 1.
        const std::string model = mayModelBytes::File(mayModelBytes::Fragment(3, 1));
        m_folder.Write("Themes/Fair/Tracks/Steel/Model/carlead.mx", model);
        m_folder.Write("Themes/Fair/Tracks/Steel/Model/carfoll.mx", model);
        m_folder.Write("Themes/Fair/Texture/flame.png",
                       g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')}));
        m_folder.Write("Effects/Particle/coasterflame.tpr",
                       scTprBytes::Tpr(scTprBytes::Sgpp(1, 0, 1, "flame.png", {})));
        // The game's words for what the cars report, as its own texts are laid out.
        m_folder.MakeFolder("Errors");
        gfWriteTextSet(m_folder.Locator("Errors/coErrors.tsf"), 32,
                       {{coErrorUnreadableGameFileGoesOn, u"File goes on.\n"},
                        {coErrorCutShort, u"Cut short."},
                        {coErrorDamagedContent, u"Damaged."}});
        gfWriteTextSet(m_folder.Locator("Errors/fsErrors.tsf"), 32, {{4, u"Missing.\n"}});
        const fsLocator errors = m_folder.Locator("Errors");
        gfErrorHandler::Init(&errors);
        gfErrorHandler::RegisterPackage(coErrorPackage, envString("coErrors.tsf"));
        gfErrorHandler::SetDisplayer(&m_errors);
        m_updateListBefore = scGetUpdateListCount();
    }
    void TearDown() override {
        m_cars.FreeCars();
        EXPECT_EQ(scGetUpdateListCount(), m_updateListBefore);
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        gfErrorHandler::Shutdown();
        coPrefs::SetSessionFlag(coSessionCarFlames, 0);
        coPrefs::SetBool(coPrefCarShadows, false);
        coPrefs::SetBool(coPrefTrackShadows, false);
        coSetThemeName("");
        fsResetRootTable();
        g3dRendererFixture::TearDown();
    }

    fsTestFolder m_folder;
    coShadowDefinition m_definition;
    scListParticleScene m_scene;
    gfRecordingDisplayer m_errors;
    u32 m_updateListBefore = 0;
    coRideCars m_cars{Report};

    // As the game tells what the cars could not use.
    static void Report() { coReportCurrentException(); }
};

} // namespace

TEST_F(coRideCarsTest, TrainsBuildTheirCarsInOrderOnTheUpdateListAndFreeThemWhole) {
    m_cars.BuildCars(2, 4);
    ASSERT_EQ(m_cars.GetCarCount(), 8);
    EXPECT_EQ(scGetUpdateListCount(), m_updateListBefore + 8);
    const auto& cars = m_cars.GetCars();
    for (const auto& car : cars)
        EXPECT_TRUE(scIsInUpdateList(car.get()));
    // Lead cars at 0 and 4 show the lead model, the others the follower's.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(cars[size_t(i)]->GetFragment(), cars[i % 4 == 0 ? 0 : 1]->GetFragment()) << i;
    EXPECT_NE(cars[0]->GetFragment(), cars[1]->GetFragment());
    EXPECT_TRUE(m_cars.GetFlames().empty());

    m_cars.PlaceCar(3, {1, 2, 3}, maRotation());
    EXPECT_EQ(cars[3]->GetBoundingBox().GetMin(), maVector3d(1, 2, 3));
    EXPECT_THROW(m_cars.PlaceCar(8, {}, maRotation()), std::out_of_range);

    // A second build replaces the first; freeing leaves the lists as they were and no fragment behind.
    m_cars.BuildCars(1, 3);
    EXPECT_EQ(scGetUpdateListCount(), m_updateListBefore + 3);
    m_cars.FreeCars();
    EXPECT_EQ(std::tuple(m_cars.GetCarCount(), scGetUpdateListCount(), g3dFragmentManager::GetFirstFragment(),
                         m_errors.shown.empty()),
              std::tuple(0, m_updateListBefore, nullptr, true));
}

TEST_F(coRideCarsTest, RunFlagZeroPutsOneFlameOnEveryCarWhenTheTemplateIsThere) {
    struct Case {
        u8 flag;
        bool templatePresent;
        size_t flames;
    };
    for (const Case c : {Case{1, true, 8}, Case{0, true, 0}, Case{1, false, 0}}) {
        coPrefs::SetSessionFlag(coSessionCarFlames, c.flag);
        if (!c.templatePresent)
            std::filesystem::remove(m_folder.Path("Effects/Particle/coasterflame.tpr"));
        m_cars.BuildCars(2, 4);
        ASSERT_EQ(m_cars.GetFlames().size(), c.flames) << int(c.flag) << c.templatePresent;
        for (size_t i = 0; i < c.flames; ++i) {
            scSpriteGroupParticleGenerator* flame = m_cars.GetFlames()[i];
            EXPECT_EQ(std::tuple(scIsInUpdateList(flame), flame->GetEmitOffset(), flame->GetEmitDirection(),
                                 scGetAttachmentsOf(m_cars.GetCars()[i].get()).size()),
                      std::tuple(true, maVector3d(0, 3, 2), maVector3d(0, 1, -1), 1u))
                << i;
        }
        EXPECT_EQ(scGetUpdateListCount(), m_updateListBefore + 8 + c.flames);
        m_cars.FreeCars();
        EXPECT_EQ(scGetUpdateListCount(), m_updateListBefore);
    }
    EXPECT_TRUE(m_errors.shown.empty());
}

// A car model or flame that cannot be used is told once, in the game's words, naming its file; a train
// without both models has no cars, never half a train, and cars whose flame failed run bare.
TEST_F(coRideCarsTest, AnUnusableCarFileIsNamedOnceAndLeavesNoHalfTrain) {
    const std::string model = mayModelBytes::File(mayModelBytes::Fragment(3, 1));
    const std::string lead = "Themes/Fair/Tracks/Steel/Model/carlead.mx";
    const std::string follower = "Themes/Fair/Tracks/Steel/Model/carfoll.mx";
    const std::string flame = "Effects/Particle/coasterflame.tpr";
    const std::string flameBytes = m_folder.Read(flame);
    const struct {
        std::string file;
        std::string bytes; // none: the file is removed
        int cars;
        std::string said; // before the file's path, and after it
        std::string cause;
    } rows[] = {
        {lead, {}, 0, "Missing.\n", ""},
        {follower, model.substr(0, model.size() / 2), 0, "File goes on.\n", "\nDamaged."},
        {follower, mayModelBytes::File(""), 0, "File goes on.\n", "\nDamaged."},
        {flame, flameBytes.substr(0, flameBytes.size() / 2), 8, "File goes on.\n", "\nDamaged."},
    };
    for (const auto& row : rows) {
        m_folder.Write(lead, model);
        m_folder.Write(follower, model);
        m_folder.Write(flame, flameBytes);
        if (row.bytes.empty())
            std::filesystem::remove(m_folder.Path(row.file));
        else
            m_folder.Write(row.file, row.bytes);
        m_errors.shown.clear();
        coPrefs::SetSessionFlag(coSessionCarFlames, 1);
        m_cars.BuildCars(2, 4);
        EXPECT_EQ(std::tuple(m_cars.GetCarCount(), m_cars.GetFlames().size(), scGetUpdateListCount()),
                  std::tuple(row.cars, 0u, m_updateListBefore + u32(row.cars)))
            << row.file;
        ASSERT_EQ(m_errors.shown.size(), 1u) << row.file;
        EXPECT_EQ(m_errors.shown[0].message, row.said + m_folder.Path(row.file) + row.cause);
        m_cars.FreeCars();
        EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr) << row.file;
    }
}

TEST_F(coRideCarsTest, TheCavernHeadlightHoldsOneTextureAndASphereRoundTheTrain) {
    coCavernWorld world;
    coPrefs::SetBool(coPrefCarShadows, true);
    coPrefs::SetBool(coPrefTrackShadows, true);
    EXPECT_EQ(m_cars.RenderCavernHeadlight().cars, nullptr); // no cars yet
    m_cars.BuildCars(1, 2);
    // Boxes of half-diagonal 1 centred at (0, 0, 0) and (0, 0, 4).
    m_cars.PlaceCar(0, {-1, 0, 0}, maRotation());
    m_cars.PlaceCar(1, {-1, 0, 4}, maRotation());
    const size_t created = Calls("CreateTexture").size();
    coCavernHeadlight light = m_cars.RenderCavernHeadlight();
    ASSERT_EQ(light.cars, &m_cars.GetCars());
    EXPECT_EQ(light.centre, maVector3d(0, 0, 2));
    EXPECT_FLOAT_EQ(light.radius, 3.0f);
    ASSERT_NE(light.texture, nullptr);
    EXPECT_EQ(std::tuple(light.texture->GetWidth(), light.texture->GetHeight()), std::tuple(256, 256));
    EXPECT_EQ(light.texture->GetPixelFormat().ToD3DFormat(), g2dScreen::GetPixelFormat()->ToD3DFormat());
    for (const g3dARGBColor& c :
         {light.material->GetAmbient(), light.material->GetDiffuse(), light.material->GetSpecular()})
        EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0 && c.a == 1);
    const g3dARGBColor& glow = light.material->GetEmissive();
    EXPECT_TRUE(glow.r == 0.3f && glow.g == 0.3f && glow.b == 0.3f && glow.a == 1);
    EXPECT_EQ(light.camera, m_cars.RenderCavernHeadlight().camera);

    // One texture while held, made again in place after a device loss.
    EXPECT_EQ(m_cars.RenderCavernHeadlight().texture, light.texture);
    EXPECT_EQ(Calls("CreateTexture").size(), created + 1);
    Device().InjectLoss(0);
    g2dScreen::EndFrame();
    EXPECT_EQ(m_cars.RenderCavernHeadlight().texture, light.texture);
    EXPECT_EQ(Calls("CreateTexture").size(), created + 2);

    // A new train releases the texture: a receiver culled at the last cast no longer holds it.
    g3dMaterial ground;
    scSimpleMovableObject receiver(Quad(&ground), 0);
    scAddSceneObject(&receiver);
    g3dCamera projector;
    scSetUpProjector(3.0f, {0, 0, 0}, {0, -1, 0}, projector);
    scApplyProjectedTexture(projector, light.texture);
    ASSERT_EQ(ground.GetStageCount(), 1u);
    receiver.SetCulled(true);
    m_cars.BuildCars(1, 2);
    EXPECT_EQ(ground.GetStageCount(), 0u);
    scRemoveSceneObject(&receiver);
    m_cars.PlaceCar(0, {-1, 0, 0}, maRotation());
    m_cars.PlaceCar(1, {-1, 0, 4}, maRotation());

    coPrefs::SetBool(coPrefTrackShadows, false);
    EXPECT_EQ(m_cars.RenderCavernHeadlight().texture, nullptr);
    EXPECT_NE(m_cars.RenderCavernHeadlight().cars, nullptr);

    // Any other environment, or no shadows, hands out no car list.
    world.name = "Cavern";
    EXPECT_EQ(m_cars.RenderCavernHeadlight().cars, nullptr);
    world.name = "cavern";
    world.shadows = false;
    EXPECT_EQ(m_cars.RenderCavernHeadlight().cars, nullptr);
    world.shadows = true;
    m_definition.SetNeedsShadow(false);
    EXPECT_EQ(m_cars.RenderCavernHeadlight().cars, nullptr);
}

TEST_F(coRideCarsTest, AMissingLeadModelLetsTheRideRunItsLapWithoutCars) {
    std::filesystem::remove(m_folder.Path("Themes/Fair/Tracks/Steel/Model/carlead.mx"));
    coCircuitClear();
    coSetTrainDragOn(0);
    coBuildR1();
    coCircuitClose();
    appInitTime();
    coStartRideCars([] { coReportCurrentException(); });
    coRideStart(4, true, 1);
    coRideLaunchTrain(0);
    int frames = 0;
    for (; coRideIsRunning() && frames < 2000; ++frames) {
        appClock::SetTime(0.0f, 0.05f);
        coRideUpdate(maVector3d());
    }
    EXPECT_LT(frames, 2000);
    EXPECT_EQ(std::tuple(coGetCarCount(), m_errors.shown.size(), coRenderCavernHeadlight().cars),
              std::tuple(0, 1u, nullptr));
    coRideClear();
    coStopRideCars();
    coCircuitClear();
    coSetTrainDragOn(1);
}
