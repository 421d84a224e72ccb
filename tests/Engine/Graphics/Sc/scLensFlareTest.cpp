#include "Engine/Graphics/Sc/scLensFlare.h"
#include "../G3d/g3dRendererFixture.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envString.h"

#include <map>

namespace {

struct TestTexture : g3dTexture {};

// Knows "glow.png" and "ring.png", throws for any other name, and counts what is out.
class MapLoader : public g3dTextureLoader {
  public:
    explicit MapLoader(std::map<g3dTexture*, int>& out) : m_out(out) {}
    g3dTexture* GetTexture(const envString& name) override {
        g3dTexture* texture = name == envString("glow.png")   ? &glow
                              : name == envString("ring.png") ? &ring
                                                              : throw envExceptionX();
        ++m_out[texture];
        return texture;
    }
    void ReleaseTexture(g3dTexture* texture) override { --m_out[texture]; }
    TestTexture glow, ring;

  private:
    std::map<g3dTexture*, int>& m_out;
};

class SaysHidden : public scLFVisCompute {
  public:
    bool IsVisible(const scLensFlare&) override { return false; }
};

// One flare of elements at the axis positions, with a projection whose w is the point's z: the source
// at (0, 0, z) lands on the centre of the 64 x 48 screen, (32, 24), when z is positive.
class scLensFlareTest : public g3dRendererFixture {
  protected:
    void SetUp() override {
        g3dRendererFixture::SetUp();
        scLensFlarePackageStart();
        maMatrix4d projection;
        projection.m[11] = 1.0f;
        projection.m[15] = 0.0f;
        g3dRenderer::SetViewMatrix(maMatrix4d());
        g3dRenderer::SetProjectionMatrix(projection);
    }
    void TearDown() override {
        scLensFlarePackageStop();
        g3dRendererFixture::TearDown();
    }
    scLensFlare& AddFlare(std::initializer_list<f32> axisPositions) {
        auto flare = std::make_unique<scLensFlare>();
        for (f32 t : axisPositions) {
            auto element = std::make_unique<scLensFlareElement>(3);
            element->SetAxisPosition(t);
            flare->AddElement(std::move(element));
        }
        scLensFlare& added = *flare;
        scAddLensFlare(std::move(flare));
        return added;
    }
    static g3dScreenVertex Corner(const scLensFlareElement& element, u32 i) {
        return VertexAt<g3dScreenVertex>(*element.GetFragment(), i);
    }
};

} // namespace

TEST_F(scLensFlareTest, ElementsShowOnlyForAVisibleSourceOnTheScreen) {
    scLensFlare& flare = AddFlare({0.0f, 0.5f});
    const scLensFlareElement& element = *flare.GetElements()[0];
    const struct {
        maVector3d source;
        i32 width;
        bool shown;
    } cases[] = {
        {{0, 0, 2}, 64, true},
        {{0, 0, -2}, 64, false},     // behind the eye, although the test says visible
        {{0, 0, 2}, 32, true},       // sx = W
        {{0, 0, 2}, 31, false},      // one past
        {{-1e30f, 0, 1}, 64, false}, // far past the int range to the side
        {{0, 1e30f, 1}, 64, false},
    };
    for (const auto& c : cases) {
        flare.SetSourcePosition(c.source);
        flare.Update(c.width, 48);
        EXPECT_EQ(element.IsShown(), c.shown) << c.source.x << " " << c.source.z << " " << c.width;
    }

    // A failed test hides the elements and keeps them; the next success shows them again.
    flare.SetSourcePosition({0, 0, 2});
    scSetLFVisCompute(std::make_unique<SaysHidden>());
    scUpdateLensFlares();
    EXPECT_FALSE(element.IsShown());
    EXPECT_EQ(flare.GetElements().size(), 2u);
    scSetLFVisCompute(std::make_unique<scLFVisCompute>());
    scUpdateLensFlares();
    EXPECT_TRUE(element.IsShown());

    // A disabled flare is left as it stands.
    flare.SetEnabled(false);
    flare.SetSourcePosition({0, 0, -2});
    scUpdateLensFlares();
    EXPECT_TRUE(element.IsShown());
}

TEST_F(scLensFlareTest, ElementsLieOnTheAxisAtTheirCappedSize) {
    scLensFlare& flare = AddFlare({0.5f, 0.0f});
    flare.SetSourcePosition({0.5f, 0.5f, 1}); // off the centre, mirrored in x
    flare.SetSizeScale(0.25f);
    flare.GetElements()[0]->GetMaterial().SetDiffuse({1.0f, 0.5f, 0.0f, 0.2f});
    scUpdateLensFlares();
    // Axis 0.5 sits on the centre of the even-rounded screen, 16 pixels wide (64 x 0.25).
    const g3dScreenVertex first = Corner(*flare.GetElements()[0], 0);
    const g3dScreenVertex third = Corner(*flare.GetElements()[0], 2);
    EXPECT_EQ(first.x, 24.0f);
    EXPECT_EQ(first.y, 16.0f);
    EXPECT_EQ(third.x, 39.0f);
    EXPECT_EQ(third.y, 31.0f);
    EXPECT_EQ(first.diffuse, 0xFFFF7F00u); // alpha forced to 1
    EXPECT_NE(Corner(*flare.GetElements()[1], 0).x, 24.0f);

    // 800 pixels wide, size scale 0.75: 600 wide, or 400 under a cap of 0.5.
    flare.SetSizeScale(0.75f);
    for (auto [cap, size] : {std::pair{1.0f, 600.0f}, {0.5f, 400.0f}}) {
        flare.SetMaximumSize(cap);
        flare.Update(800, 600);
        const scLensFlareElement& element = *flare.GetElements()[0];
        EXPECT_EQ(Corner(element, 1).x - Corner(element, 0).x + 1, size) << cap;
    }
}

TEST_F(scLensFlareTest, TexturesGoBackToTheLoaderThatMadeThemOnce) {
    std::map<g3dTexture*, int> out;
    auto first = std::make_unique<MapLoader>(out);
    g3dTexture* glow = &first->glow;
    g3dTexture* ring = &first->ring;
    scSetLensFlareTextureLoader(std::move(first));
    scLensFlare& flare = AddFlare({0.0f});
    scLensFlareElement& element = *flare.GetElements()[0];
    element.SetTexture("glow.png");
    element.SetTexture("ring.png");
    EXPECT_EQ(out[glow], 0);
    EXPECT_EQ(out[ring], 1);
    EXPECT_EQ(element.GetMaterial().GetStageCount(), 1u);

    // A throwing loader leaves the element untextured, with the old texture given back once.
    EXPECT_THROW(element.SetTexture("missing.png"), envExceptionX);
    EXPECT_EQ(out[ring], 0);
    EXPECT_EQ(element.GetTexture(), nullptr);
    EXPECT_EQ(element.GetMaterial().GetStageCount(), 0u);

    // A new loader: the old one gets its texture back before it goes.
    element.SetTexture("glow.png");
    scSetLensFlareTextureLoader(std::make_unique<MapLoader>(out));
    EXPECT_EQ(out[glow], 0);
    EXPECT_EQ(element.GetTexture(), nullptr);
    element.SetTexture("glow.png");
    scDeleteAllLensFlares();
    for (auto [texture, count] : out)
        EXPECT_EQ(count, 0);
}
