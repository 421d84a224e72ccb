// Generators made from templates, and joined to and deleted from a recording scene.
#include "Engine/Graphics/Sc/scParticleFactory.h"

#include "Engine/Graphics/An/anConstantAnimation.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scEmitter.h"
#include "Engine/Graphics/Sc/scParticleAttachment.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

// The update list and the attachments placed on objects; deleting an object deletes it and the
// attachments on it.
class RecordingScene : public scParticleScene {
  public:
    ~RecordingScene() override {
        for (scObject* object : updateList)
            delete object;
    }
    void AddToUpdateList(scObject* object) override { updateList.push_back(object); }
    void DeleteObject(scObject* object) override {
        deleted.push_back(object);
        std::erase(updateList, object);
        delete object;
    }
    std::vector<scAttachment*> GetAttachmentsOf(scObject* object) override {
        std::vector<scAttachment*> list;
        for (auto& attachment : attachments[object])
            list.push_back(attachment.get());
        return list;
    }

    std::vector<scObject*> updateList;
    std::vector<scObject*> deleted;
    std::map<scObject*, std::vector<std::unique_ptr<scAttachment>>> attachments;
};

class scParticleFactoryTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g3dRenderer::Initialize();
        scSetParticleScene(&m_scene);
    }
    void TearDown() override {
        scSetParticleScene(nullptr);
        g2dScreenFixture::TearDown();
    }

    RecordingScene m_scene;
};

// Something that carries attachments and is never updated.
struct Holder : scObject {
    void Update(float) override {}
};

} // namespace

TEST_F(scParticleFactoryTest, TemplatesMakeTheirKindWithTheirSettings) {
    scParticleGeneratorTemplate source;
    source.generatorType = 3;
    EXPECT_EQ(scCreateParticleGenerator(source, 0.0f, 2), nullptr);
    EXPECT_TRUE(m_scene.updateList.empty());

    source.emitterType = 2;
    source.frameMode = 1;
    source.growthMode = 0;
    source.lightingMode = 0;
    source.SetParameters(
        {3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f, 11.0f, 12.0f, 13.0f, 14.0f, 15.0f, 0.5f});
    const struct {
        int type;
        int parameterCount;
        bool (*isKind)(scParticleGenerator*);
    } kinds[] = {
        {0, 14,
         [](scParticleGenerator* g) { return dynamic_cast<scStaticParticleGenerator*>(g) != nullptr; }},
        {1, 18, [](scParticleGenerator* g) { return dynamic_cast<scConeParticleGenerator*>(g) != nullptr; }},
        {2, 26,
         [](scParticleGenerator* g) { return dynamic_cast<scSpiralParticleGenerator*>(g) != nullptr; }},
    };
    for (const auto& kind : kinds) {
        source.generatorType = kind.type;
        scSpriteGroupParticleGenerator* g = scCreateParticleGenerator(source, 1.5f, 2);
        ASSERT_TRUE(kind.isKind(g));
        EXPECT_EQ(m_scene.updateList.back(), g);
        EXPECT_NE(dynamic_cast<scCircleEmitter*>(g->GetEmitter()), nullptr);
        EXPECT_EQ(g->GetAnimation(), nullptr) << "a template without a curve gives none";
        EXPECT_EQ(g->GetFrameMode(), 1);
        EXPECT_EQ(g->GetGrowthMode(), 0);
        EXPECT_FALSE(g->IsLit());
        // The template's values by index over the kind's defaults; the spiral keeps its own beyond.
        for (int i = 0; i < 14; ++i)
            EXPECT_EQ(g->GetParameter(i), source.GetParameter(i)) << i;
        if (kind.type == 2) {
            EXPECT_EQ(g->GetParameter(24), 3.0f);
        }
        EXPECT_EQ(std::max(g->GetParameterCount(), 14), kind.parameterCount);
    }

    // An emitter type the template does not know: the generator makes its own point emitter.
    source.emitterType = 7;
    scSpriteGroupParticleGenerator* pointed = scCreateParticleGenerator(source, 0.0f, 2);
    EXPECT_EQ(pointed->GetEmitter(), nullptr);
    pointed->Update(0.0f);
    EXPECT_NE(dynamic_cast<scPointEmitter*>(pointed->GetEmitter()), nullptr);

    anConstantAnimation<float> half;
    half.SetValue(0.5f);
    source.SetAnimation(half);
    scSpriteGroupParticleGenerator* curved = scCreateParticleGenerator(source, 0.0f, 2);
    ASSERT_NE(curved->GetAnimation(), nullptr);
    EXPECT_NE(curved->GetAnimation(), source.GetAnimation());
    EXPECT_EQ(curved->GetAnimation()->Evaluate(0.3f), 0.5f);
}

TEST_F(scParticleFactoryTest, GeneratorsOfAnObjectAreDeletedOnce) {
    scParticleGeneratorTemplate source;
    scParticleGenerator* shared = scCreateParticleGenerator(source, 0.0f, 2);
    scParticleGenerator* own = scCreateParticleGenerator(source, 0.0f, 2);
    scParticleGenerator* elsewhere = scCreateParticleGenerator(source, 0.0f, 2);
    Holder holder, other;
    auto attach = [&](scObject* object, scParticleGenerator* generator) {
        auto attachment = std::make_unique<scParticleAttachment>();
        attachment->SetGenerator(generator);
        m_scene.attachments[object].push_back(std::move(attachment));
    };
    attach(&holder, shared);
    attach(&holder, shared);
    attach(&holder, own);
    attach(&other, elsewhere);
    struct Plain : scAttachment {
        void UpdateTransform(const maVector3d&, const maRotation&) override {}
    };
    m_scene.attachments[&holder].push_back(std::make_unique<Plain>());

    scDeleteParticleGeneratorsOf(&holder);
    EXPECT_EQ(m_scene.deleted.size(), 2u);
    EXPECT_EQ(std::count(m_scene.deleted.begin(), m_scene.deleted.end(), shared), 1);
    EXPECT_EQ(std::count(m_scene.deleted.begin(), m_scene.deleted.end(), own), 1);
    for (auto& attachment : m_scene.attachments[&holder])
        if (auto* carrier = dynamic_cast<scParticleAttachment*>(attachment.get())) {
            EXPECT_TRUE(carrier->IsFinished());
        }
    EXPECT_EQ(m_scene.updateList, std::vector<scObject*>{elsewhere});
    m_scene.attachments.clear();
}
