// The prop definition reader on files laid out byte by byte.
#include "Source/World/coPropDefinition.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Source/World/coPropTemplate.h"
#include "coPropTestBytes.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Body = coPropBytes;

std::string Chunk(const char* id, const std::string& body, u16 version = 0) {
    return coPropChunk(id, body, version);
}

Body Particle(u16 version) {
    Body b;
    b.Wide("spark.tpr").Narrow("nozzle").I16(2).F({-1, 1, 2, 3});
    if (version >= 3)
        b.F({0, 1, 0});
    return b;
}

Body Sound(u16 version) {
    Body b;
    b.Wide("splash.wav").Narrow("basin").I16(1).U8(1).F({0.5f, 1.5f});
    if (version >= 5)
        b.F({5, 50});
    return b;
}

// An entry record of the given version with one particle and one sound item where the version has them.
std::string Entr(u16 version, i32 playCount = 3) {
    Body b;
    b.I32(playCount).Wide("spin.anx").Wide("other");
    if (version >= 1)
        b.F({2.0f});
    if (version >= 2)
        b.U8(1).Text(Particle(version).Str());
    if (version >= 4)
        b.U8(1).Text(Sound(version).Str());
    return Chunk("ENTR", b.Str(), version);
}

std::string Model() {
    return Chunk("MODL", Body().Wide("x.mhx").Str());
}

class coPropDefinitionTest : public ::testing::Test {
  protected:
    fsLocator Write(const std::string& bytes, const std::string& path = "Lamp/Data/lamp.prd") {
        return m_folder.Write(path, bytes);
    }
    fsLocator DataFile() const { return m_folder.Locator("Lamp/Data/lamp.prd"); }
    fsTestFolder m_folder;
};

TEST_F(coPropDefinitionTest, AFileWithoutValuesGivesTheDefaults) {
    const coPropDefinition d = coLoadPropDefinition(Write(Chunk("CPRP", Model())));
    EXPECT_EQ(std::tuple(envStringToNarrow(d.model), d.triggerDistance, d.height, d.scale),
              std::tuple("x.mhx", 0.f, 0.f, 1.f));
    // The stored 0 unit is not part of the name, so the extension chooses the hierarchy loader.
    EXPECT_EQ(coPropModelKind(d.model), coPropTemplate::kHierarchy);
    EXPECT_TRUE(d.entries.empty() && d.idle.animation.GetLength() == 0);
    // A prop is its model: a file that names none is refused.
    for (const std::string& bytes : {std::string(), Chunk("CPRP", Chunk("TRIG", Body().F({6}).Str()))})
        EXPECT_THROW(coLoadPropDefinition(Write(bytes)), coInvalidPropFileX);
}

TEST_F(coPropDefinitionTest, EachRecordVersionReadsItsFields) {
    for (u16 version = 0; version <= 5; ++version) {
        SCOPED_TRACE(version);
        const coPropDefinition d = coLoadPropDefinition(Write(Chunk("CPRP", Model() + Entr(version))));
        ASSERT_EQ(d.entries.size(), 1u);
        const coPropEventRecord& r = d.entries[0];
        EXPECT_EQ(
            std::tuple(r.playCount, envStringToNarrow(r.animation), envStringToNarrow(r.secondName), r.speed),
            std::tuple(3, "spin.anx", "other", version >= 1 ? 2.0f : 1.0f));
        ASSERT_EQ(r.particles.size(), version >= 2 ? 1u : 0u);
        ASSERT_EQ(r.sounds.size(), version >= 4 ? 1u : 0u);
        if (version >= 2) {
            const coPropParticleItem& p = r.particles[0];
            EXPECT_EQ(std::tuple(envStringToNarrow(p.file), p.node, p.keyIndex, p.duration, p.offset.z),
                      std::tuple("spark.tpr", "nozzle", i16{2}, -1.0f, 3.0f));
            EXPECT_EQ(std::tuple(p.direction.y, p.direction.z),
                      version >= 3 ? std::tuple(1.0f, 0.0f) : std::tuple(0.0f, 1.0f));
        }
        if (version >= 4) {
            const coPropSoundItem& s = r.sounds[0];
            EXPECT_EQ(std::tuple(envStringToNarrow(s.file), s.node, s.keyIndex, s.loop, s.volume, s.pitch),
                      std::tuple("splash.wav", "basin", i16{1}, u8{1}, 0.5f, 1.5f));
            EXPECT_EQ(std::tuple(s.minDistance, s.maxDistance),
                      version >= 5 ? std::tuple(5.0f, 50.0f) : std::tuple(20.0f, 100.0f));
        }
    }
}

TEST_F(coPropDefinitionTest, RecordsKeepFileOrderAndTheLastIdleWins) {
    const std::string idle1 = Chunk("IDLE", Body().Wide("a.anx").Wide("").F({4}).Str(), 1);
    const std::string idle2 = Chunk("IDLE", Body().Wide("b.anx").Wide("").Str(), 0);
    const std::string bytes =
        Chunk("CPRP", Model() + Entr(0, 1) + idle1 + Entr(1, -1) + Chunk("XXXX", "skip") + Entr(0, 7) +
                          idle2 + Chunk("TRIG", Body().F({6}).Str()) + Chunk("HEIG", Body().F({2}).Str()) +
                          Chunk("SCAL", Body().F({0.5f}).Str()) +
                          Chunk("EXIT", Body().I32(2).Wide("bye.anx").Wide("").Str()));
    const coPropDefinition d = coLoadPropDefinition(Write(bytes));
    ASSERT_EQ(d.entries.size(), 3u);
    EXPECT_EQ(std::tuple(d.entries[0].playCount, d.entries[1].playCount, d.entries[2].playCount),
              std::tuple(1, -1, 7));
    EXPECT_EQ(std::tuple(envStringToNarrow(d.idle.animation), d.idle.speed, d.idle.playCount),
              std::tuple("b.anx", 1.0f, 0));
    EXPECT_EQ(std::tuple(envStringToNarrow(d.exit.animation), d.exit.playCount), std::tuple("bye.anx", 2));
    EXPECT_EQ(std::tuple(d.triggerDistance, d.height, d.scale), std::tuple(6.f, 2.f, 0.5f));
}

TEST_F(coPropDefinitionTest, TheScanReadsTheTrackFlagAndRejectsNewerFiles) {
    struct Case {
        std::string bytes;
        bool before, after;
    };
    const std::string trpr1 = Chunk("TRPR", envBytes({1}));
    const Case cases[] = {
        {Chunk("CPRP", Chunk("MODL", Body().Wide("m").Str()) + trpr1), false, true},
        {Chunk("CPRP", Chunk("TRPR", envBytes({0}))), true, false},
        {Chunk("CPRP", Chunk("MODL", Body().Wide("m").Str())), true, true}, // the caller's value stays
        {Chunk("CPRP", trpr1, 1), false, true},
    };
    for (const Case& c : cases) {
        bool flag = c.before;
        coReadPropTrackFlag(Write(c.bytes), flag);
        EXPECT_EQ(flag, c.after);
    }
    const fsLocator v2 = Write(Chunk("CPRP", trpr1, 2));
    bool flag = false;
    try {
        coReadPropTrackFlag(v2, flag);
        FAIL() << "version 2 was scanned";
    } catch (const coInvalidPropFileX& e) {
        EXPECT_EQ(std::tuple(e.GetCode(), e.GetLocator()), std::tuple(0xE0740001u, v2));
    }
    EXPECT_EQ(
        envStringToNarrow(
            coLoadPropDefinition(Write(Chunk("CPRP", Chunk("MODL", Body().Wide("v2").Str()), 2))).model),
        "v2");
}

TEST_F(coPropDefinitionTest, AFileMissingFromDataIsTakenFromTheThemeFolder) {
    Write(Chunk("CPRP", Chunk("MODL", Body().Wide("beside.mx").Str())), "Lamp/lamp.prd");
    EXPECT_EQ(envStringToNarrow(coLoadPropDefinition(DataFile()).model), "beside.mx");
    EXPECT_THROW(coLoadPropDefinition(m_folder.Locator("Lamp/Data/none.prd")), fsFileDoesntExistX);
}

TEST_F(coPropDefinitionTest, MalformedFilesThrowTheChunkError) {
    const std::string whole =
        Chunk("CPRP", Chunk("MODL", Body().Wide("m.mhx").Str()) + Entr(5) + Chunk("TRPR", envBytes({1})));
    std::vector<std::string> bad;
    for (size_t cut = 1; cut < whole.size(); ++cut)
        bad.push_back(whole.substr(0, cut));
    // A count of 255 with one item; a name without its 0 unit at the end of its chunk.
    bad.push_back(Chunk(
        "CPRP",
        Chunk("ENTR", Body().I32(0).Wide("a").Wide("").F({1}).U8(255).Text(Particle(2).Str()).Str(), 2)));
    bad.push_back(
        Chunk("CPRP", Chunk("MODL", Body().Wide("m.mx", false).Str()) + Chunk("TRIG", Body().F({1}).Str())));
    bad.push_back(Chunk("CPRP", Chunk("TRIG", "ab") + Chunk("HEIG", Body().F({1}).Str())));
    for (const std::string& bytes : bad) {
        SCOPED_TRACE(bytes.size());
        const fsLocator file = Write(bytes);
        EXPECT_THROW(coLoadPropDefinition(file), chInvalidChunkX);
    }
}

} // namespace
