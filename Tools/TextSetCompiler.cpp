// Compiles a UTF-8 text-set source into a ".tsf" text set:
//   lvTextSetCompiler [--set <number>] <source> <output.tsf>
#include "Engine/Core/Env/envExceptionX.h"
#include "Tools/TextSet/toolTextSetSource.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// Every text set the program opens carries this number.
constexpr u32 kDefaultSetNumber = 32;

int Usage() {
    std::fputs("usage: lvTextSetCompiler [--set <number>] <source> <output.tsf>\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    u32 setNumber = kDefaultSetNumber;
    int arg = 1;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--set") == 0) {
        setNumber = static_cast<u32>(std::strtoul(argv[arg + 1], nullptr, 10));
        arg += 2;
    }
    if (argc - arg != 2)
        return Usage();
    const std::string source = argv[arg], output = argv[arg + 1];

    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", source.c_str());
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    try {
        toolWriteTextSet(output, setNumber, toolParseTextSetSource(text.str(), source));
    } catch (const toolSourceError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "%s: cannot be written (error 0x%08X)\n", output.c_str(), e.GetCode());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: cannot be written: %s\n", output.c_str(), e.what());
        return 1;
    }
    return 0;
}
