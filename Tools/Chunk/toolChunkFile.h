#pragma once
#include <functional>
#include <string>

class chBinWriter;

// Writes a chunk file of the game's binary kind at the path, replacing any file there only once the new one
// is complete: its header, then what the body writes, every value least significant byte first as the
// readers take it.
void toolWriteChunkFile(const std::string& path, const std::function<void(chBinWriter&)>& body);
