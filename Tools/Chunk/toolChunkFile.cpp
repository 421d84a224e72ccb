#include "Tools/Chunk/toolChunkFile.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"

void toolWriteChunkFile(const std::string& path, const std::function<void(chBinWriter&)>& body) {
    fsLocator target;
    fsLocatorFromNativePath(path.c_str(), target);
    gfWriteFileAtomically(target, gfByteOrderData, [&](gfFile& file) {
        const u8 version[4] = {0, 1, 0, 0};
        file.WriteBinHeader(version);
        chBinWriter writer(&file);
        body(writer);
    });
}
