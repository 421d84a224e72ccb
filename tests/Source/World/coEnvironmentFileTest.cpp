// The environment file reader on files laid out byte by byte.
#include "Source/World/coEnvironmentFile.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chTestBytes.h"
#include "Engine/App/Fs/fsTestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

class Body : public envTestBytesOf<Body> {
  public:
    Body& F(std::initializer_list<f32> values) {
        for (f32 v : values)
            Le(v);
        return *this;
    }
    Body& I8(i8 v) { return Le(v); }
    // UTF-16 units and, unless left off, the 0 unit.
    Body& Wide(const std::string& text, bool terminated = true) {
        for (char c : text)
            U16(static_cast<u8>(c));
        return terminated ? U16(0) : *this;
    }
};

std::string Chunk(const char* id, const std::string& body, u16 version = 1) {
    return chTestBytes().Chunk(id, static_cast<u32>(body.size()), version).Str() + body;
}

std::string Cenv(const std::string& chunks) {
    return Chunk("CENV", chunks);
}

struct Read {
    std::vector<coEnvLightInfo> points, directionals;
    maVector3d ambient, start{9, 9, 9}, background;
    envString terrain, extra;
    coEnvSkyInfo sky;
    coEnvGridInfo grid;
    coEnvFogInfo fog;
    coEnvLensFlareInfo flare;
    i32 shadow = 1;

    void From(const fsLocator& file) {
        coReadEnvironmentFile(file, points, directionals, ambient, terrain, extra, start, sky, grid,
                              background, fog, flare, shadow);
    }
};

class coEnvironmentFileTest : public ::testing::Test {
  protected:
    Read ReadBytes(const std::string& bytes) {
        m_folder.Write("1.end", bytes);
        Read read;
        read.From(m_folder.Locator("1.end"));
        return read;
    }
    fsTestFolder m_folder;
};

std::string Emod4() {
    return Chunk("EMOD",
                 Body()
                     .Wide("hill.mx")
                     .Wide("sky1.mx")
                     .I8(1)
                     .F({0.5f})
                     .Wide("sky2.mx")
                     .F({-0.25f})
                     .Wide("cave.mx")
                     .I8(1)
                     .Str(),
                 4);
}

TEST_F(coEnvironmentFileTest, AnEmptyEnvironmentGivesTheDefaults) {
    const Read read = ReadBytes(Cenv(""));
    EXPECT_TRUE(read.points.empty() && read.directionals.empty() && read.flare.elements.empty());
    EXPECT_EQ(std::tuple(read.start.x + read.start.y + read.start.z, read.ambient.x + read.background.z,
                         read.grid.cellsX, read.grid.maxZ, read.fog.mode, read.shadow),
              std::tuple(0.0f, 0.0f, 80, 200.0f, 0, 1));
    EXPECT_TRUE(read.sky.staticSky && read.sky.flatSky);
}

TEST_F(coEnvironmentFileTest, EveryChunkFillsItsRecord) {
    const std::string bytes =
        Cenv(Emod4() + Chunk("EGRD", Body().F({-50, 60, -70, 80}).U16(0xFFFF).U16(0x8000).Str()) +
             Chunk("ERHT", Body().F({12.5f}).Str()) + Chunk("EBGC", Body().F({1, 0.5f, 0}).Str()) +
             Chunk("EAMB", Body().F({0.1f, 0.2f, 0.3f}).Str()) +
             Chunk("EPOL", Body().F({1, 0, 0, 5, 6, 7}).Str()) +
             Chunk("EPOL", Body().F({0, 1, 0, 8, 9, 10}).Str()) +
             Chunk("EDIL", Body().F({0, 0, 1, 0, -1, 0}).Str()) + Chunk("ECST", Body().F({3, 4, 5}).Str()) +
             Chunk("EFOG", Body().I8(-1).F({0.2f, 0.3f, 0.4f, 1.9f, 50.7f, 0.01f}).Str()) +
             Chunk("ELNF", Body().F({1, 2, 3}).I8(1).Wide("flare1.png").F({0.5f, 2}).Str()) +
             Chunk("ELNF", Body().F({4, 5, 6}).I8(1).Wide("flare2.png").F({1, 1}).Str()) +
             Chunk("ESHD", Body().U32(2).Str()) + Chunk("XXXX", "ignored"));
    const Read read = ReadBytes(bytes);
    EXPECT_EQ(std::tuple(envStringToNarrow(read.terrain), envStringToNarrow(read.sky.layer1Model),
                         envStringToNarrow(read.sky.layer2Model), envStringToNarrow(read.extra)),
              std::tuple("hill.mx", "sky1.mx", "sky2.mx", "cave.mx"));
    EXPECT_EQ(std::tuple(read.sky.layer1Rate, read.sky.layer2Rate, read.sky.flatSky, read.sky.staticSky),
              std::tuple(0.5f, -0.25f, true, true));
    // The 16-bit counts are sign-extended.
    EXPECT_EQ(std::tuple(read.grid.cellsX, read.grid.cellsZ, read.grid.minX, read.grid.height),
              std::tuple(-1, -32768, -50.0f, 12.5f));
    EXPECT_EQ(
        std::tuple(read.background.y, read.ambient.z, read.start.z, read.fog.mode, read.fog.end, read.shadow),
        std::tuple(0.5f, 0.3f, 5.0f, -1, 50.7f, 2));
    ASSERT_TRUE(read.points.size() == 2 && read.directionals.size() == 1);
    EXPECT_EQ(std::tuple(read.points[0].x, read.points[1].green, read.directionals[0].y),
              std::tuple(5.0f, 1.0f, -1.0f));
    // Two lens flares: the elements add up, the last sun wins.
    ASSERT_EQ(read.flare.elements.size(), 2u);
    EXPECT_EQ(std::tuple(envStringToNarrow(read.flare.elements[1].texture), read.flare.elements[0].scale,
                         read.flare.sun.x),
              std::tuple("flare2.png", 2.0f, 4.0f));
}

TEST_F(coEnvironmentFileTest, TheModelChunkVersionDecidesItsFieldsAndFlags) {
    const struct {
        u16 version;
        std::string body;
        bool staticSky, flatSky;
        const char* sky1;
    } cases[] = {
        {1, Body().Wide("t.mx").Wide("never.mx").Str(), true, true, ""},
        {2, Body().Wide("t.mx").Wide("s.mx").Str(), true, true, "s.mx"},
        {3, Body().Wide("t.mx").Wide("s.mx").I8(1).F({1}).Str(), false, true, "s.mx"},
        {3, Body().Wide("t.mx").Wide("s.mx").I8(2).F({1}).Str(), false, false, "s.mx"},
        // A name of only its 0 unit is no name.
        {4, Body().Wide("t.mx").Wide("").I8(0).F({1}).Wide("").F({0}).Wide("").I8(0).Str(), false, false, ""},
    };
    for (const auto& c : cases) {
        const Read read = ReadBytes(Cenv(Chunk("EMOD", c.body, c.version)));
        EXPECT_EQ(std::tuple(envStringToNarrow(read.terrain), envStringToNarrow(read.sky.layer1Model),
                             read.sky.staticSky, read.sky.flatSky, read.extra.GetLength(),
                             read.sky.layer2Model.GetLength()),
                  std::tuple("t.mx", c.sky1, c.staticSky, c.flatSky, 0u, 0u))
            << c.version;
    }
}

TEST_F(coEnvironmentFileTest, AFileWithoutModelsResetsTheSkyOfTheLastOne) {
    m_folder.Write("a.end", Cenv(Emod4()));
    m_folder.Write("b.end", Cenv(Chunk("ELNF", Body().F({0, 0, 0}).I8(-3).Str())));
    Read read;
    read.From(m_folder.Locator("a.end"));
    read.From(m_folder.Locator("b.end"));
    EXPECT_EQ(std::tuple(read.sky.layer1Model.GetLength(), read.sky.staticSky), std::tuple(0u, true));
    // A negative element count reads none.
    EXPECT_TRUE(read.flare.elements.empty());
}

TEST_F(coEnvironmentFileTest, ADamagedFileThrowsNamingItAndChangesNothing) {
    const std::string good = Cenv(Emod4() + Chunk("EPOL", Body().F({1, 0, 0, 5, 6, 7}).Str()) +
                                  Chunk("ELNF", Body().F({1, 2, 3}).I8(1).Wide("f.png").F({0.5f, 2}).Str()));
    std::vector<std::string> damaged = {
        Cenv(Chunk("ELNF", Body().F({1, 2, 3}).I8(127).Wide("f.png").F({0.5f, 2}).Str())),
        Cenv(Chunk("EMOD", Body().Wide("hill.mx", false).Str())),
        // Fields that the next chunk would supply.
        Cenv(Chunk("EGRD", Body().F({-50, 60, -70, 80}).Str()) + Chunk("ERHT", Body().F({1}).Str())),
        Cenv(Chunk("ECST", Body().F({1, std::numeric_limits<f32>::quiet_NaN(), 0}).Str())),
        Cenv(Chunk("EAMB", Body().F({1, std::numeric_limits<f32>::infinity(), 0}).Str())),
    };
    // Cut after every byte: the top chunk then runs past the end.
    for (size_t cut = 1; cut < good.size(); ++cut)
        damaged.push_back(good.substr(0, cut));
    for (const std::string& bytes : damaged) {
        m_folder.Write("bad.end", bytes);
        Read read;
        read.terrain = "kept";
        read.grid.cellsX = 7;
        try {
            read.From(m_folder.Locator("bad.end"));
            ADD_FAILURE() << "no exception for " << bytes.size() << " bytes";
        } catch (const chInvalidChunkX& error) {
            EXPECT_EQ(error.GetLocator(), m_folder.Locator("bad.end"));
        }
        EXPECT_EQ(
            std::tuple(envStringToNarrow(read.terrain), read.grid.cellsX, read.points.empty(), read.start.x),
            std::tuple("kept", 7, true, 9.0f));
    }
}

} // namespace
