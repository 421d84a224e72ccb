#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "chTestBytes.h"
#include "chTestFile.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

using chBinaryChunkTest = chSampleTest<chBinWriter>;

TEST_F(chBinaryChunkTest, GoldenBytesAndNesting) {
    {
        auto file = Create();
        chBinWriter w(file.get());
        w.BeginChunk(kABCD, 3, true);
        w.WriteBytes("\x01\x02\x03\x04", 4);
        w.EndChunk();
    }
    EXPECT_EQ(Written(), envBytes({0x41, 0x42, 0x43, 0x44, 4, 0, 0, 0, 3, 0, 1, 2, 3, 4}));

    // An outer chunk holding one inner chunk of 4 data bytes has size 14; then one more top-level chunk.
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
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_size, 14u);
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_version, 2);
    // At the inner chunk's end: no further chunk at that level, nothing read.
    file->Seek(4, 1);
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(file->Tell(), 24u);
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size));
    r.EndChunk();
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, chMakeId('N', 'E', 'X', 'T'));
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size));
}

TEST_F(chBinaryChunkTest, EverySlotRoundTripsInBothByteOrders) {
    for (u32 byteOrder : {gfByteOrderData, gfByteOrderReversed}) {
        auto file = Open(WrittenSample(byteOrder), byteOrder);
        chBinReader r(file.get());
        EXPECT_EQ(ReadSample(r), MakeSample()) << byteOrder;
    }
    // Flag 1 stores the other byte order: the id's characters and a unit both come reversed.
    const std::string swapped = Written();
    EXPECT_EQ(swapped.substr(0, 4), "DCBA");
    EXPECT_EQ(swapped.substr(4, 4), envBytes({0, 0, 0, static_cast<int>(swapped.size()) - 10}));

    // Floats keep their bits; an envString needs no 0 unit of its own, and one inside it ends the text.
    envString inner = u"ab";
    inner.AppendChar(0);
    inner.AppendChar(u'c');
    {
        auto file = Create();
        chBinWriter w(file.get());
        w.WriteString(envString(u"hi"));
        w.WriteString(inner);
        w.WriteString(envString());
        w.WriteFloat(std::numeric_limits<f32>::quiet_NaN());
        w.WriteDouble(-std::numeric_limits<f64>::infinity());
    }
    EXPECT_EQ(Written().substr(0, 14), envBytes({'h', 0, 'i', 0, 0, 0, 'a', 0, 'b', 0, 0, 0, 0, 0}));
    auto file = Open(Written());
    chBinReader r(file.get());
    file->Seek(14, 0);
    f32 nan = 0;
    f64 inf = 0;
    r.ReadFloat(&nan);
    r.ReadDouble(&inf);
    EXPECT_TRUE(std::isnan(nan));
    EXPECT_EQ(inf, -std::numeric_limits<f64>::infinity());
}

// Headers under ten bytes, sizes past the file (wrapping near 4 GiB included) or past the parent.
TEST_F(chBinaryChunkTest, ChunkBoundsAreChecked) {
    auto header = Open(chTestBytes().Text("KSFB").U32(2).Str());
    header->ReadBinHeader(nullptr);
    EXPECT_FALSE(chBinReader(header.get()).BeginChunk(&m_id, &m_version, &m_size));

    const std::string ten = chTestBytes().Chunk("EMPT", 0, 5).Str();
    auto exact = Open(ten);
    EXPECT_TRUE(chBinReader(exact.get()).BeginChunk(&m_id, &m_version, &m_size));
    std::vector<std::string> bad;
    for (size_t cut = 1; cut < 10; ++cut)
        bad.push_back(ten.substr(0, cut));
    for (u32 size : {0xFFFFFFFFu, 0xFFFFFFF6u, 0x80000000u, 5u})
        bad.push_back(chTestBytes().Chunk("HUGE", size, 0).U32(0).Str());
    for (const std::string& bytes : bad) {
        auto file = Open(bytes);
        EXPECT_THROW(chBinReader(file.get()).BeginChunk(&m_id, &m_version, &m_size), chInvalidChunkX)
            << bytes.size();
    }
    // A child that ends after its parent (but inside the file).
    auto file = Open(chTestBytes().Chunk("PRNT", 12, 0).Chunk("CHLD", 4, 0).U32(1).U32(2).Str());
    chBinReader r(file.get());
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_THROW(r.BeginChunk(&m_id, &m_version, &m_size), chInvalidChunkX);
}

// Strings without a terminator, counts above the bytes left (refused before allocating) and typed
// reads past the end throw and leave the value; reading into the bytes after the chunk is allowed.
TEST_F(chBinaryChunkTest, ReadsNeverRunPastTheFile) {
    std::string narrow;
    envString wide;
    auto open = Open("abc");
    EXPECT_THROW(chBinReader(open.get()).ReadString(narrow), chInvalidChunkX);
    auto odd = Open(envBytes({0x41, 0x00, 0x42}));
    EXPECT_THROW(chBinReader(odd.get()).ReadString(wide), chInvalidChunkX);

    auto file = Open(chTestBytes().Chunk("ONE.", 0, 0).Text("abcdef").Str());
    chBinReader r(file.get());
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_THROW(r.ReadChars(narrow, 0xFFFFFFFF), chInvalidChunkX);
    EXPECT_THROW(r.ReadChars(wide, 0x80000000), chInvalidChunkX);
    EXPECT_THROW(r.ReadChars(wide, 4), chInvalidChunkX);
    r.ReadChars(wide, 3);
    EXPECT_EQ(wide[2], 0x6665);
    file->Seek(10, 0);
    r.ReadChars(narrow, 6);
    EXPECT_EQ(narrow, "abcdef");

    file->Seek(-3, 2);
    u32 value = 77;
    EXPECT_THROW(r.ReadUInt32(&value), chInvalidChunkX);
    EXPECT_EQ(value, 77u);
    u16 half = 0;
    file->Seek(-3, 2);
    r.ReadUInt16(&half);
    EXPECT_EQ(half, 0x6564);
}

TEST_F(chBinaryChunkTest, MisplacedEndChunkIsIgnoredWithAWarning) {
    dbgLogCapture log;
    auto file = Create();
    chBinWriter(file.get()).EndChunk();
    chBinReader(file.get()).EndChunk();
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(Written(), "");
}

// Cut at every byte, and every 32-bit field replaced by large values: the loader ends with the chunk
// exception or the values it read, never a crash or a hang; a bad chunk size is always refused.
TEST_F(chBinaryChunkTest, TruncationAndOversizeSweeps) {
    const std::string whole = WrittenSample();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        auto file = Open(whole.substr(0, cut));
        chBinReader r(file.get());
        try {
            ReadSample(r);
            ADD_FAILURE() << cut;
        } catch (const chInvalidChunkX& error) {
            // The reader's reports name the file (an empty one holds no chunk: the sample's check throws).
            if (cut > 0) {
                EXPECT_EQ(error.GetLocator(), m_folder.Locator("in")) << cut;
            }
        }
    }
    for (size_t at = 0; at + 4 <= whole.size(); ++at) {
        for (u32 bad : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00010000u, 0xFFFFFFF0u}) {
            std::string bytes = whole;
            std::memcpy(&bytes[at], &bad, 4);
            auto file = Open(bytes);
            chBinReader r(file.get());
            // The outer chunk's size is at 4, the nested one's after the outer header and 43 bytes of values.
            if (bad == 0xFFFFFFF0u && (at == 4 || at == 10 + 43 + 4)) {
                EXPECT_THROW(ReadSample(r), chInvalidChunkX) << at;
                continue;
            }
            try {
                ReadSample(r);
            } catch (const chInvalidChunkX&) {
            }
        }
    }
    // Longer than a 32-bit seek reaches (3 GiB, sparse): refused before any chunk is read.
    auto file = Open(whole);
    std::filesystem::resize_file(m_folder.Path("in"), 3ull << 30);
    EXPECT_THROW(chBinReader{file.get()}, chInvalidChunkX);
}

TEST_F(chBinaryChunkTest, TheBytesLeftAreThoseOfTheInnermostChunk) {
    const std::string bytes =
        chTestBytes().Chunk("OUTR", 16, 1).Chunk("INNR", 4, 2).U32(7).U16(9).Chunk("NEXT", 0, 0).Str();
    auto file = Open(bytes);
    chBinReader r(file.get());
    EXPECT_EQ(r.GetChunkBytesLeft(), bytes.size());
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(r.GetChunkBytesLeft(), 16u);
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(r.GetChunkBytesLeft(), 4u);
    u16 value = 0;
    r.ReadUInt16(&value);
    EXPECT_EQ(r.GetChunkBytesLeft(), 2u);
    // A value may run on into the next chunk; the bytes left are then none.
    u32 past = 0;
    r.ReadUInt32(&past);
    EXPECT_EQ(r.GetChunkBytesLeft(), 0u);
    r.EndChunk();
    EXPECT_EQ(r.GetChunkBytesLeft(), 2u);
}
