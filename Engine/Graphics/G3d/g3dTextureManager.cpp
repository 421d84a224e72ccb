#include "Engine/Graphics/G3d/g3dTextureManager.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/G3d/private/g3dTextureManagerPAC.h"

#include <algorithm>
#include <memory>
#include <set>

namespace {

constexpr u32 kTuva = chMakeId('T', 'U', 'V', 'A');
constexpr u32 kUdat = chMakeId('U', 'D', 'A', 'T');
constexpr u32 kTpag = chMakeId('T', 'P', 'A', 'G');
// Frame count, columns, rows, frames per second, loop and ping-pong.
constexpr u32 kUdatSize = 4 + 4 + 4 + 4 + 1 + 1;

std::set<g3dUVATexture*> g_flipBooks;

// Releases the pages and deletes the flip-book.
void Discard(g3dUVATexture* texture) {
    for (i32 i = 0; i < texture->GetPageCount(); ++i)
        g3dTextureManager::ReleaseTexture(texture->GetPage(i));
    delete texture;
}

void ReadAnimation(chReader& reader, u32 size, g3dUVATexture& texture) {
    // Values may run into the next chunk as far as the reader is concerned: the body must hold them.
    if (size < kUdatSize)
        throw chInvalidChunkX();
    i32 frames = 0, columns = 0, rows = 0;
    f32 rate = 0.0f;
    u8 loop = 0, pingPong = 0;
    reader.ReadInt32(&frames);
    reader.ReadInt32(&columns);
    reader.ReadInt32(&rows);
    reader.ReadFloat(&rate);
    reader.ReadUInt8(&loop);
    reader.ReadUInt8(&pingPong);
    texture.SetFrameCount(frames);
    texture.SetColumns(columns);
    texture.SetRows(rows);
    texture.SetFramesPerSecond(rate);
    texture.SetLooping(loop == 1);
    texture.SetPingPong(pingPong == 1);
}

// The page's file name, up to its 0 byte, from the chunk's own body.
void ReadPage(chReader& reader, u32 size, const fsLocator& directory, i32 shiftX, i32 shiftY,
              g3dUVATexture& texture) {
    std::string name;
    reader.ReadChars(name, size);
    name.resize(std::min(name.find('\0'), name.size()));
    fsLocator page = directory;
    page.AppendComponent(name.c_str());
    texture.AddPage(g3dTextureManager::LoadPlainTexture(page, shiftX, shiftY));
}

void ReadFlipBook(const fsLocator& file, i32 shiftX, i32 shiftY, g3dUVATexture& texture) {
    fsLocator directory = file;
    if (directory.GetComponentCount() > 0)
        directory.RemoveLastComponent();
    gfFile stream(file, 0, 0);
    stream.ReadBinHeader(nullptr);
    chBinReader reader(&stream);
    u32 id = 0, size = 0;
    u16 version = 0;
    if (!reader.BeginChunk(&id, &version, &size) || id != kTuva)
        throw chInvalidChunkX();
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kUdat)
            ReadAnimation(reader, size, texture);
        else if (id == kTpag)
            ReadPage(reader, size, directory, shiftX, shiftY, texture);
        reader.EndChunk();
    }
    reader.EndChunk();
}

} // namespace

namespace g3dTextureManager {

void Initialize() {
    g3dTextureManagerPAC::RegisterResetHandler();
}

g3dPlainTexture* LoadPlainTexture(const fsLocator& file, i32 shiftX, i32 shiftY) {
    return g3dTextureManagerPAC::LoadPlainTexture(file, shiftX, shiftY);
}

g3dMipTexture* LoadMipTexture(const fsLocator& file, i32 shiftX, i32 shiftY) {
    return g3dTextureManagerPAC::LoadMipTexture(file, shiftX, shiftY);
}

g3dUVATexture* LoadUVATexture(const fsLocator& file, i32 shiftX, i32 shiftY) {
    auto* texture = new g3dUVATexture();
    try {
        ReadFlipBook(file, shiftX, shiftY, *texture);
    } catch (...) {
        // Nothing of a flip-book that failed stays behind: neither it nor its pages loaded so far.
        Discard(texture);
        throw;
    }
    g_flipBooks.insert(texture);
    return texture;
}

g3dRenderTargetTexture* CreateRenderTarget(i32 width, i32 height, const g2dPixelFormat& format) {
    return g3dTextureManagerPAC::CreateRenderTarget(width, height, format);
}

g3dPlainTexture* CreateTextTextureRuns(const std::vector<g2dFont>& fonts,
                                       const std::vector<envString>& strings, const std::vector<i32>& xs,
                                       const std::vector<g3dTextColour>& colours, i32 width, i32 height) {
    return g3dTextureManagerPAC::CreateTextTexture({fonts, strings, xs, colours}, width, height);
}

g3dPlainTexture* CreateTextTextureSingle(g2dFont font, const envString& text, const g3dTextColour& colour,
                                         i32 width, i32 height) {
    return g3dTextureManagerPAC::CreateTextTexture({{font}, {text}, {0}, {colour}}, width, height);
}

void DrawTextRuns(g3dPlainTexture* texture, const std::vector<g2dFont>& fonts,
                  const std::vector<envString>& strings, const std::vector<i32>& xs,
                  const std::vector<g3dTextColour>& colours) {
    g3dTextureManagerPAC::DrawText(texture, {fonts, strings, xs, colours});
}

void DrawTextSingle(g3dPlainTexture* texture, g2dFont font, const envString& text,
                    const g3dTextColour& colour) {
    g3dTextureManagerPAC::DrawText(texture, {{font}, {text}, {0}, {colour}});
}

void ReleaseTexture(g3dTexture* texture) {
    if (!texture)
        return;
    if (auto* flipBook = dynamic_cast<g3dUVATexture*>(texture)) {
        if (g_flipBooks.erase(flipBook) != 0)
            Discard(flipBook);
        return;
    }
    g3dTextureManagerPAC::ReleaseTexture(texture);
}

u32 GetAvailableTextureMemory() {
    return g3dTextureManagerPAC::GetAvailableTextureMemory();
}

} // namespace g3dTextureManager
