// libFuzzer target: arbitrary bytes as a binary GUI script, loaded into a widget of its first chunk's
// kind. Anything but the engine's exceptions or a bad cast is a finding, and everything a load made is
// freed. Seeds: gprFuzzSeeds; scripts/fuzz runs it.
#include "gprFuzzHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gprFuzz::Initialize("input.gsf");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gprFuzz::g_input->Write(data, size);
    gprFuzz::LoadBinary();
    return 0;
}
