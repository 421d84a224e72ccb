// libFuzzer target: arbitrary bytes as a text GUI script, compiled by the loader (no binary form is
// there) and the result loaded into a widget of its first chunk's kind. Seeds: gprFuzzSeeds; scripts/fuzz
// runs it.
#include "gprFuzzHarness.h"

#include <filesystem>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gprFuzz::Initialize("input.gst");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::error_code ignored;
    std::filesystem::remove(gprFuzz::g_input->GetFolder() + "/input.gsf", ignored);
    gprFuzz::g_input->Write(data, size);
    // Compiled here first, so that the target is made for the compiled file's first chunk.
    fsLocator text = gprFuzz::g_folder, binary = gprFuzz::g_folder;
    text.AppendComponent("input.gst");
    binary.AppendComponent("input.gsf");
    try {
        gprParserUtil::CompileScript(text, binary);
    } catch (const envExceptionX&) {
    }
    gprFuzz::LoadBinary();
    return 0;
}
