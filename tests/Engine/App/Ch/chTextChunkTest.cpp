#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Ch/chTxtWriter.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "chTestFile.h"

#include <functional>
#include <gtest/gtest.h>

using chTextChunkTest = chSampleTest<chTxtWriter>;

TEST_F(chTextChunkTest, GoldenTextAndEverySlotRoundTrips) {
    {
        auto file = Create();
        chTxtWriter w(file.get());
        w.BeginChunk(kABCD, 3, true);
        w.BeginChunk(kWXYZ, 1, false);
        w.WriteInt32(5);
        w.WriteFloat(1.5f);
        w.EndChunk();
        w.EndChunk();
    }
    EXPECT_EQ(Written(), "ABCD\r\n{\r\n\tWXYZ 5 1.500000 \r\n\r\n}\r\n");
    auto file = Open(Written());
    chTxtReader r(file.get());
    m_size = m_version = 1;
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_version, 0); // text chunks carry no version or size
    EXPECT_EQ(m_size, 0u);
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, kWXYZ);
    i32 five = 0;
    f32 real = 0;
    r.ReadInt32(&five);
    r.ReadFloat(&real);
    EXPECT_EQ(five, 5);
    EXPECT_EQ(real, 1.5f);
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size)); // at the closing brace
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size));

    auto sample = Open(WrittenSample());
    chTxtReader sampleReader(sample.get());
    EXPECT_EQ(ReadSample(sampleReader), MakeSample()) << Written();

    // An empty string is written as "" and keeps later values in place; 64-bit values keep all their
    // bits; a u32 is printed signed.
    {
        auto out = Create();
        chTxtWriter w(out.get());
        w.WriteString("");
        w.WriteInt64(0x123456789ABCDEF0);
        w.WriteUInt64(0xFEDCBA9876543210ull);
        w.WriteUInt32(0x80000000u);
    }
    EXPECT_EQ(Written(), "\"\" 1311768467463790320 -81985529216486896 -2147483648 ");
}

TEST_F(chTextChunkTest, NumbersBooleansAndWideText) {
    auto file = Open("true TRUE True 1 12abc next 99999999999999999999999 -2147483649 "
                     "1e99999 -1e99999 nan inf 18446744073709551615 -9223372036854775808 \xE9t\xE9");
    chTxtReader r(file.get());
    bool flags[4];
    for (bool& flag : flags)
        r.ReadBool(&flag);
    EXPECT_TRUE(flags[0] && flags[1] && flags[2]);
    EXPECT_FALSE(flags[3]);
    i32 twelve = 0;
    std::string next;
    r.ReadInt32(&twelve);
    r.ReadString(next);
    EXPECT_EQ(twelve, 12);
    EXPECT_EQ(next, "next"); // 12abc was one token
    // Long digit runs are taken in 64 bits (wrapping) and then cut to the width.
    i32 wrapped = 0, below = 0;
    r.ReadInt32(&wrapped);
    r.ReadInt32(&below);
    EXPECT_EQ(wrapped, static_cast<i32>(200376420520689663ull)); // 99999999999999999999999 mod 2^64
    EXPECT_EQ(below, 2147483647);
    f32 big = 0, small = 0;
    f64 notANumber = 1, infinity = 1;
    r.ReadFloat(&big);
    r.ReadFloat(&small);
    r.ReadDouble(&notANumber);
    r.ReadDouble(&infinity);
    EXPECT_EQ(big, std::numeric_limits<f32>::infinity());
    EXPECT_EQ(small, -std::numeric_limits<f32>::infinity());
    EXPECT_EQ(notANumber, 0.0); // no number in the token
    EXPECT_EQ(infinity, 0.0);
    u64 all = 0;
    i64 lowest = 0;
    r.ReadUInt64(&all);
    r.ReadInt64(&lowest);
    EXPECT_EQ(all, ~u64{0});
    EXPECT_EQ(lowest, std::numeric_limits<i64>::min());
    // Bytes widen zero-extended: 0xE9 is U+00E9.
    envString text, expected = u"\u00E9t\u00E9";
    expected.AppendChar(0); // the terminated read keeps its 0 unit
    r.ReadString(text);
    EXPECT_EQ(text, expected);
    // With no token left, outside any chunk, every slot reads as nothing.
    i32 none = 7;
    r.ReadInt32(&none);
    EXPECT_EQ(none, 0);
}

TEST_F(chTextChunkTest, SkippingCountsOnlyUnquotedBraces) {
    // Comments between chunks and "#" inside quotes; quoted braces inside a skipped body.
    auto file = Open("# leading comment\r\n"
                     "SKIP\r\n{\r\n\tIN \"}\" \"{\" \"# kept\" \r\n\tDEEP\r\n\t{\r\n\t\tX 1 \r\n\t}\r\n}\r\n"
                     "# between\r\n"
                     "NEXT \"# kept\" \r\n"
                     "OPEN\r\n{\r\n\tA 1 \r\n");
    chTxtReader r(file.get());
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, chMakeId('S', 'K', 'I', 'P'));
    r.EndChunk();
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, chMakeId('N', 'E', 'X', 'T'));
    std::string value;
    r.ReadString(value);
    EXPECT_EQ(value, "# kept");
    r.EndChunk();
    // A missing closing brace reads to the end.
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size));
}

TEST_F(chTextChunkTest, NamesAndTagMaps) {
    auto file = Open("LONGNAME 1 \r\nAB 2 \r\nLONGER 3 \r\n");
    chTxtReader r(file.get());
    const chTagMap tags = {{"LONGNAME", 0x01020304}};
    r.SetTagMap(&tags);
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, 0x01020304u);
    r.EndChunk(); // a chunk without a body skips nothing: its value is still there
    std::string value;
    r.ReadString(value);
    EXPECT_EQ(value, "1");
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, chMakeId('A', 'B', 0, 0)); // missing characters are 0
    r.ReadString(value);
    r.EndChunk();
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    EXPECT_EQ(m_id, chMakeId('L', 'O', 'N', 'G'));

    // A short id writes only its characters.
    {
        auto out = Create();
        chTxtWriter w(out.get());
        w.BeginChunk(chMakeId('A', 'B', 0, 0), 0, false);
        w.EndChunk();
    }
    EXPECT_EQ(Written(), "AB \r\n");
}

// Cut at every byte: the loader fails (the chunk exception, or a bad quoted token) or reads values
// that differ, except where only closing structure was cut; never a crash or a hang.
TEST_F(chTextChunkTest, TruncationSweep) {
    const Sample sample = MakeSample();
    const std::string whole = WrittenSample();
    const size_t lastValueEnd = whole.rfind(sample.narrowTerminated) + sample.narrowTerminated.size();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        auto file = Open(whole.substr(0, cut));
        chTxtReader r(file.get());
        try {
            const bool same = ReadSample(r) == sample;
            EXPECT_TRUE(!same || cut >= lastValueEnd) << cut;
        } catch (const chInvalidChunkX&) {
        } catch (const gfInvalidTokenFileTxtX&) {
        }
    }
}

// The text holds no sizes: a value asked for where the chunk has ended must not be taken from what
// follows it (its closing brace, a nested chunk, the next chunk, or nothing at all). Every typed read
// goes through one token read; a narrow, a wide, a counted and a numeric slot stand for them.
TEST_F(chTextChunkTest, ValuesDoNotRunPastTheirChunk) {
    Sample v;
    const std::vector<std::function<void(chReader&)>> slots = {
        [&](chReader& r) { r.ReadString(v.narrowTerminated); },
        [&](chReader& r) { r.ReadString(v.wideTerminated); },
        [&](chReader& r) { r.ReadChars(v.wideCounted, 2); },
        [&](chReader& r) { r.ReadDouble(&v.f64v); },
        [&](chReader& r) { r.ReadInt8(&v.i8v); },
    };
    // Each text enters its chunks and reads its values, after which one more is due where there is none.
    struct Case {
        const char* text;
        int chunks;
        int values;
    };
    const Case cases[] = {
        {"ABCD\r\n{\r\n\tWXYZ 1 \r\n}\r\nNEXT 2 \r\n", 2, 1},         // the enclosing chunk's closing brace
        {"ABCD\r\n{\r\n\t1 \r\n}\r\nNEXT 2 \r\n", 1, 1},              // its own closing brace
        {"ABCD\r\n{\r\n\t1 \r\n\tWXYZ\r\n\t{\r\n\t}\r\n}\r\n", 1, 1}, // the name of a nested chunk
        {"ABCD\r\n{\r\n\t{\r\n\t}\r\n}\r\n", 1, 0},                   // a nameless body
        {"ABCD 1 \r\nWXYZ\r\n{\r\n}\r\n", 1, 1},                      // the next chunk
        {"ABCD 1 \r\nWXYZ 2 \r\n", 1, 1},                             // the next chunk without a body
        {"ABCD\r\n{\r\n\tWXYZ \r\n\tNEXT 2 \r\n}\r\n", 2, 0},         // a bodiless chunk's missing value
        {"ABCD 1 # 2\r\n", 1, 1},                                     // a comment ends the line
        {"ABCD\r\n{\r\n\tWXYZ 1 ", 2, 1},                             // the end of the file
        {"ABCD 1", 1, 1},
    };
    for (const Case& c : cases) {
        for (size_t slot = 0; slot < slots.size(); ++slot) {
            SCOPED_TRACE(testing::Message() << c.text << " slot " << slot);
            auto file = Open(c.text);
            chTxtReader r(file.get());
            for (int i = 0; i < c.chunks; ++i)
                ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
            for (int i = 0; i < c.values; ++i) {
                std::string value;
                r.ReadString(value);
                EXPECT_EQ(value, "1");
            }
            EXPECT_THROW(slots[slot](r), chInvalidChunkX);
        }
    }
    // Quoted braces are values like any other.
    auto file = Open("ABCD\r\n{\r\n\t\"}\" \"{\" \r\n}\r\n");
    chTxtReader r(file.get());
    ASSERT_TRUE(r.BeginChunk(&m_id, &m_version, &m_size));
    std::string close, open;
    r.ReadString(close);
    r.ReadString(open);
    EXPECT_EQ(close + open, "}{");
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&m_id, &m_version, &m_size));
}
