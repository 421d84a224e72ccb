// Particle generators run headless: emission, the particle walk, the mended edge cases and attachments.
#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Core/Ma/maTestNear.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/Sc/scBlockPool.h"
#include "Engine/Graphics/Sc/scEmitter.h"
#include "Engine/Graphics/Sc/scParticleAttachment.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

std::vector<const scParticle*> Particles(const scStaticParticleGenerator& g) {
    std::vector<const scParticle*> list;
    for (const scParticle* p = g.GetParticles(); p; p = p->Next())
        list.push_back(p);
    return list;
}

// A static generator of particles that live `life` seconds, emitting `rate` a second.
std::unique_ptr<scStaticParticleGenerator> Static(float rate, float life = 10.0f) {
    auto g = std::make_unique<scStaticParticleGenerator>(0.0f, 2);
    g->SetDuration(100.0f);
    g->SetParameter(0, life);
    g->SetParameter(1, life);
    g->SetParameter(2, rate);
    return g;
}

// Every value of every particle, bit for bit.
void Record(const scParticle* p, std::vector<u32>& bits) {
    for (; p; p = p->Next())
        for (float value : {p->position.x, p->position.y, p->position.z, p->rotation, p->alpha, p->size,
                            static_cast<float>(p->frame), p->age, p->life, p->angularSpeed})
            bits.push_back(std::bit_cast<u32>(value));
}

// The renderer's lists on the test device, for the generators' sprite groups.
class scParticleGeneratorTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g3dRenderer::Initialize();
    }
};

// A curve whose copy is another kind of animation.
class VectorCloningCurve : public an2StateAnimation<float> {
  public:
    std::unique_ptr<anAnimation> Clone() const override {
        return std::make_unique<an2StateAnimation<maVector2d>>();
    }
};

} // namespace

TEST_F(scParticleGeneratorTest, EmissionsFollowTheAccumulator) {
    // Updates at 0, then (with a warm-up) 0.125, then the second time.
    const struct {
        float rate, limit, secondTime;
        bool warmUp;
        u32 count;
        float accumulator;
    } cases[] = {
        {10.0f, 1000.0f, 0.25f, false, 2, 0.5f},  // 2.5 gives two and keeps a half
        {12.0f, 1000.0f, 0.25f, false, 2, 1.0f},  // exactly 3 gives two and keeps one
        {48.0f, 5.0f, 0.375f, true, 5, 13.0f},    // five alive, no room: the births wait
        {1e9f, 0.0f, 0.25f, false, 10000, 1.0f},  // no limit: the per-update cap, the fraction kept
        {1e9f, 1e30f, 0.25f, false, 10000, 1.0f}, // a limit too high to matter: the same cap
        {10.0f, 1000.0f, 0.0f, false, 0, 0.0f},   // no time passed
    };
    for (const auto& c : cases) {
        auto g = Static(c.rate);
        g->SetParameter(3, c.limit);
        g->SetPosition({1, 2, 3});
        g->Update(0.0f);
        EXPECT_EQ(g->GetParticleCount(), 0u) << "the first update only takes the time";
        if (c.warmUp)
            g->Update(0.125f);
        g->Update(c.secondTime);
        EXPECT_EQ(g->GetParticleCount(), c.count) << c.rate;
        EXPECT_EQ(g->GetAccumulator(), c.accumulator) << c.rate;
    }
}

TEST_F(scParticleGeneratorTest, AFullPoolEndsTheUpdatesBirths) {
    scBlockPool& pool = scStaticParticle::Pool();
    pool.Init(sizeof(scStaticParticle), 256, i64(pool.GetChunkSize()));
    {
        auto g = Static(1e9f);
        g->SetParameter(3, 0.0f);
        g->Update(0.0f);
        g->Update(1.0f);
        g->Update(2.0f);
        EXPECT_EQ(g->GetParticleCount(), 256u);
        EXPECT_EQ(g->GetAccumulator(), 1.0f);
    }
    pool.Init(sizeof(scStaticParticle), 256);
}

TEST_F(scParticleGeneratorTest, BirthsLieAlongThePathTurnedAndScaledByTheGenerator) {
    const maVector3d a(1, 2, 3), b(7, -4, 9);
    auto g = Static(14.0f); // 3.5 owed: three births
    g->SetEmitOffset({1, 0, 0});
    g->SetPosition(a);
    g->Update(0.0f);
    g->SetPosition(b);
    g->SetPositionRotation(b, maRotation({0, 1, 0}, maHalfPiF));
    g->SetScale({2, 2, 2});
    g->Update(0.25f);
    const std::vector<const scParticle*> born = Particles(*g);
    ASSERT_EQ(born.size(), 3u);
    maVector3d offset(2, 0, 0);
    maRotation({0, 1, 0}, maHalfPiF).Rotate(offset);
    for (int i = 0; i < 3; ++i)
        ExpectNear(born[i]->position, a + (b - a) * (float(i) / 3.0f) + offset, 1e-5f);
    const maBoundingBox& box = g->GetBoundingBox();
    ExpectNear(g->GetModel().GetPosition(), box.GetCenter(), 1e-5f);
    EXPECT_EQ(g->GetModel().GetFirstSprite(), g->GetParticles());
    EXPECT_LE(box.minX, born[0]->position.x);

    // Nothing alive and nothing born: an empty box, the group at the origin.
    auto idle = Static(0.0f);
    idle->SetPosition({5, 5, 5});
    idle->Update(0.0f);
    idle->Update(1.0f);
    ExpectNear(idle->GetModel().GetPosition(), {0, 0, 0}, 1e-5f);
    EXPECT_GT(idle->GetBoundingBox().minX, idle->GetBoundingBox().maxX);
}

TEST_F(scParticleGeneratorTest, LivesFramesAndGrowth) {
    // A life of 1 is alive at age 1 and gone once past it.
    auto g = Static(10.0f, 1.0f);
    g->Update(0.0f);
    g->Update(0.25f);
    g->SetParameter(2, 0.0f);
    for (float time : {0.5f, 0.75f, 1.0f, 1.25f}) {
        g->Update(time);
        ASSERT_EQ(g->GetParticleCount(), 2u) << time;
        EXPECT_EQ(Particles(*g)[0]->frame, -1) << "no animated texture";
    }
    EXPECT_EQ(Particles(*g)[0]->age, 1.0f);
    g->Update(1.5f);
    EXPECT_EQ(g->GetParticleCount(), 0u);

    // A random frame each, drawn once; or the frame that follows the age.
    auto flipBook = std::make_shared<g3dUVATexture>();
    flipBook->SetFrameCount(8);
    for (int mode : {1, 0}) {
        auto f = Static(40.0f, 4.0f);
        f->SetTexture(flipBook);
        f->SetFrameMode(mode);
        f->Update(0.0f);
        f->Update(0.5f);
        std::vector<i32> frames;
        for (const scParticle* p : Particles(*f))
            frames.push_back(p->frame);
        f->Update(1.5f);
        for (size_t i = 0; i < frames.size(); ++i) {
            const i32 frame = Particles(*f)[i]->frame;
            EXPECT_TRUE(frame >= 0 && frame < 8);
            EXPECT_EQ(frame, mode == 1 ? frames[i] : 2) << i; // age 1 of 4: frame 8 x 0.25
        }
    }

    // Lives of 0 and below end at the next update; growth by a factor of 0 empties the size once time
    // passes, and neither gives NaN.
    for (float life : {0.0f, -1.0f}) {
        auto d = Static(10.0f, life);
        d->Update(0.0f);
        d->Update(0.25f);
        ASSERT_EQ(d->GetParticleCount(), 2u);
        d->SetParameter(2, 0.0f);
        d->Update(0.5f);
        EXPECT_EQ(d->GetParticleCount(), 0u) << life;
    }
    auto vanishing = Static(10.0f);
    vanishing->SetParameter(5, 0.0f);
    vanishing->Update(0.0f);
    vanishing->Update(0.25f);
    vanishing->SetParameter(2, 0.0f);
    for (auto [time, size] : {std::pair{0.25f, 1.0f}, {0.5f, 0.0f}}) {
        vanishing->Update(time);
        for (const scParticle* p : Particles(*vanishing))
            EXPECT_EQ(p->size, size) << time;
    }
    auto linear = Static(10.0f);
    linear->SetGrowthMode(0);
    linear->SetParameter(5, -2.0f);
    linear->Update(0.0f);
    linear->Update(0.25f);
    linear->Update(0.5f);
    EXPECT_EQ(Particles(*linear)[0]->size, 0.5f);
}

TEST_F(scParticleGeneratorTest, SpiralsArePlacedAtBirthAndConesFly) {
    auto spiral = std::make_unique<scSpiralParticleGenerator>(0.0f, 2);
    spiral->SetParameter(0, -1.0f); // born past its life: placed all the same, then gone
    spiral->SetParameter(1, -1.0f);
    spiral->SetParameter(20, 0.0f);
    spiral->SetParameter(21, 0.0f);
    spiral->SetPosition({10, 0, 0});
    spiral->Update(0.0f);
    spiral->Update(0.25f);
    ASSERT_EQ(spiral->GetParticleCount(), 2u);
    // The axis velocity is (0, 1, 0): the circle lies in x-z, angle 0 at +x, radius 3.
    ExpectNear(spiral->GetParticles()->position, {13, 0, 0}, 1e-5f);
    spiral->SetParameter(2, 0.0f);
    spiral->Update(0.5f);
    EXPECT_EQ(spiral->GetParticleCount(), 0u);

    auto cone = std::make_unique<scConeParticleGenerator>(0.0f, 2);
    cone->SetParameter(12, 0.0f); // straight along the emit direction at 5 a second
    cone->SetParameter(15, 0.0f);
    cone->SetParameter(16, -2.0f);
    cone->SetParameter(17, 0.0f);
    cone->SetEmitDirection({1, 0, 0});
    cone->SetPosition({0, 0, 1});
    cone->Update(0.0f);
    cone->Update(0.125f);
    cone->SetParameter(2, 0.0f);
    cone->Update(1.125f);
    ExpectNear(cone->GetParticles()->position, {5, -1, 1}, 1e-5f);
}

TEST_F(scParticleGeneratorTest, OneSeedGivesOneRun) {
    auto run = [] {
        maRandomSeed(7);
        auto flipBook = std::make_shared<g3dUVATexture>();
        flipBook->SetFrameCount(8);
        scConeParticleGenerator cone(0.0f, 2);
        scSpiralParticleGenerator spiral(0.0f, 2);
        std::vector<u32> bits;
        for (scSpriteGroupParticleGenerator* g : {static_cast<scSpriteGroupParticleGenerator*>(&cone),
                                                  static_cast<scSpriteGroupParticleGenerator*>(&spiral)}) {
            g->SetEmitter(std::make_unique<scBlockEmitter>(1.0f, 2.0f, 3.0f));
            g->SetTexture(flipBook);
            g->SetFrameMode(1);
            g->SetParameter(8, -1.0f);
            g->SetParameter(9, 1.0f);
        }
        an2StateAnimation<float> fade;
        fade.SetStates(1.0f, 0.0f);
        fade.SetDuration(1.0f);
        cone.SetAnimation(fade);
        for (int frame = 0; frame < 40; ++frame) {
            const float time = frame * 0.05f;
            cone.SetPosition({time, 0, 0});
            cone.Update(time);
            spiral.Update(time);
            Record(cone.GetParticles(), bits);
            Record(spiral.GetParticles(), bits);
        }
        return bits;
    };
    const std::vector<u32> first = run();
    EXPECT_GT(first.size(), 1000u);
    EXPECT_EQ(run(), first);
}

TEST_F(scParticleGeneratorTest, AttachmentsFollowFadeOutAndHearOfDeletions) {
    auto g = Static(10.0f, 0.3f);
    auto attachment = std::make_unique<scParticleAttachment>();
    attachment->SetGenerator(g.get());
    attachment->UpdateTransform({4, 5, 6}, maRotation());
    ExpectNear(g->GetPosition(), {4, 5, 6}, 1e-5f);
    g->Update(0.0f);
    g->Update(0.25f);
    ASSERT_EQ(g->GetParticleCount(), 2u);

    // Gone: the generator expires at its next update, its particles live out their lives, and it
    // finishes at the update after the last one died.
    attachment.reset();
    g->Update(0.5f);
    EXPECT_TRUE(g->IsExpired());
    EXPECT_EQ(g->GetParticleCount(), 2u);
    g->Update(0.75f);
    EXPECT_EQ(g->GetParticleCount(), 0u);
    EXPECT_FALSE(g->IsFinished());
    g->Update(1.0f);
    EXPECT_TRUE(g->IsFinished());

    // A generator deleted by its owner tells its attachments, which then report finished.
    scParticleAttachment first, second;
    auto doomed = Static(10.0f);
    first.SetGenerator(doomed.get());
    second.SetGenerator(doomed.get());
    doomed.reset();
    EXPECT_TRUE(first.IsFinished() && second.IsFinished());
    EXPECT_EQ(first.GetGenerator(), nullptr);
    first.UpdateTransform({1, 1, 1}, maRotation());
}

TEST_F(scParticleGeneratorTest, SettersKeepTheirContracts) {
    auto g = Static(10.0f);
    VectorCloningCurve wrongKind;
    an2StateAnimation<float> fade;
    g->SetAnimation(fade);
    g->SetAnimation(wrongKind);
    EXPECT_EQ(g->GetAnimation(), nullptr);
    g->SetParameter(-1, 5.0f);
    g->SetParameter(14, 2.0f);
    EXPECT_EQ(g->GetParameter(13), 0.0f);
    EXPECT_EQ(g->GetParameter(-1), 0.0f);
    EXPECT_EQ(g->GetParameter(3), 1000.0f);

    // Shown exactly while visible and not culled; the renderer's group starts hidden.
    EXPECT_FALSE(g->GetModel().IsVisible());
    g->SetCulled(true);
    g->SetVisible(true);
    EXPECT_FALSE(g->GetModel().IsVisible());
    g->SetCulled(false);
    EXPECT_TRUE(g->GetModel().IsVisible());
}
