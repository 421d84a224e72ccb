#include "Tools/World/toolPropWriter.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include <filesystem>
#include <functional>

namespace {

constexpr u16 kEventVersion = 5;

class Builder {
  public:
    explicit Builder(chBinWriter& w) : m_w(w) {}

    void Chunk(const char* id, u16 version, const std::function<void()>& body) {
        m_w.BeginChunk(chMakeId(id[0], id[1], id[2], id[3]), version, true);
        body();
        m_w.EndChunk();
    }
    void Wide(const std::string& text) { m_w.WriteString(envString(text.c_str())); }
    void Narrow(const std::string& text) { m_w.WriteString(text.c_str()); }
    void Floats(std::initializer_list<float> values) {
        for (float v : values)
            m_w.WriteFloat(v);
    }
    void Event(const char* id, const toolPropEvent& e, bool withPlayCount) {
        Chunk(id, kEventVersion, [&] {
            if (withPlayCount)
                m_w.WriteInt32(e.playCount);
            Wide(e.animation);
            Wide("");
            Floats({e.speed});
            m_w.WriteUInt8(static_cast<u8>(e.particles.size()));
            for (const toolPropParticle& p : e.particles) {
                Wide(p.file);
                Narrow(p.node);
                m_w.WriteInt16(p.keyIndex);
                Floats({p.duration, p.offset[0], p.offset[1], p.offset[2]});
                Floats({p.direction[0], p.direction[1], p.direction[2]});
            }
            m_w.WriteUInt8(static_cast<u8>(e.sounds.size()));
            for (const toolPropSound& s : e.sounds) {
                Wide(s.file);
                Narrow(s.node);
                m_w.WriteInt16(s.keyIndex);
                m_w.WriteUInt8(s.loop ? 1 : 0);
                Floats({s.volume, s.pitch, s.minDistance, s.maxDistance});
            }
        });
    }

  private:
    chBinWriter& m_w;
};

void Write(gfFile& file, const toolPropDefinition& prop) {
    chBinWriter w(&file);
    Builder b(w);
    b.Chunk("CPRP", 1, [&] {
        b.Chunk("MODL", 0, [&] { b.Wide(prop.model); });
        b.Chunk("TRIG", 0, [&] { b.Floats({prop.triggerDistance}); });
        b.Chunk("HEIG", 0, [&] { b.Floats({prop.height}); });
        b.Chunk("SCAL", 0, [&] { b.Floats({prop.scale}); });
        b.Chunk("TRPR", 0, [&] { w.WriteUInt8(prop.trackProp ? 1 : 0); });
        for (const toolPropEvent& e : prop.idle)
            b.Event("IDLE", e, false);
        for (const toolPropEvent& e : prop.entries)
            b.Event("ENTR", e, true);
        for (const toolPropEvent& e : prop.exit)
            b.Event("EXIT", e, true);
    });
}

} // namespace

void toolWritePropDefinition(const std::string& path, const toolPropDefinition& prop) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    gfWriteFileAtomically(locator, gfByteOrderData, [&](gfFile& file) { Write(file, prop); });
}
