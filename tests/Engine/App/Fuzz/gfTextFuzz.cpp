// libFuzzer target: arbitrary bytes as a token file and as a text set. The token file is split into
// tokens, lines and cut tokens; every token written back by the token writer must read back as itself.
// The text set is opened read-only, then writable: a text is set, the set saved and read again, and it
// must hold what was saved. Anything else but the engine's own exceptions is a finding.
// Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz builds and runs it.
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/App/Gf/gfTokenFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

namespace {

std::string g_writtenPath; // the tokens written back
fsLocator g_written;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

std::vector<std::string> Tokens(const fsLocator& locator) {
    gfFile file(locator, 0);
    const u32 size = file.GetSize();
    std::vector<std::string> tokens;
    // A 0 byte ends the data as a stop character does; reading goes on after it.
    for (std::string token; file.Tell() < size;)
        if (gfReadToken(file, token, 0, 0, true))
            tokens.push_back(token);
    return tokens;
}

void WriteBackTokens(const fsLocator& input) {
    std::vector<std::string> tokens;
    try {
        tokens = Tokens(input);
    } catch (const envExceptionX&) {
        return; // a bad quoted token
    }
    std::ofstream(g_writtenPath, std::ios::trunc);
    {
        gfFile out(g_written, 1);
        for (const std::string& token : tokens) {
            gfWriteToken(out, token);
            out.Write(1, " ");
        }
    }
    Check(Tokens(g_written) == tokens);
}

void ReadCutTokensAndLines(const fsLocator& input) {
    try {
        gfFile file(input, 0);
        const u32 size = file.GetSize();
        for (std::string token; file.Tell() < size;)
            gfReadTokenKind(file, token, 8, '\n', false);
        file.Seek(0, 0);
        for (std::string line; file.Tell() < size;)
            gfReadLine(file, line, 16);
    } catch (const envExceptionX&) {
    }
}

void ReadAndSaveTextSet(const fsLocator& input) {
    try {
        { const gfTextSet readOnly(input, 7, true); }
        std::map<u32, envString> saved;
        u32 setNumber;
        {
            gfTextSet set(input, 7, false);
            set.SetText(42, envString("fuzz"));
            set.Save();
            saved = set.GetTexts();
            setNumber = set.GetSetNumber();
        }
        const gfTextSet again(input, 0, true);
        Check(again.GetTexts() == saved && again.GetSetNumber() == setNumber);
    } catch (const envExceptionX&) {
        // The loader's answer to a bad set.
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_writtenPath = fuzzLoader::Start("input.tsf").GetFolder() + "/written";
    fsLocatorFromNativePath(g_writtenPath.c_str(), g_written);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& input = fuzzLoader::Write(data, size);
    WriteBackTokens(input);
    ReadCutTokensAndLines(input);
    ReadAndSaveTextSet(input); // last: it rewrites the input
    return 0;
}
