// Compiles a text GUI script into its binary form, or prints the chunk tree of a binary one:
//   lvGuiScriptCompiler <in.gst> <out.gsf>
//   lvGuiScriptCompiler --dump <in.gsf>
// Words of the text that are no keyword compile to empty chunks and lose their values; each is warned
// about, since it is most likely a misspelled keyword.
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gpr/gprScript.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct Chunk {
    u32 id = 0;
    u16 version = 0;
    std::string body;
};

int Usage() {
    std::fputs("usage: lvGuiScriptCompiler <in.gst> <out.gsf>\n       lvGuiScriptCompiler --dump <in.gsf>\n",
               stderr);
    return 2;
}

fsLocator Locator(const std::string& path) {
    fsLocator locator;
    fsLocatorFromNativePath(std::filesystem::absolute(path).string().c_str(), locator);
    return locator;
}

// The chunks of a body; false when it is not exactly a run of whole chunks.
bool Split(const std::string& bytes, std::vector<Chunk>& out) {
    out.clear();
    for (size_t at = 0; at < bytes.size();) {
        if (bytes.size() - at < 10)
            return false;
        Chunk chunk;
        u32 size = 0;
        std::memcpy(&chunk.id, &bytes[at], 4);
        std::memcpy(&size, &bytes[at + 4], 4);
        std::memcpy(&chunk.version, &bytes[at + 8], 2);
        if (size > bytes.size() - at - 10)
            return false;
        chunk.body = bytes.substr(at + 10, size);
        out.push_back(std::move(chunk));
        at += 10 + size;
    }
    return true;
}

std::string Code(u32 id) {
    std::string code;
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>(id >> (8 * i));
        code += c >= 0x20 && c < 0x7F ? c : '.';
    }
    return code;
}

// The binary form does not mark object chunks: those of the widget kinds that compile are taken for one.
bool IsObject(const Chunk& chunk, std::vector<Chunk>& children) {
    return gprParserUtil::FindWidgetParser(chunk.id) && Split(chunk.body, children);
}

void Dump(const Chunk& chunk, int depth) {
    const std::string keyword = gprKeywordOfId(chunk.id);
    std::printf("%*s%s [%s]", depth * 2, "", keyword.empty() ? "?" : keyword.c_str(), Code(chunk.id).c_str());
    std::vector<Chunk> children;
    if (IsObject(chunk, children)) {
        std::printf(" {\n");
        for (const Chunk& child : children)
            Dump(child, depth + 1);
        std::printf("%*s}\n", depth * 2, "");
        return;
    }
    for (const char byte : chunk.body)
        std::printf(" %02X", static_cast<u8>(byte));
    std::printf("\n");
}

void WarnUnknown(const std::vector<Chunk>& chunks, const std::string& source) {
    for (const Chunk& chunk : chunks) {
        std::vector<Chunk> children;
        if (gprKeywordOfId(chunk.id).empty())
            std::fprintf(stderr, "%s: warning: \"%s\" is no keyword; it and its values are lost\n",
                         source.c_str(), Code(chunk.id).c_str());
        else if (IsObject(chunk, children))
            WarnUnknown(children, source);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return Usage();
    // The tool reports for itself; the engine's log would only repeat it.
    dbgSetLogSink([](const std::string&) {});
    gprInit();
    int result = 0;
    std::vector<Chunk> top;
    if (std::strcmp(argv[1], "--dump") == 0) {
        if (!Split(ReadFile(argv[2]), top))
            std::fprintf(stderr, "%s: warning: the file ends inside a chunk\n", argv[2]);
        for (const Chunk& chunk : top)
            Dump(chunk, 0);
    } else {
        u32 line = 0;
        try {
            gprParserUtil::CompileScript(Locator(argv[1]), Locator(argv[2]), &line);
            Split(ReadFile(argv[2]), top);
            WarnUnknown(top, argv[1]);
        } catch (const chInvalidChunkX&) {
            std::fprintf(stderr, "%s:%u: error: not a readable gui script\n", argv[1], line);
            result = 1;
        } catch (const envExceptionX& e) {
            std::fprintf(stderr, "%s: cannot be compiled into %s (error 0x%08X)\n", argv[1], argv[2],
                         e.GetCode());
            result = 1;
        }
    }
    gprShutdown();
    return result;
}
