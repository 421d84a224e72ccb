// Particle templates read from ".tpr" files built byte by byte, and their textures on the test device.
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dTextureFixture.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "scParticleTemplateBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace scTprBytes;

namespace {

struct Fields {
    i32 generator, emitter;
    std::array<float, 3> size;
    i32 lighting, frame, growth;
    std::vector<float> parameters;
    fsLocator textureFile;
    bool hasCurve;
    float alphaAtKey; // the middle key of the test files

    bool operator==(const Fields&) const = default;
};

Fields Snapshot(const scParticleGeneratorTemplate& t) {
    Fields f{t.generatorType,
             t.emitterType,
             {t.emitterSize.x, t.emitterSize.y, t.emitterSize.z},
             t.lightingMode,
             t.frameMode,
             t.growthMode,
             {},
             t.textureFile,
             t.GetAnimation() != nullptr,
             0.0f};
    for (int i = 0; i < t.GetParameterCount(); ++i)
        f.parameters.push_back(t.GetParameter(i));
    if (t.GetAnimation())
        f.alphaAtKey = t.GetAnimation()->Evaluate(0.3f);
    return f;
}

class scParticleTemplateTest : public ::testing::Test {
  protected:
    void Load(const std::string& bytes, scParticleGeneratorTemplate& out) {
        scLoadParticleGeneratorTemplate(m_folder.Write("a.tpr", bytes), out);
    }
    fsTestFolder m_folder;
};

const std::string kFull =
    Tpr(Genp(1, 2, 3.0f, 4.0f, 5.0f) + Sgpp(0, 1, 0, "fire.png", {{0.5f, 1.0f}, {0.3f, 0.8f}, {1.0f, 0.0f}}) +
        Parp({1.5f, 2.5f, 30.0f}));

} // namespace

TEST_F(scParticleTemplateTest, ChunksSetTheirFieldsAndRepeatsOverwrite) {
    scParticleGeneratorTemplate bare;
    Load(Tpr(""), bare);
    const scParticleGeneratorTemplate fresh;
    EXPECT_EQ(Snapshot(bare), Snapshot(fresh));
    EXPECT_EQ(Snapshot(fresh).size, (std::array<float, 3>{1, 1, 1}));

    scParticleGeneratorTemplate t;
    Load(kFull, t);
    EXPECT_EQ(Snapshot(t),
              (Fields{1, 2, {3, 4, 5}, 0, 1, 0, {1.5f, 2.5f, 30.0f}, t.textureFile, true, 0.8f}));
    ASSERT_EQ(t.textureFile.GetComponentCount(), 1u);
    EXPECT_EQ(t.textureFile.GetLastComponent(), envString("fire.png"));
    EXPECT_EQ(t.textureFile.GetRoot(), -1);
    // The first key goes to time 0 whatever the file says; the duration is the last key's.
    const anTypedAnimation<float>& keys = *t.GetAnimation();
    EXPECT_EQ(keys.GetDuration(), 1.0f);
    for (auto [time, value] : {std::pair{0.0f, 1.0f}, {0.3f, 0.8f}, {1.0f, 0.0f}})
        EXPECT_FLOAT_EQ(keys.Evaluate(time), value) << time;

    // n = 0 keeps the curve but not the name or the modes; a later parameter list replaces the whole
    // list; unknown chunks and trailing bytes are skipped; the header's byte-order byte changes nothing.
    Load(Tpr(Sgpp(2, 3, 4, "smoke.tuv", {}) + Parp({1, 2, 3, 4, 5}) + Chunk("XTRA", "junk") +
                 Chunk("PARP", I8(2) + F32(7) + F32(8) + "trailing"),
             1),
         t);
    EXPECT_EQ(Snapshot(t), (Fields{1, 2, {3, 4, 5}, 4, 3, 2, {7, 8}, t.textureFile, true, 0.8f}));
    EXPECT_EQ(t.textureFile.GetLastComponent(), envString("smoke.tuv"));

    // One value is a constant; two blend from the first to the second; both last 1 second.
    Load(Tpr(Sgpp(1, 0, 1, "a", {{9.0f, 0.25f}})), t);
    EXPECT_EQ(t.GetAnimation()->Evaluate(0.7f), 0.25f);
    EXPECT_EQ(t.GetAnimation()->GetDuration(), 1.0f);
    Load(Tpr(Sgpp(1, 0, 1, "a", {{9.0f, 1.0f}, {9.0f, 0.0f}})), t);
    EXPECT_FLOAT_EQ(t.GetAnimation()->Evaluate(0.25f), 0.75f);
    EXPECT_EQ(t.GetAnimation()->GetDuration(), 1.0f);
}

TEST_F(scParticleTemplateTest, DamagedFilesThrowAndLeaveTheTemplateAsItWas) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string cases[] = {
        Tpr(Chunk("PARP", I8(-1))),                                     // negative count
        Tpr(Chunk("SGPP", I8(0) + I8(0) + I8(0)) + Parp({3, 4})),       // a name past the body
        Tpr(Chunk("SGPP", I8(0) + I8(0) + I8(0) + Name("x") + I8(-3))), // negative curve count
        Tpr(Chunk("SGPP", I8(0) + I8(0) + I8(0) + Le(0x41, 2))),        // no 0 unit in the body
        Tpr(Chunk("PARP", I8(5) + F32(1) + F32(2)) + Parp({3, 4, 5})),  // a count past its body
        Tpr(Chunk("GENP", I8(1) + I8(1) + F32(1)) + Parp({3, 4})),      // fields past the body
        Tpr(Genp(0, 0, nan, 1, 1)),
        Tpr(Sgpp(0, 0, 0, "x", {{0, 1}, {std::numeric_limits<float>::infinity(), 0}, {1, 1}})),
        "KSFB" + Le(2) + Chunk("GENP", ""), // not a template
        "KSFB" + Le(2),
    };
    scParticleGeneratorTemplate t;
    Load(kFull, t);
    const Fields before = Snapshot(t);
    int i = 0;
    for (const std::string& bytes : cases) {
        EXPECT_THROW(Load(bytes, t), chInvalidChunkX) << "case " << i++;
        EXPECT_EQ(Snapshot(t), before);
    }
    for (size_t length = 0; length < kFull.size(); ++length) {
        EXPECT_THROW(Load(kFull.substr(0, length), t), envExceptionX) << length;
        ASSERT_EQ(Snapshot(t), before);
    }
    EXPECT_THROW(scLoadParticleGeneratorTemplate(m_folder.Locator("missing.tpr"), t), fsFileDoesntExistX);
}

using scParticleTemplateTextureTest = g3dTextureFixture;

TEST_F(scParticleTemplateTextureTest, FlipBooksByNameAndFailuresKeepTheTexture) {
    const std::string page = g2dImageBuilder::Bmp(2, 2, std::vector<u8>(12, 7));
    m_folder.Write("p0.bmp", page);
    const std::string tuv = "KSFB" + Le(2) + Chunk("TUVA", Chunk("TPAG", std::string("p0.bmp") + '\0'));
    const struct {
        const char* name;
        std::string bytes;
        bool flipBook;
    } cases[] = {{"fire.tuv", tuv, true},
                 {"fire.tuv.png", tuv, true},
                 {"fire.png", page, false},
                 {"fire.TUV", page, false}};
    scParticleGeneratorTemplate t;
    for (const auto& c : cases) {
        t.textureFile = m_folder.Write(c.name, c.bytes);
        g3dTexture* texture = t.LoadTexture();
        EXPECT_EQ(texture, t.GetTexture());
        EXPECT_EQ(dynamic_cast<g3dUVATexture*>(texture) != nullptr, c.flipBook) << c.name;
    }

    // A generator's share outlives the template's.
    g3dTexture* held = t.GetTexture();
    std::shared_ptr<g3dTexture> share = t.ShareTexture();
    t.textureFile = fsLocator();
    EXPECT_THROW(t.LoadTexture(), fsFileDoesntExistX);
    EXPECT_TRUE(m_log.Holds("Couldn't make texture from empty filename"));
    t.textureFile = m_folder.Locator("missing.png");
    EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>([&] { t.LoadTexture(); }), t.textureFile);
    EXPECT_THROW((t.textureFile = m_folder.Write("bad.png", "not a picture"), t.LoadTexture()),
                 envExceptionX);
    EXPECT_EQ(t.GetTexture(), held);
    {
        scParticleGeneratorTemplate gone;
        gone.textureFile = m_folder.Locator("p0.bmp");
        share = (gone.LoadTexture(), gone.ShareTexture());
    }
    EXPECT_NE(share->GetPAC(), nullptr);
    share.reset();
}
