#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Ch/chBinReader.h"
#include "Engine/Core/Ch/chBinWriter.h"
#include "Engine/Core/Ch/chExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "chTestBytes.h"
#include "chTestSample.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

class chBinaryChunkTest : public ::testing::Test {
  protected:
    // Writes the bytes and opens them for reading with byte-order flag 2.
    std::unique_ptr<gfFile> Open(const std::string& bytes, u32 byteOrder = 2) {
        m_folder.Write("in.bin", bytes);
        return std::make_unique<gfFile>(m_folder.Locator("in.bin"), 0, byteOrder);
    }
    std::unique_ptr<gfFile> Create(u32 byteOrder = 2) {
        m_folder.Write("out.bin", "");
        return std::make_unique<gfFile>(m_folder.Locator("out.bin"), 2, byteOrder);
    }
    std::string Written() const { return m_folder.Read("out.bin"); }

    fsTestFolder m_folder;
};

} // namespace

TEST_F(chBinaryChunkTest, GoldenChunkBytes) {
    {
        auto file = Create();
        chBinWriter w(file.get());
        w.BeginChunk(kABCD, 3, true);
        w.WriteBytes("\x01\x02\x03\x04", 4);
        w.EndChunk();
    }
    EXPECT_EQ(Written(), chBytes({0x41, 0x42, 0x43, 0x44, 4, 0, 0, 0, 3, 0, 1, 2, 3, 4}));

    auto file = Open(Written());
    chBinReader r(file.get());
    u32 id = 0, size = 0;
    u16 version = 0;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, kABCD);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(size, 4u);
    r.EndChunk();
    EXPECT_EQ(file->Tell(), 14u);
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(r.GetLocator(), m_folder.Locator("in.bin"));
}

TEST_F(chBinaryChunkTest, NestingLevelsAndBounds) {
    // An outer chunk holding one inner chunk with 4 data bytes has size 14; after the outer chunk
    // one more top-level chunk.
    const std::string bytes =
        chTestBytes().Chunk("OUTR", 14, 1).Chunk("INNR", 4, 2).U32(0xAABBCCDD).Chunk("NEXT", 0, 0).Str();
    {
        auto file = Create();
        chBinWriter w(file.get());
        w.BeginChunk(chMakeId('O', 'U', 'T', 'R'), 1, true);
        w.BeginChunk(chMakeId('I', 'N', 'N', 'R'), 2, true);
        w.WriteUInt32(0xAABBCCDD);
        w.EndChunk();
        w.EndChunk();
        w.BeginChunk(chMakeId('N', 'E', 'X', 'T'), 0, false);
        w.EndChunk();
    }
    EXPECT_EQ(Written(), bytes);

    auto file = Open(bytes);
    chBinReader r(file.get());
    u32 id, size;
    u16 version;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(size, 14u);
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, chMakeId('I', 'N', 'N', 'R'));
    u32 value = 0;
    r.ReadUInt32(&value);
    EXPECT_EQ(value, 0xAABBCCDDu);
    // At the inner chunk's end: no further chunk at that level, nothing read.
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(file->Tell(), 24u);
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
    r.EndChunk();
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, chMakeId('N', 'E', 'X', 'T'));
    EXPECT_EQ(size, 0u);
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
}

TEST_F(chBinaryChunkTest, HeaderOnlyFilesAndTheTenByteHeader) {
    // A data file holding only its 8-byte header has no chunk.
    auto header = Open(chTestBytes().Text("KSFB").U32(2).Str());
    header->ReadBinHeader(nullptr);
    chBinReader empty(header.get());
    u32 id, size;
    u16 version;
    EXPECT_FALSE(empty.BeginChunk(&id, &version, &size));

    // Exactly ten bytes and size 0: a valid empty chunk. Nine bytes (or fewer) left: refused.
    const std::string ten = chTestBytes().Chunk("EMPT", 0, 5).Str();
    auto file = Open(ten);
    chBinReader r(file.get());
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(version, 5);
    r.EndChunk();
    for (size_t cut = 1; cut < 10; ++cut) {
        auto shortFile = Open(ten.substr(0, cut));
        chBinReader shortReader(shortFile.get());
        EXPECT_THROW(shortReader.BeginChunk(&id, &version, &size), chInvalidChunkX) << cut;
    }
}

TEST_F(chBinaryChunkTest, SizesThatRunPastTheFileOrTheParent) {
    u32 id, size;
    u16 version;
    // A size near 4 GiB must not wrap round the end offset (the loader would loop for ever).
    for (u32 bad : {0xFFFFFFFFu, 0xFFFFFFF6u, 0x80000000u, 5u}) {
        auto file = Open(chTestBytes().Chunk("HUGE", bad, 0).U32(0).Str());
        chBinReader r(file.get());
        EXPECT_THROW(r.BeginChunk(&id, &version, &size), chInvalidChunkX) << bad;
    }
    // A child that ends after its parent (but inside the file) is refused too.
    const std::string bytes = chTestBytes().Chunk("PRNT", 12, 0).Chunk("CHLD", 4, 0).U32(1).U32(2).Str();
    auto file = Open(bytes);
    chBinReader r(file.get());
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_THROW(r.BeginChunk(&id, &version, &size), chInvalidChunkX);
}

TEST_F(chBinaryChunkTest, StringsAndCountsFromTheFile) {
    // The wide terminated read keeps its 0 unit.
    {
        auto file = Open(chBytes({0x41, 0x00, 0x00, 0x00}));
        chBinReader r(file.get());
        envString text;
        r.ReadString(text);
        ASSERT_EQ(text.GetLength(), 2u);
        EXPECT_EQ(text[0], 0x0041);
        EXPECT_EQ(text[1], 0x0000);
    }
    // Strings without a terminator end at the end of the data with the chunk exception.
    {
        auto file = Open("abc");
        chBinReader r(file.get());
        std::string narrow;
        EXPECT_THROW(r.ReadString(narrow), chInvalidChunkX);
    }
    {
        auto file = Open(chBytes({0x41, 0x00, 0x42}));
        chBinReader r(file.get());
        envString wide;
        EXPECT_THROW(r.ReadString(wide), chInvalidChunkX);
    }
    // Counts above the bytes left are refused before anything is allocated for them; reading into
    // the bytes after the current chunk stays allowed.
    {
        const std::string bytes = chTestBytes().Chunk("ONE.", 0, 0).Text("abcdef").Str();
        auto file = Open(bytes);
        chBinReader r(file.get());
        u32 id, size;
        u16 version;
        ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
        std::string narrow;
        envString wide;
        EXPECT_THROW(r.ReadChars(narrow, 0xFFFFFFFF), chInvalidChunkX);
        EXPECT_THROW(r.ReadChars(wide, 0x80000000), chInvalidChunkX);
        EXPECT_THROW(r.ReadChars(wide, 4), chInvalidChunkX);
        r.ReadChars(wide, 3);
        ASSERT_EQ(wide.GetLength(), 3u);
        EXPECT_EQ(wide[0], 0x6261);
        EXPECT_EQ(wide[2], 0x6665);
        file->Seek(10, 0);
        r.ReadChars(narrow, 6);
        EXPECT_EQ(narrow, "abcdef");
        r.ReadChars(narrow, 0);
        EXPECT_EQ(narrow, "");
    }
}

TEST_F(chBinaryChunkTest, EverySlotRoundTripsInBothByteOrders) {
    const Sample sample = MakeSample();
    for (u32 byteOrder : {2u, 1u}) {
        {
            auto file = Create(byteOrder);
            chBinWriter w(file.get());
            WriteSample(w, sample);
        }
        auto file = Open(Written(), byteOrder);
        chBinReader r(file.get());
        EXPECT_EQ(ReadSample(r), sample) << byteOrder;
    }
    // Flag 1 stores the other byte order: the id's characters and a unit both come reversed.
    const std::string swapped = Written();
    EXPECT_EQ(swapped.substr(0, 4), "DCBA");
    EXPECT_EQ(swapped.substr(4, 4), chBytes({0, 0, 0, static_cast<int>(swapped.size()) - 10}));
    {
        auto file = Create(1);
        chBinWriter w(file.get());
        w.WriteChars(u"\u20AC", 1);
    }
    EXPECT_EQ(Written(), chBytes({0x20, 0xAC}));
    auto file = Open(Written(), 1);
    chBinReader r(file.get());
    envString unit;
    r.ReadChars(unit, 1);
    EXPECT_EQ(unit, envString(u"\u20AC"));
}

TEST_F(chBinaryChunkTest, TypedReadsPastTheEndThrowAndLeaveTheValue) {
    auto file = Open(chBytes({1, 2, 3}));
    chBinReader r(file.get());
    u32 value = 77;
    EXPECT_THROW(r.ReadUInt32(&value), chInvalidChunkX);
    EXPECT_EQ(value, 77u);
    u16 half = 0;
    file->Seek(0, 0);
    r.ReadUInt16(&half);
    EXPECT_EQ(half, 0x0201);
    u8 byte = 0;
    r.ReadUInt8(&byte);
    EXPECT_EQ(byte, 3);
    f64 real = 1.0;
    bool flag = true;
    EXPECT_THROW(r.ReadDouble(&real), chInvalidChunkX);
    EXPECT_THROW(r.ReadBool(&flag), chInvalidChunkX);
    EXPECT_EQ(real, 1.0);
}

TEST_F(chBinaryChunkTest, WideStringWritesStopAtTheFirstZeroOrTheEnd) {
    // An envString needs no 0 unit of its own; one inside it ends the written text.
    envString plain = u"hi";
    envString inner = u"ab";
    inner.AppendChar(0);
    inner.AppendChar(u'c');
    {
        auto file = Create();
        chBinWriter w(file.get());
        w.WriteString(plain);
        w.WriteString(inner);
        w.WriteString(envString());
        w.WriteString(std::string());
    }
    EXPECT_EQ(Written(), chBytes({'h', 0, 'i', 0, 0, 0, 'a', 0, 'b', 0, 0, 0, 0, 0, 0}));
}

TEST_F(chBinaryChunkTest, FloatsKeepTheirBits) {
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const f64 inf = std::numeric_limits<f64>::infinity();
    {
        auto file = Create();
        chBinWriter w(file.get());
        w.WriteFloat(nan);
        w.WriteDouble(-inf);
        w.WriteFloat(-0.0f);
    }
    auto file = Open(Written());
    chBinReader r(file.get());
    f32 a = 0, c = 1;
    f64 b = 0;
    r.ReadFloat(&a);
    r.ReadDouble(&b);
    r.ReadFloat(&c);
    EXPECT_TRUE(std::isnan(a));
    EXPECT_EQ(b, -inf);
    EXPECT_TRUE(std::signbit(c));
}

TEST_F(chBinaryChunkTest, MisplacedEndChunkIsIgnoredWithAWarning) {
    std::vector<std::string> lines;
    dbgSetLogSink([&](const std::string& line) { lines.push_back(line); });
    auto file = Create();
    chBinWriter w(file.get());
    w.EndChunk();
    chBinReader r(file.get());
    r.EndChunk();
    dbgSetLogSink({});
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(Written(), "");
}

// Cut at every byte: the loader ends with the chunk exception, never a crash or a hang.
TEST_F(chBinaryChunkTest, TruncationSweep) {
    {
        auto file = Create();
        chBinWriter w(file.get());
        WriteSample(w, MakeSample());
    }
    const std::string whole = Written();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        auto file = Open(whole.substr(0, cut));
        chBinReader r(file.get());
        EXPECT_THROW(ReadSample(r), chInvalidChunkX) << cut;
    }
}

// Every 32-bit field replaced by large values: chunk sizes and counts never pass unchecked.
TEST_F(chBinaryChunkTest, OversizeSweep) {
    {
        auto file = Create();
        chBinWriter w(file.get());
        WriteSample(w, MakeSample());
    }
    const std::string whole = Written();
    for (size_t at = 0; at + 4 <= whole.size(); ++at) {
        for (u32 bad : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00010000u}) {
            std::string bytes = whole;
            std::memcpy(&bytes[at], &bad, 4);
            auto file = Open(bytes);
            chBinReader r(file.get());
            try {
                ReadSample(r); // a changed value in a body reads as that value
            } catch (const chInvalidChunkX&) {
            }
        }
    }
    // The size fields themselves: the outer chunk's at 4, the nested one's after the outer header
    // and the 43 bytes of values before it.
    for (size_t at : {size_t{4}, size_t{10 + 43 + 4}}) {
        std::string bytes = whole;
        const u32 bad = 0xFFFFFFF0;
        std::memcpy(&bytes[at], &bad, 4);
        auto file = Open(bytes);
        chBinReader r(file.get());
        EXPECT_THROW(ReadSample(r), chInvalidChunkX) << at;
    }
}
