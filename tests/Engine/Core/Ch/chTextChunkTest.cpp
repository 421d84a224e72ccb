#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Ch/chTxtReader.h"
#include "Engine/Core/Ch/chTxtWriter.h"
#include "chTestFile.h"
#include "chTestSample.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

class chTextChunkTest : public chTestFile {};

} // namespace

TEST_F(chTextChunkTest, GoldenTextAndReadBack) {
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
    u32 id = 0, size = 1;
    u16 version = 1;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, kABCD);
    EXPECT_EQ(version, 0); // text chunks carry no version or size
    EXPECT_EQ(size, 0u);
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, kWXYZ);
    i32 five = 0;
    f32 real = 0;
    r.ReadInt32(&five);
    r.ReadFloat(&real);
    EXPECT_EQ(five, 5);
    EXPECT_EQ(real, 1.5f);
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size)); // at the closing brace
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(r.GetLocator(), m_folder.Locator("in"));
}

TEST_F(chTextChunkTest, EverySlotRoundTrips) {
    const Sample sample = MakeSample();
    {
        auto file = Create();
        chTxtWriter w(file.get());
        WriteSample(w, sample);
    }
    auto file = Open(Written());
    chTxtReader r(file.get());
    EXPECT_EQ(ReadSample(r), sample) << Written();
}

TEST_F(chTextChunkTest, StringsThatNeedQuotes) {
    // Each reads back as the one value it was, the empty string included, and later values stay in place.
    const std::vector<std::string> texts = {
        "a b", "c:\\x\\", "",    "say \"hi\"", "two\nlines",     "}",    "{",
        "a-5", "1e-5",    "a=b", "x:",         "#not a comment", "end.", "-"};
    {
        auto file = Create();
        chTxtWriter w(file.get());
        w.BeginChunk(chMakeId('S', 'T', 'R', 'S'), 0, true);
        for (const std::string& text : texts)
            w.WriteString(text);
        w.WriteInt32(42);
        w.EndChunk();
    }
    EXPECT_NE(Written().find("\"a b\" \"c:\\\\x\\\\\" \"\" "), std::string::npos) << Written();

    auto file = Open(Written());
    chTxtReader r(file.get());
    u32 id, size;
    u16 version;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    for (const std::string& text : texts) {
        std::string back;
        r.ReadString(back);
        EXPECT_EQ(back, text);
    }
    i32 last = 0;
    r.ReadInt32(&last);
    EXPECT_EQ(last, 42);
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
    r.ReadInt32(&twelve);
    EXPECT_EQ(twelve, 12);
    std::string next;
    r.ReadString(next);
    EXPECT_EQ(next, "next"); // 12abc was one token
    // Long digit runs are taken in 64 bits (wrapping) and then cut to the width.
    i32 wrapped = 0, below = 0;
    r.ReadInt32(&wrapped);
    r.ReadInt32(&below);
    u64 expected = 0;
    for (char c : std::string("99999999999999999999999"))
        expected = expected * 10 + static_cast<u64>(c - '0');
    EXPECT_EQ(wrapped, static_cast<i32>(expected));
    EXPECT_EQ(below, 2147483647); // -2^31 - 1 cut to 32 bits
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
    envString wide;
    r.ReadString(wide);
    ASSERT_EQ(wide.GetLength(), 4u);
    EXPECT_EQ(wide[0], 0x00E9);
    EXPECT_EQ(wide[3], 0);
    // With no token left every slot reads as nothing.
    i32 none = 7;
    bool flag = true;
    f32 zero = 1;
    std::string empty = "x";
    r.ReadInt32(&none);
    r.ReadBool(&flag);
    r.ReadFloat(&zero);
    r.ReadString(empty);
    EXPECT_EQ(none, 0);
    EXPECT_FALSE(flag);
    EXPECT_EQ(zero, 0.0f);
    EXPECT_EQ(empty, "");
}

TEST_F(chTextChunkTest, SixtyFourBitValuesKeepAllTheirBits) {
    {
        auto file = Create();
        chTxtWriter w(file.get());
        w.WriteInt64(0x123456789ABCDEF0);
        w.WriteUInt64(0xFEDCBA9876543210ull);
        w.WriteUInt32(0x80000000u);
        w.WriteUInt16(0xFFFF);
        w.WriteInt16(-1);
        w.WriteUInt8(0xFF);
        w.WriteInt8(-1);
    }
    EXPECT_EQ(Written(), "1311768467463790320 -81985529216486896 -2147483648 65535 -1 255 -1 ");
    auto file = Open(Written());
    chTxtReader r(file.get());
    i64 a = 0;
    u64 b = 0;
    u32 c = 0;
    r.ReadInt64(&a);
    r.ReadUInt64(&b);
    r.ReadUInt32(&c);
    EXPECT_EQ(a, 0x123456789ABCDEF0);
    EXPECT_EQ(b, 0xFEDCBA9876543210ull);
    EXPECT_EQ(c, 0x80000000u);
}

TEST_F(chTextChunkTest, SkippingCountsOnlyUnquotedBraces) {
    // Comments between chunks and "#" inside quotes; quoted braces inside a skipped body.
    auto file = Open("# leading comment\r\n"
                     "SKIP\r\n{\r\n\tIN \"}\" \"{\" \"# kept\" \r\n\tDEEP\r\n\t{\r\n\t\tX 1 \r\n\t}\r\n}\r\n"
                     "# between\r\n"
                     "NEXT \"# kept\" \r\n");
    chTxtReader r(file.get());
    u32 id, size;
    u16 version;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, chMakeId('S', 'K', 'I', 'P'));
    r.EndChunk();
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, chMakeId('N', 'E', 'X', 'T'));
    std::string value;
    r.ReadString(value);
    EXPECT_EQ(value, "# kept");
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
}

TEST_F(chTextChunkTest, NamesAndTagMaps) {
    auto file = Open("LONGNAME 1 \r\nAB 2 \r\nLONGER 3 \r\n");
    chTxtReader r(file.get());
    const chTagMap tags = {{"LONGNAME", 0x01020304}};
    r.SetTagMap(&tags);
    u32 id, size;
    u16 version;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, 0x01020304u);
    r.EndChunk(); // a chunk without a body skips nothing: its value is still there
    std::string one;
    r.ReadString(one);
    EXPECT_EQ(one, "1");
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, chMakeId('A', 'B', 0, 0)); // missing characters are 0
    r.ReadString(one);
    r.EndChunk();
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    EXPECT_EQ(id, chMakeId('L', 'O', 'N', 'G'));

    // A short id writes only its characters and reads back the same.
    {
        auto out = Create();
        chTxtWriter w(out.get());
        w.BeginChunk(chMakeId('A', 'B', 0, 0), 0, false);
        w.EndChunk();
    }
    EXPECT_EQ(Written(), "AB \r\n");
}

TEST_F(chTextChunkTest, MissingClosingBraceReadsToTheEnd) {
    auto file = Open("OPEN\r\n{\r\n\tA 1 \r\n");
    chTxtReader r(file.get());
    u32 id, size;
    u16 version;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
}

// Cut at every byte: the loader fails (the chunk exception, or a bad quoted token) or reads values
// that differ, except where only closing structure was cut; never a crash or a hang.
TEST_F(chTextChunkTest, TruncationSweep) {
    const Sample sample = MakeSample();
    {
        auto file = Create();
        chTxtWriter w(file.get());
        WriteSample(w, sample);
    }
    const std::string whole = Written();
    const size_t lastValueEnd = whole.rfind(sample.narrowTerminated) + sample.narrowTerminated.size();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        auto file = Open(whole.substr(0, cut));
        chTxtReader r(file.get());
        bool failed = false;
        try {
            failed = !(ReadSample(r) == sample);
        } catch (const chInvalidChunkX&) {
            failed = true;
        } catch (const gfInvalidTokenFileTxtX&) {
            failed = true;
        }
        if (cut < lastValueEnd) {
            EXPECT_TRUE(failed) << cut;
        }
    }
}

// The text holds no sizes: a value asked for where the chunk has ended must not be taken from what
// follows it (its closing brace, a nested chunk, the next chunk, or nothing at all).
TEST_F(chTextChunkTest, ValuesDoNotRunPastTheirChunk) {
    Sample v;
    const std::vector<std::function<void(chReader&)>> slots = {
        [&](chReader& r) { r.ReadChars(v.wideCounted, 2); },
        [&](chReader& r) { r.ReadString(v.wideTerminated); },
        [&](chReader& r) { r.ReadChars(v.narrowCounted, 2); },
        [&](chReader& r) { r.ReadString(v.narrowTerminated); },
        [&](chReader& r) { r.ReadBool(&v.flag); },
        [&](chReader& r) { r.ReadDouble(&v.f64v); },
        [&](chReader& r) { r.ReadFloat(&v.f32v); },
        [&](chReader& r) { r.ReadUInt64(&v.u64v); },
        [&](chReader& r) { r.ReadInt64(&v.i64v); },
        [&](chReader& r) { r.ReadUInt32(&v.u32v); },
        [&](chReader& r) { r.ReadInt32(&v.i32v); },
        [&](chReader& r) { r.ReadUInt16(&v.u16v); },
        [&](chReader& r) { r.ReadInt16(&v.i16v); },
        [&](chReader& r) { r.ReadUInt8(&v.u8v); },
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
        {"ABCD\r\n{\r\n\tWXYZ 1 ", 2, 1},                             // the end of the file
        {"ABCD 1", 1, 1},
    };
    for (const Case& c : cases) {
        for (size_t slot = 0; slot < slots.size(); ++slot) {
            auto file = Open(c.text);
            chTxtReader r(file.get());
            u32 id, size;
            u16 version;
            for (int i = 0; i < c.chunks; ++i)
                ASSERT_TRUE(r.BeginChunk(&id, &version, &size)) << c.text;
            for (int i = 0; i < c.values; ++i) {
                std::string value;
                r.ReadString(value);
                EXPECT_EQ(value, "1") << c.text;
            }
            EXPECT_THROW(slots[slot](r), chInvalidChunkX) << c.text << " slot " << slot;
        }
    }
    // Quoted braces are values like any other.
    auto file = Open("ABCD\r\n{\r\n\t\"}\" \"{\" \r\n}\r\n");
    chTxtReader r(file.get());
    u32 id, size;
    u16 version;
    ASSERT_TRUE(r.BeginChunk(&id, &version, &size));
    std::string close, open;
    r.ReadString(close);
    r.ReadString(open);
    EXPECT_EQ(close + open, "}{");
    r.EndChunk();
    EXPECT_FALSE(r.BeginChunk(&id, &version, &size));
}
