#include "Tools/Image/toolFlipBook.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chReader.h"
#include "Tools/Chunk/toolChunkFile.h"

void toolWriteFlipBook(const std::string& path, const toolFlipBook& book) {
    toolWriteChunkFile(path, [&](chBinWriter& writer) {
        writer.BeginChunk(chMakeId('T', 'U', 'V', 'A'), 0, true);
        writer.BeginChunk(chMakeId('U', 'D', 'A', 'T'), 0, true);
        writer.WriteInt32(book.frameCount);
        writer.WriteInt32(book.columns);
        writer.WriteInt32(book.rows);
        writer.WriteFloat(book.framesPerSecond);
        writer.WriteUInt8(book.loop ? 1 : 0);
        writer.WriteUInt8(book.pingPong ? 1 : 0);
        writer.EndChunk();
        for (const std::string& page : book.pages) {
            writer.BeginChunk(chMakeId('T', 'P', 'A', 'G'), 0, true);
            writer.WriteString(page.c_str());
            writer.EndChunk();
        }
        writer.EndChunk();
    });
}
