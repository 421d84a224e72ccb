#pragma once
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Ch/chWriter.h"

#include <limits>

constexpr u32 kABCD = chMakeId('A', 'B', 'C', 'D');
constexpr u32 kWXYZ = chMakeId('W', 'X', 'Y', 'Z');

// A loader of one fixed file shape, as a format's own reader would be: every slot, a nested chunk
// without a body, and a chunk with a body that it does not know (skipped whole). Wide texts stay in
// Latin-1, which the text form keeps. A missing chunk is its own failure, reported like a bad chunk.
struct Sample {
    bool flag = false;
    u8 u8v = 0;
    i8 i8v = 0;
    u16 u16v = 0;
    i16 i16v = 0;
    u32 u32v = 0;
    i32 i32v = 0;
    u64 u64v = 0;
    i64 i64v = 0;
    f32 f32v = 0;
    f64 f64v = 0;
    envString wideCounted, wideTerminated;
    std::string narrowCounted, narrowTerminated;
    bool operator==(const Sample&) const = default;
};

inline Sample MakeSample() {
    Sample s;
    s.flag = true;
    s.u8v = 0xFE;
    s.i8v = -100;
    s.u16v = 0xFEDC;
    s.i16v = -30000;
    s.u32v = 0xFEDCBA98;
    s.i32v = -2000000000;
    s.u64v = 0xFEDCBA9876543210ull;
    s.i64v = std::numeric_limits<i64>::min();
    s.f32v = -1.25e-3f;
    s.f64v = 6.02214076e23;
    s.wideCounted = u"W\u00E9x";
    s.wideTerminated = u"\u00E9t\u00E9";
    s.wideTerminated.AppendChar(0);
    s.narrowCounted = "abc";
    s.narrowTerminated = "narrow";
    return s;
}

inline void WriteSample(chWriter& w, const Sample& s) {
    w.BeginChunk(kABCD, 7, true);
    w.WriteBool(s.flag);
    w.WriteUInt8(s.u8v);
    w.WriteInt8(s.i8v);
    w.WriteUInt16(s.u16v);
    w.WriteInt16(s.i16v);
    w.WriteUInt32(s.u32v);
    w.WriteInt32(s.i32v);
    w.WriteUInt64(s.u64v);
    w.WriteInt64(s.i64v);
    w.WriteFloat(s.f32v);
    w.WriteDouble(s.f64v);
    w.BeginChunk(kWXYZ, 2, false);
    w.WriteChars(s.wideCounted.GetData(), s.wideCounted.GetLength());
    w.WriteString(s.wideTerminated);
    w.EndChunk();
    w.BeginChunk(chMakeId('S', 'K', 'I', 'P'), 1, true);
    w.WriteString("unknown to the loader");
    w.EndChunk();
    w.WriteChars(s.narrowCounted.data(), static_cast<u32>(s.narrowCounted.size()));
    w.WriteString(s.narrowTerminated);
    w.EndChunk();
}

inline void Expect(bool condition) {
    if (!condition)
        throw chInvalidChunkX();
}

inline Sample ReadSample(chReader& r) {
    Sample s;
    u32 id, size;
    u16 version;
    Expect(r.BeginChunk(&id, &version, &size) && id == kABCD);
    r.ReadBool(&s.flag);
    r.ReadUInt8(&s.u8v);
    r.ReadInt8(&s.i8v);
    r.ReadUInt16(&s.u16v);
    r.ReadInt16(&s.i16v);
    r.ReadUInt32(&s.u32v);
    r.ReadInt32(&s.i32v);
    r.ReadUInt64(&s.u64v);
    r.ReadInt64(&s.i64v);
    r.ReadFloat(&s.f32v);
    r.ReadDouble(&s.f64v);
    Expect(r.BeginChunk(&id, &version, &size) && id == kWXYZ);
    r.ReadChars(s.wideCounted, 3);
    r.ReadString(s.wideTerminated);
    r.EndChunk();
    Expect(r.BeginChunk(&id, &version, &size));
    r.EndChunk(); // skipped whole
    r.ReadChars(s.narrowCounted, 3);
    r.ReadString(s.narrowTerminated);
    Expect(!r.BeginChunk(&id, &version, &size));
    r.EndChunk();
    Expect(!r.BeginChunk(&id, &version, &size));
    return s;
}
