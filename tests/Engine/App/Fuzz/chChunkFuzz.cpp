// libFuzzer target: arbitrary bytes as a binary chunk file (after its data-file header, in the byte
// order the header names) and as a text chunk file. Each form is read twice: by a loader of one fixed
// shape that uses every kind of value, and by a walker of any shape, which the low bits of each chunk's
// id steer into its children, its strings, its numbers or a counted text. Anything but the engine's own
// exceptions is a finding. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz builds and runs it.
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chTestSample.h"
#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <type_traits>

namespace {

constexpr int kMaxDepth = 16;

const chTagMap g_tags = {{"Sample", kABCD}, {"Nested", kWXYZ}};

void ReadNumbers(chReader& reader) {
    bool flag;
    f64 f64v;
    f32 f32v;
    u64 u64v;
    i64 i64v;
    u32 u32v;
    i32 i32v;
    u16 u16v;
    i16 i16v;
    u8 u8v;
    i8 i8v;
    reader.ReadBool(&flag);
    reader.ReadDouble(&f64v);
    reader.ReadFloat(&f32v);
    reader.ReadUInt64(&u64v);
    reader.ReadInt64(&i64v);
    reader.ReadUInt32(&u32v);
    reader.ReadInt32(&i32v);
    reader.ReadUInt16(&u16v);
    reader.ReadInt16(&i16v);
    reader.ReadUInt8(&u8v);
    reader.ReadInt8(&i8v);
}

void ReadStrings(chReader& reader) {
    envString wide;
    std::string narrow;
    reader.ReadString(wide);
    reader.ReadString(narrow);
}

void ReadCounted(chReader& reader) {
    u32 count;
    reader.ReadUInt32(&count);
    envString wide;
    std::string narrow;
    reader.ReadChars(narrow, count);
    reader.ReadChars(wide, count);
}

void Walk(chReader& reader, int depth) {
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        switch (id & 3) {
        case 0:
            if (depth < kMaxDepth)
                Walk(reader, depth + 1);
            break;
        case 1:
            ReadStrings(reader);
            break;
        case 2:
            ReadNumbers(reader);
            break;
        default:
            ReadCounted(reader);
            break;
        }
        reader.EndChunk();
    }
}

template <class Reader> void ReadBoth(const fsLocator& input, u32 byteOrder, bool binary) {
    for (int pass = 0; pass < 2; ++pass) {
        try {
            gfFile file(input, 0, byteOrder);
            if (binary)
                file.ReadBinHeader(nullptr);
            Reader reader(&file);
            if constexpr (std::is_same_v<Reader, chTxtReader>)
                reader.SetTagMap(&g_tags);
            if (pass == 0)
                ReadSample(reader);
            else
                Walk(reader, 0);
        } catch (const envExceptionX&) {
            // The loader's answer to a bad file.
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.chunk");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& input = fuzzLoader::Write(data, size);
    // The header's first version byte is the writer's byte-order flag.
    ReadBoth<chBinReader>(input, size > 4 && data[4] == 1 ? 1 : 2, true);
    ReadBoth<chTxtReader>(input, 0, false);
    return 0;
}
