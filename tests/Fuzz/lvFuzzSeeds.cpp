// Writes the seed corpora of the loader fuzz targets, one folder per target under the given folder, with
// the project's own writers: chunk files by the chunk writers, token files by the token writer, text
// sets by the text set itself, INI text by the INI file and the key-value store, PNG files by the PNG
// writer. Paks, WAV and BMP files have no writer in the engine: they are laid out by the tests' builders,
// the paks holding the other seeds as entries. Playlists have none either: their lines are written here.
// Usage: lvFuzzSeeds <folder>
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chTestSample.h"
#include "Engine/App/Ch/chTxtWriter.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/App/Gf/gfTokenFile.h"
#include "Engine/Audio/Sn/snWaveBuilder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Platform/Os/plIniFile.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Fuzz/fuzzSeedRun.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>

namespace {

std::string g_folder;

fsLocator Locator(const std::string& path) {
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    return locator;
}

std::string Path(const std::string& target, const std::string& name) {
    std::filesystem::create_directories(g_folder + "/" + target);
    return g_folder + "/" + target + "/" + name;
}

// A new empty file opened for writing.
std::unique_ptr<gfFile> Create(const std::string& path, u32 byteOrder) {
    std::ofstream(path, std::ios::trunc);
    return std::make_unique<gfFile>(Locator(path), 1, byteOrder);
}

// A new binary chunk file (by default in the file's own byte order) with its data-file header written.
std::unique_ptr<gfFile> CreateBinary(const std::string& path, u32 byteOrder = 2) {
    const u8 version[4] = {0, 1, 0, 0};
    auto file = Create(path, byteOrder);
    file->WriteBinHeader(version);
    return file;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Children three deep, each kind of body the walker knows, under ids whose low bits choose it.
void WriteTree(chWriter& w) {
    w.BeginChunk(chMakeId('T', 'R', 'E', 'E'), 1, true); // 'T' & 3 == 0: children
    w.BeginChunk(chMakeId('D', 'E', 'E', 'P'), 1, true);
    w.BeginChunk(chMakeId('A', 'T', 'X', 'T'), 1, false); // strings
    w.WriteString(u"wide");
    w.WriteString("narrow");
    w.EndChunk();
    w.EndChunk();
    w.BeginChunk(chMakeId('N', 'U', 'M', 'S'), 2, false); // numbers
    w.WriteBool(false);
    w.WriteDouble(-0.5);
    w.WriteFloat(1e30f);
    w.WriteUInt64(1);
    w.WriteInt64(-1);
    w.WriteUInt32(7);
    w.WriteInt32(-7);
    w.WriteUInt16(65535);
    w.WriteInt16(-2);
    w.WriteUInt8(255);
    w.WriteInt8(-128);
    w.EndChunk();
    w.BeginChunk(chMakeId('C', 'N', 'T', 'D'), 3, false); // a count, then that many characters
    w.WriteUInt32(5);
    w.WriteChars("count", 5);
    w.WriteChars(u"units", 5);
    w.EndChunk();
    w.EndChunk();
}

void ChunkSeeds() {
    for (u32 byteOrder : {2u, 1u}) {
        const std::string order = byteOrder == 1 ? "-swapped" : "";
        for (bool tree : {false, true}) {
            auto file =
                CreateBinary(Path("chChunkFuzz", (tree ? "tree" : "sample") + order + ".bin"), byteOrder);
            chBinWriter w(file.get());
            tree ? WriteTree(w) : WriteSample(w, MakeSample());
        }
    }
    for (bool tree : {false, true}) {
        auto file = Create(Path("chChunkFuzz", tree ? "tree.txt" : "sample.txt"), 0);
        chTxtWriter w(file.get());
        tree ? WriteTree(w) : WriteSample(w, MakeSample());
    }
}

// Model files of each kind: a fragment of one textured triangle, a hierarchy with a joint level, a skin
// with two joints and an animation with a child level.
void Id(chBinWriter& w, const char* id) {
    w.BeginChunk(chMakeId(id[0], id[1], id[2], id[3]), 1, true);
}

void Floats(chBinWriter& w, std::initializer_list<f32> values) {
    for (f32 v : values)
        w.WriteFloat(v);
}

void WriteFragment(chBinWriter& w) {
    Id(w, "GFRG");
    for (const char* list : {"GVER", "NVER"}) {
        Id(w, list);
        w.WriteUInt16(3);
        Floats(w, {0, 0, 0, 1, 0, 0, 0, 1, 0});
        w.EndChunk();
    }
    Id(w, "TVER");
    w.WriteUInt16(1);
    Floats(w, {0.5f, 0.5f});
    w.EndChunk();
    Id(w, "MATR");
    Id(w, "MBAS");
    Floats(w, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 4});
    w.WriteUInt8(1);
    w.WriteChars("wood.png", 9);
    w.EndChunk();
    w.EndChunk();
    for (const char* indices : {"GIND", "NIND"}) {
        Id(w, indices);
        w.WriteUInt16(1);
        for (u16 i : {0, 1, 2})
            w.WriteUInt16(i);
        w.EndChunk();
    }
    Id(w, "TIND");
    w.WriteUInt16(0);
    w.WriteUInt16(1);
    for (int i = 0; i < 3; ++i)
        w.WriteUInt16(0);
    w.EndChunk();
    w.EndChunk();
}

void WriteJoint(chBinWriter& w, bool child) {
    Id(w, "JOIN");
    Id(w, "NNAM");
    w.WriteChars("bone", 5);
    w.EndChunk();
    Id(w, "JODA");
    Floats(w, {0, 1, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    w.WriteUInt16(2);
    w.WriteUInt16(0);
    w.WriteFloat(0.5f);
    w.WriteUInt16(2);
    w.WriteFloat(1);
    w.EndChunk();
    if (child)
        WriteJoint(w, false);
    w.EndChunk();
}

void WriteKeys(chBinWriter& w, const char* id) {
    Id(w, id);
    w.WriteUInt16(2);
    Floats(w, {0, 0, 0, 0, 0, 4, 0, 24});
    w.EndChunk();
}

void ModelSeeds() {
    const auto write = [](const char* name, void (*body)(chBinWriter&)) {
        auto file = CreateBinary(Path("mayModelFuzz", name));
        chBinWriter w(file.get());
        body(w);
    };
    write("static.mx", [](chBinWriter& w) { WriteFragment(w); });
    write("hierarchy.mhx", [](chBinWriter& w) {
        Id(w, "MHIE");
        Id(w, "HLEV");
        Id(w, "HTRN");
        Floats(w, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1});
        w.EndChunk();
        WriteFragment(w);
        Id(w, "HJNT");
        Id(w, "HJOR");
        Floats(w, {0, 0, 1});
        w.EndChunk();
        WriteFragment(w);
        w.EndChunk();
        w.EndChunk();
        w.EndChunk();
    });
    write("skin.mx", [](chBinWriter& w) {
        Id(w, "MSSK");
        WriteJoint(w, true);
        WriteFragment(w);
        w.EndChunk();
    });
    write("animation.mx", [](chBinWriter& w) {
        Id(w, "ANIH");
        Id(w, "ANLV");
        WriteKeys(w, "APKY");
        WriteKeys(w, "ARKY");
        Id(w, "ANLV");
        WriteKeys(w, "ARKY");
        w.EndChunk();
        w.EndChunk();
        w.EndChunk();
    });
}

void TextSeeds() {
    {
        auto file = Create(Path("gfTextFuzz", "tokens.txt"), 0);
        for (const char* token : {"Name", "quoted text", "-5", "1.5e3", "a=", "{", "}", "caf\xC3\xA9", "",
                                  "line\nfeed", "back\\slash", "#hash", "x.y", ":"}) {
            gfWriteToken(*file, token);
            file->Write(1, token[0] == 'x' ? "\n" : " ");
        }
        file->Write(19, "# a comment\n\"last\"\n");
    }
    const std::string set = Path("gfTextFuzz", "set.tsf");
    WriteText(set, "");
    gfTextSet texts(Locator(set), 3, false);
    texts.SetText(1, envString("Hello"));
    texts.SetText(2, envString(""));
    texts.SetText(0xFFFFFFFF, envString(u"\u00E9t\u00E9 \u2603"));
    texts.Save();
}

void IniSeeds() {
    plIniFile ini("; settings\n\n[Main]\nplain=value\n");
    ini.Set("Main", "Name", "  spaced  ");
    ini.Set("Sub\\Key", "quoted", "\"q\" 'r'");
    ini.Set("Empty", "", "");
    WriteText(Path("plIniFuzz", "file.ini"), ini.GetText());

    plKeyValueStore store(g_folder + "/plIniFuzz/store");
    plKeyHandle key;
    store.OpenKey(plHive::CurrentUser, "", key);
    store.SetValue(key, "Language", "English");
    store.CloseKey(key);
    std::filesystem::rename(store.GetHiveFile(plHive::CurrentUser), Path("plIniFuzz", "store.ini"));
    std::filesystem::remove_all(g_folder + "/plIniFuzz/store");
}

void PlaylistSeeds() {
    WriteText(Path("muPlaylistFuzz", "list.m3u"),
              "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:123,Artist - Title\r\na.wav\r\n  sub\\b.mp3  \r\n"
              "sub/deeper//c.wav\n\t\n/music/d.mp3\r\\music\\e.wav\nC:\\music\\f.mp3\n..\\up.wav");
    WriteText(Path("muPlaylistFuzz", "empty.m3u"), "");
}

// Short files of each sample format for the plain run, and long ones for the run with a 1 MiB limit, so
// that streaming refills many times and meets chunks after the samples.
void WaveSeeds() {
    using namespace snWaveBuilder;
    const std::string list = Chunk("LIST", "INFOISFT\x05\0\0\0fuzz");
    WriteText(Path("snWaveFuzz", "mono16.wav"), Wave16(Ramp(64)));
    WriteText(Path("snWaveFuzz", "stereo16.wav"), Wave16(Ramp(64), 2, 44100));
    WriteText(Path("snWaveFuzz", "mono8-list.wav"),
              Riff(Pcm(1, 11025, 8) + list + Chunk("data", std::string(99, 'x'))));
    WriteText(Path("snWaveFuzz-long", "mono16.wav"), Wave16(Ramp(400000)));
    WriteText(Path("snWaveFuzz-long", "stereo8-list.wav"),
              Riff(Pcm(2, 44100, 8) + Chunk("data", std::string(300001, '\x80')) + list));
}

void PakSeeds() {
    gfPakBuilderLayout layout;
    layout.entries = {{"Data/Track.bin", ReadText(Path("chChunkFuzz", "sample.bin"))},
                      {"text/set.tsf", ReadText(Path("gfTextFuzz", "set.tsf"))},
                      {"readme.txt", "read me"},
                      {"empty", ""}};
    WriteText(Path("gfPakFuzz", "four.pak"), gfBuildPak(layout));
    layout.prefix = "data before the archive";
    layout.comment = "an archive comment";
    layout.entries[2].dataDescriptor = true;
    WriteText(Path("gfPakFuzz", "prefix.pak"), gfBuildPak(layout));
    WriteText(Path("gfPakFuzz", "empty.pak"), gfBuildPak({}));
}

// Particle templates: one of each generator kind, with a constant, a blend and a keyed alpha curve.
void ParticleSeeds() {
    for (i8 kind = 0; kind < 3; ++kind) {
        auto file = CreateBinary(Path("scParticleTemplateFuzz", "kind" + std::to_string(kind) + ".tpr"));
        chBinWriter w(file.get());
        Id(w, "TPAR");
        Id(w, "GENP");
        w.WriteInt8(kind);
        w.WriteInt8(kind);
        Floats(w, {1, 2, 3});
        w.EndChunk();
        Id(w, "SGPP");
        w.WriteInt8(kind == 1 ? 0 : 1);
        w.WriteInt8(0);
        w.WriteInt8(1);
        w.WriteString(u"flame.png");
        w.WriteInt8(static_cast<i8>(kind + 1));
        for (i8 key = 0; key <= kind; ++key)
            Floats(w, {key * 0.5f, 1.0f - key * 0.5f});
        w.EndChunk();
        Id(w, "PARP");
        w.WriteInt8(18);
        Floats(w, {0.5f, 1, 20, 100, 1, 1.5f, 0, 1, -1, 1, 0, 0, 0.5f, 2, 4, 0, 1, 0});
        w.EndChunk();
        w.EndChunk();
    }
}

// Images: PNG files by the engine's writer, grey, colour and with alpha; BMP files, which the engine does
// not write, by the tests' builder, bottom-up and top-down.
void ImageSeeds() {
    for (const bool alpha : {false, true}) {
        g2dPixelRows rows{5, 3, alpha, {}};
        for (size_t i = 0; i < rows.RowBytes() * rows.height; ++i)
            rows.bytes.push_back(static_cast<u8>(i * 29));
        WriteText(Path("g2dImageFuzz", alpha ? "alpha.png" : "colour.png"), g2dEncodePNG(rows));
    }
    std::vector<u8> rgb(3 * 3 * 2);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<u8>(i * 41);
    WriteText(Path("g2dImageFuzz", "up.bmp"), g2dImageBuilder::Bmp(3, 2, rgb));
    WriteText(Path("g2dImageFuzz", "down.bmp"), g2dImageBuilder::Bmp(3, 2, rgb, true));
}

// Flip-books over the pages the target writes beside them (p0.png, p1.png): with and without an
// animation chunk, before and after the pages.
void FlipBookSeeds() {
    for (int layout = 0; layout < 3; ++layout) {
        auto file = CreateBinary(Path("g3dFlipBookFuzz", "book" + std::to_string(layout) + ".tuv"));
        chBinWriter w(file.get());
        Id(w, "TUVA");
        const auto animation = [&w] {
            w.BeginChunk(chMakeId('U', 'D', 'A', 'T'), 1, false);
            for (i32 value : {16, 4, 2})
                w.WriteInt32(value);
            w.WriteFloat(10.0f);
            w.WriteUInt8(1);
            w.WriteUInt8(0);
            w.EndChunk();
        };
        if (layout == 1)
            animation();
        for (const char* page : {"p0.png", "p1.png"}) {
            w.BeginChunk(chMakeId('T', 'P', 'A', 'G'), 1, false);
            w.WriteChars(page, 7);
            w.EndChunk();
        }
        if (layout == 2)
            animation();
        w.EndChunk();
    }
}

} // namespace

int main(int argc, char** argv) {
    return fuzzWriteSeeds(argc, argv, [](const std::string& folder) {
        g_folder = folder;
        ChunkSeeds();
        ModelSeeds();
        TextSeeds();
        IniSeeds();
        PlaylistSeeds();
        WaveSeeds();
        PakSeeds();
        ParticleSeeds();
        ImageSeeds();
        FlipBookSeeds();
    });
}
