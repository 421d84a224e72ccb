#pragma once
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Ch/chWriter.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// A definition with a coaster type name and a car count that the file's loader sets.
class coFileTestDefinition : public coCoasterDefinition {
  public:
    coFileTestDefinition() { coSetCoasterDefinition(this); }
    ~coFileTestDefinition() override { coSetCoasterDefinition(nullptr); }
    std::string GetCoasterTypeName() const override { return typeName; }
    int GetNumCars() const override { return numCars; }

    std::string typeName = "Steel";
    int numCars = 4;
};

// The coaster file's neighbours as a small world that records what the loader asks of it: every call
// that changes the world is logged. The props are a count and their names. Installed for its lifetime.
class coRecordingCoasterServices : public coSavedCoasterServices {
  public:
    struct Props : coPendingProps {
        std::vector<std::string> names;
    };

    explicit coRecordingCoasterServices(coFileTestDefinition& definition) : m_definition(definition) {
        coSetSavedCoasterServices(this);
    }
    ~coRecordingCoasterServices() override { coSetSavedCoasterServices(nullptr); }

    void LoadCoasterDefinitions(const std::string& env, const std::string& type, int index) override {
        log.push_back("definitions " + env + " " + type + " " + std::to_string(index));
        environment = env;
        environmentIndex = index;
        m_definition.typeName = type;
    }
    void SetNumCars(int cars) override {
        log.push_back("cars " + std::to_string(cars));
        m_definition.numCars = cars;
    }
    void WriteThumbnail(chWriter& writer) const override {
        if (thumbnail.empty())
            return;
        writer.BeginChunk(coChunkSnapshot, 1, true);
        for (char byte : thumbnail)
            writer.WriteUInt8(static_cast<u8>(byte));
        writer.EndChunk();
    }
    void ClearScene() override {
        log.push_back("clear");
        coSavedCoasterServices::ClearScene();
        placedProps.clear();
        hasDock = false;
    }
    int GetMusicTrack(int list) const override { return list == 2 ? musicTrack : 0; }
    void SetMusicTrack(int list, int track) override {
        log.push_back("music track " + std::to_string(list) + " " + std::to_string(track));
        musicTrack = track;
    }
    fsLocator GetMusicFolder(int) const override { return musicFolder; }
    void SetMusicFolder(int list, const fsLocator& folder) override {
        log.push_back("music folder " + std::to_string(list));
        musicFolder = folder;
    }
    std::string GetEnvironmentName() const override { return environment; }
    int GetEnvironmentIndex() const override { return environmentIndex; }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        if (!hasDock)
            return false;
        position = dockPosition;
        heading = dockHeading;
        type = dockType;
        return true;
    }
    void LoadDock(const std::string& type) override {
        log.push_back("dock " + type);
        hasDock = true;
        dockType = type;
    }
    void PlaceDock(const maVector3d& position, float heading) override {
        log.push_back("place dock");
        dockPosition = position;
        dockHeading = heading;
    }
    // Logs how many pieces stand when the track is attached.
    void AttachTrackToDock() override {
        log.push_back("attach track " + std::to_string(coCircuitPieceCount()));
    }
    void WriteProps(chWriter& writer) const override {
        writer.BeginChunk(coChunkPropList, 0, true);
        writer.WriteInt32(static_cast<i32>(placedProps.size()));
        for (const std::string& name : placedProps)
            writer.WriteString(name);
        writer.EndChunk();
    }
    std::unique_ptr<coPendingProps> ReadProps(chReader& reader, u16, u32 size) const override {
        auto props = std::make_unique<Props>();
        i32 count;
        reader.ReadInt32(&count);
        if (count < 0 || static_cast<u32>(count) > size)
            throw chInvalidChunkX();
        props->names.resize(static_cast<size_t>(count));
        for (std::string& name : props->names)
            reader.ReadString(name);
        return props;
    }
    void PlaceProps(coPendingProps& props) override {
        log.push_back("props");
        for (const std::string& name : static_cast<Props&>(props).names)
            placedProps.push_back(name);
    }
    std::string GetDisplayName(const std::string& folder) const override { return "<" + folder + ">"; }

    std::vector<std::string> log;
    int musicTrack = 5;
    fsLocator musicFolder;
    std::string thumbnail; // the body of the thumbnail chunk; none when empty
    std::string environment = "Mountain";
    int environmentIndex = 0;
    bool hasDock = false;
    maVector3d dockPosition;
    float dockHeading = 0.0f;
    std::string dockType;
    std::vector<std::string> placedProps;

  private:
    coFileTestDefinition& m_definition;
};

// Bytes of a binary chunk file built by hand, independent of the chunk writer.
class coByteBuilder {
  public:
    // The 8-byte header: magic, byte-order flag 2, version bytes.
    void Header(u8 major = 1, const char* magic = "KSFB") {
        bytes.append(magic, 4);
        U8(2);
        U8(major);
        U8(0);
        U8(0);
    }
    void Begin(const char* id, u16 version) {
        m_open.push_back(bytes.size());
        bytes.append(id, 4);
        U32(0);
        U16(version);
    }
    void End() {
        const size_t start = m_open.back();
        m_open.pop_back();
        const u32 size = static_cast<u32>(bytes.size() - start - 10);
        std::memcpy(&bytes[start + 4], &size, 4);
    }
    void U8(u8 v) { Put(&v, 1); }
    void I8(i8 v) { Put(&v, 1); }
    void U16(u16 v) { Put(&v, 2); }
    void I16(i16 v) { Put(&v, 2); }
    void U32(u32 v) { Put(&v, 4); }
    void F32(float v) { Put(&v, 4); }
    void Str(const std::string& text) { bytes.append(text.c_str(), text.size() + 1); }
    void Units(const std::u16string& units) {
        U32(static_cast<u32>(units.size()));
        Put(units.data(), static_cast<u32>(units.size() * 2));
    }
    void Raw(const std::string& more) { bytes += more; }

    std::string bytes;

  private:
    void Put(const void* p, size_t n) { bytes.append(static_cast<const char*>(p), n); }
    std::vector<size_t> m_open;
};

// A chunk built by hand: id, body size, version, body.
inline std::string coChunkBytes(const char* id, const std::string& body, u16 version = 0) {
    coByteBuilder b;
    b.Begin(id, version);
    b.Raw(body);
    b.End();
    return b.bytes;
}

inline std::string coFloatChunk(const char* id, float value) {
    coByteBuilder b;
    b.F32(value);
    return coChunkBytes(id, b.bytes);
}

// One chunk of a chunk file as its sizes say; container is whether it holds chunks.
struct coChunkAt {
    size_t offset;
    std::string id, parent;
    u32 size;
    bool container;
    size_t Body() const { return offset + 10; }
};

inline bool coIsContainerChunk(const std::string& id) {
    for (const char* container : {"CPLS", "CPSR", "CPTU", "CPST", "CPLP", "CPCO", "CPHL", "CPHC", "CPSU",
                                  "CPSH", "CPCU", "CURV", "CCMP"})
        if (id == container)
            return true;
    return false;
}

inline void coWalkChunks(const std::string& bytes, size_t begin, size_t end, const std::string& parent,
                         std::vector<coChunkAt>& out) {
    while (begin + 10 <= end) {
        coChunkAt chunk{begin, bytes.substr(begin, 4), parent, 0, coIsContainerChunk(bytes.substr(begin, 4))};
        std::memcpy(&chunk.size, &bytes[begin + 4], 4);
        out.push_back(chunk);
        if (chunk.container)
            coWalkChunks(bytes, chunk.Body(), chunk.Body() + chunk.size, chunk.id, out);
        begin = chunk.Body() + chunk.size;
    }
}

// Every chunk of a well-formed file after its 8-byte header, parents before children.
inline std::vector<coChunkAt> coChunksOf(const std::string& bytes) {
    std::vector<coChunkAt> chunks;
    coWalkChunks(bytes, 8, bytes.size(), "", chunks);
    return chunks;
}

// Where a chunk of a piece list holds floats: a field of 4 bytes other than the revolution count, or the
// records after the control-point count.
inline std::vector<size_t> coPieceFloatsAt(const coChunkAt& chunk) {
    std::vector<size_t> at;
    if (chunk.id == "CPTS") {
        for (size_t p = chunk.Body() + 2; p + 4 <= chunk.Body() + chunk.size; p += 4)
            at.push_back(p);
    } else if (!chunk.container && chunk.size == 4 && chunk.id != "REVS") {
        at.push_back(chunk.Body());
    }
    return at;
}

template <class T> std::string coPatched(std::string bytes, size_t offset, T value) {
    std::memcpy(&bytes[offset], &value, sizeof(T));
    return bytes;
}

// The fields of a CDAT chunk as a test writes them by hand.
struct coCdatFields {
    float dock[4] = {1.5f, 2.0f, -3.0f, 0.25f};
    std::string type = "Steel";
    std::string environment = "Mountain";
    i8 closed = 1;
    std::string dockType = "Ironvale";
    i8 environmentIndex = 1;
    i8 airDrag = 1;
    i8 propCollisionsOff = 0;
    i8 cars = 3;
    std::string theme = "Forest";
    i8 musicTrack = 3;
    std::u16string musicFolder;
    std::string soundSet = "Classic";

    // The chunk as the given version holds it.
    void Write(coByteBuilder& b, u16 version) const {
        b.Begin("CDAT", version);
        for (float f : dock)
            b.F32(f);
        b.Str(type);
        b.Str(environment);
        b.I8(closed);
        b.Str(dockType);
        if (version > 1)
            b.I8(environmentIndex);
        if (version > 2)
            b.I8(airDrag);
        if (version > 3) {
            b.I8(propCollisionsOff);
            b.I8(cars);
            b.Str(theme);
            b.I8(musicTrack);
            b.Units(musicFolder);
            b.Str(soundSet);
        }
        b.End();
    }
};
