// The update list, culling, generator deletion and attachments, on the test device.
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "../G3d/g3dRendererFixture.h"
#include "Engine/Core/Ma/maTestNear.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scAttachment.h"
#include "Engine/Graphics/Sc/scGeneratorEvents.h"
#include "Engine/Graphics/Sc/scHierarchyObject.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scParticleAttachment.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGenerator.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"

#include <functional>
#include <string>

namespace {

std::vector<std::string> g_events;

// Records its updates; an update may run an extra step.
class Probe : public scObject {
  public:
    explicit Probe(std::string name, maBoundingBox box = {}) : m_name(std::move(name)) {
        SetBoundingBox(box);
    }
    ~Probe() override { g_events.push_back(m_name + " deleted"); }
    void Update(float) override {
        g_events.push_back(m_name);
        if (onUpdate)
            onUpdate();
    }
    std::function<void()> onUpdate;

  private:
    std::string m_name;
};

// Finishes in its update at the given time.
class TestGenerator : public scParticleGenerator {
  public:
    explicit TestGenerator(float finishAt) : scParticleGenerator(0.0f), m_finishAt(finishAt) {}
    ~TestGenerator() override { g_events.push_back("generator deleted"); }
    void Update(float time) override {
        scParticleGenerator::Update(time);
        if (time >= m_finishAt)
            SetFinished();
    }
    void SetPosition(const maVector3d& p) override { StorePosition(p); }
    void SetRotation(const maRotation& r) override { StoreRotation(r); }
    void SetPositionRotation(const maVector3d& p, const maRotation& r) override {
        StorePositionRotation(p, r);
    }
    void SetScale(const maVector3d& s) override { StoreScale(s); }

  private:
    float m_finishAt;
};

class Watcher : public scGeneratorEventHandler {
  public:
    explicit Watcher(std::string name) : m_name(std::move(name)) {}
    void OnGeneratorRemoved(scParticleGenerator* generator) override {
        // Told while the generator is still whole.
        g_events.push_back(m_name + " told " + std::to_string(generator->IsFinished()));
    }

  private:
    std::string m_name;
};

// Keeps where it was last put; finished on demand.
class Follower : public scAttachment {
  public:
    explicit Follower(std::string name) : m_name(std::move(name)) {}
    ~Follower() override { g_events.push_back(m_name + " deleted"); }
    void UpdateTransform(const maVector3d& p, const maRotation&) override { position = p; }
    bool IsFinished() override { return finished; }
    maVector3d position{-1, -1, -1};
    bool finished = false;

  private:
    std::string m_name;
};

maBoundingBox Box(float x0, float y0, float z0, float x1, float y1, float z1) {
    maBoundingBox box;
    box.AddPoint({x0, y0, z0});
    box.AddPoint({x1, y1, z1});
    return box;
}

class scSceneManagerTest : public g3dRendererFixture {
  protected:
    void SetUp() override {
        g3dRendererFixture::SetUp();
        g_events.clear();
    }
    void TearDown() override {
        EXPECT_EQ(scGetUpdateListCount(), 0u);
        g3dRendererFixture::TearDown();
    }
};

} // namespace

TEST_F(scSceneManagerTest, UpdatesOnceInOrderAndSurvivesRemovalsDuringTheWalk) {
    Probe a("a"), c("c");
    auto* b = new Probe("b");
    auto* d = new Probe("d");
    for (scObject* object : std::initializer_list<scObject*>{&a, b, &a, &c, d})
        scAddToUpdateList(object);
    EXPECT_EQ(scGetUpdateListCount(), 4u);
    // b deletes itself and the next object's neighbour; a deletes d directly, as an owner may.
    a.onUpdate = [d] { delete d; };
    b->onUpdate = [b, &c] {
        scRemoveFromUpdateList(&c);
        scDeleteObject(b);
    };
    scUpdateAll(1.0f);
    EXPECT_EQ(g_events, (std::vector<std::string>{"a", "d deleted", "b", "b deleted"}));
    EXPECT_EQ(scGetUpdateListCount(), 1u);
    EXPECT_FALSE(scIsInUpdateList(&c));
    a.onUpdate = nullptr;
    g_events.clear();
    scUpdateAll(2.0f);
    EXPECT_EQ(g_events, std::vector<std::string>{"a"});
    scRemoveFromUpdateList(&a);
    scRemoveFromUpdateList(&a);
}

TEST_F(scSceneManagerTest, CullsWhatLiesWhollyBeyondOnePlane) {
    // At the origin looking down +z, 90 degrees across, planes at 5 and 10000.
    g3dCamera camera;
    maMatrix4d view, projection;
    camera.GetViewMatrix(view);
    camera.GetProjectionMatrix(projection);
    const maMatrix4d viewProjection = view * projection;
    const struct {
        const char* what;
        maBoundingBox box;
        bool culled;
    } cases[] = {
        {"in front", Box(-1, -1, 20, 1, 1, 22), false},
        {"behind", Box(-1, -1, -22, 1, 1, -20), true},
        {"across the near plane", Box(-1, -1, -3, 1, 1, 8), false},
        {"past the far plane", Box(-1, -1, 20000, 1, 1, 20010), true},
        {"left", Box(-90, -1, 20, -50, 1, 22), true},
        {"right", Box(50, -1, 20, 90, 1, 22), true},
        {"above", Box(-1, 50, 20, 1, 90, 22), true},
        {"below", Box(-1, -90, 20, 1, -50, 22), true},
        {"across the left and right planes", Box(-100, -1, 20, 100, 1, 22), false},
        {"empty", maBoundingBox(), false},
    };
    for (const auto& c : cases) {
        Probe probe(c.what, c.box);
        probe.SetCulled(!c.culled);
        scAddToUpdateList(&probe);
        scCullObjects(viewProjection);
        EXPECT_EQ(probe.IsCulled(), c.culled) << c.what;
        EXPECT_EQ(scIsOutsideFrustum(viewProjection, probe), c.culled) << c.what;
    }

    // A hidden object keeps its byte; a skipped one keeps it for one pass.
    Probe hidden("hidden", Box(-1, -1, -22, 1, 1, -20)), skipped("skipped", Box(-1, -1, -22, 1, 1, -20));
    hidden.SetVisible(false);
    skipped.SetSkipCullOnce(true);
    scAddToUpdateList(&hidden);
    scAddToUpdateList(&skipped);
    scCullObjects(viewProjection);
    EXPECT_FALSE(hidden.IsCulled());
    EXPECT_FALSE(skipped.IsCulled());
    EXPECT_FALSE(skipped.GetSkipCullOnce());
    scCullObjects(viewProjection);
    EXPECT_FALSE(hidden.IsCulled());
    EXPECT_TRUE(skipped.IsCulled());
}

TEST_F(scSceneManagerTest, FinishedGeneratorGoesInTheSameUpdateAfterItsHandlers) {
    auto* generator = new TestGenerator(2.0f);
    Watcher first("first"), second("second");
    scRegisterGeneratorEventHandler(&second, generator);
    scRegisterGeneratorEventHandler(&first, generator);
    scAddToUpdateList(generator);
    scAddAttachmentRecord(new Follower("rider"), generator, nullptr);
    scUpdateAll(1.0f);
    EXPECT_TRUE(g_events.empty());
    scUpdateAll(2.0f);
    EXPECT_EQ(g_events, (std::vector<std::string>{"second told 1", "first told 1", "rider deleted",
                                                  "generator deleted"}));
    EXPECT_TRUE(scGetGeneratorsWatchedBy(&first).empty());
}

TEST_F(scSceneManagerTest, AttachmentsFollowTheirNodesAndLeaveWithTheirObjects) {
    // A tree with an arm one unit along x, placed at z = 5.
    g3dHFragment root;
    auto arm = std::make_unique<g3dHFragment>();
    arm->SetName("arm");
    arm->GetLocalMatrix().Translate(1, 0, 0);
    root.AddChild(std::move(arm));
    auto* hierarchy = new scHierarchyObject(root, 0);
    hierarchy->SetPosition({0, 0, 5});
    // A skin whose hip joint is one up in its own space, placed at x = 2.
    const maVector3d bind[3] = {};
    const u16 indices[3] = {0, 1, 2};
    scSingleSkinObject skin(
        g3dFragmentManager::CreateFragmentPNT(bind, bind, 3, indices, 3, nullptr, nullptr, 0, true), {}, {},
        0);
    auto hip = std::make_unique<scJoint>();
    hip->SetName("hip");
    hip->GetLocalMatrix().Translate(0, 1, 0);
    skin.SetJointTree(std::move(hip));
    skin.SetPosition({2, 0, 0});
    scStaticObject placed({0, 3, 0}, maRotation(), {1, 1, 1}, Keep(g3dFragmentManager::CreateBox(1, 1, 1)),
                          0);
    Probe bare("bare");

    const struct {
        scObject* object;
        const char* node;
        maVector3d expected;
    } cases[] = {
        {hierarchy, "arm", {1, 0, 5}}, {hierarchy, "nothing", {0, 0, 5}}, {&skin, "hip", {2, 1, 0}},
        {&placed, "any", {0, 3, 0}},   {&bare, "none", {-1, -1, -1}},
    };
    std::vector<Follower*> followers;
    for (const auto& c : cases) {
        followers.push_back(new Follower(c.node));
        scAttachToNode(followers.back(), c.object, c.node);
    }
    scUpdateAll(0.0f);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].node);
        ExpectNear(followers[i]->position, cases[i].expected, 1e-5f);
    }

    // Finished: deleted by the walk. Detached: the owner keeps it. Deleted object: its attachments go.
    followers[3]->finished = true;
    Follower kept("kept");
    scAddAttachmentRecord(&kept, &bare, nullptr);
    scDetachAttachment(&kept);
    g_events.clear();
    scUpdateAll(1.0f);
    EXPECT_EQ(g_events, std::vector<std::string>{"any deleted"});
    g_events.clear();
    delete hierarchy;
    EXPECT_EQ(g_events, (std::vector<std::string>{"arm deleted", "nothing deleted"}));
    EXPECT_EQ(scGetAttachmentsOf(&skin).size(), 1u);
    scRemoveAttachmentsOf(&skin);
    scRemoveAttachmentsOf(&bare);
    g_events.clear();
}

TEST_F(scSceneManagerTest, StartedPackageIsTheParticleFactorysScene) {
    scInitialize();
    Probe holder("holder");
    auto* generator = new TestGenerator(100.0f);
    scAddToUpdateList(generator);
    auto* carrier = new scParticleAttachment;
    carrier->SetGenerator(generator);
    scAddAttachmentRecord(carrier, &holder, nullptr);
    // The factory finds the generator through the lists' attachments and deletes it through them.
    scDeleteParticleGeneratorsOf(&holder);
    EXPECT_EQ(g_events, std::vector<std::string>{"generator deleted"});
    EXPECT_TRUE(carrier->IsFinished());
    scUpdateAll(1.0f);
    EXPECT_TRUE(scGetAttachmentsOf(&holder).empty());
    scShutdown();
}
