#pragma once
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Settings/coPaths.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A temporary saves root (root 9) and text root (root 11), the warnings of the debug log and the
// reported errors, for the career tests.
class coCareerEnvironment {
  public:
    coCareerEnvironment() {
        folder.MakeFolder("Saves");
        folder.MakeFolder("Text");
        fsResetRootTable();
        fsAddRootDirectory(coRootSaves, folder.Locator("Saves"));
        fsAddRootDirectory(coRootText, folder.Locator("Text"));
        dbgSetLogSink([this](const std::string& line) { warnings.push_back(line); });
        gfErrorHandler::SetDisplayer(&displayer);
    }
    ~coCareerEnvironment() {
        gfErrorHandler::SetDisplayer(nullptr);
        dbgSetLogSink({});
        fsResetRootTable();
    }

    // Whether a warning holding the text was written, forgetting the warnings so far.
    bool Warned(const std::string& text) {
        bool found = false;
        for (const std::string& line : warnings)
            found = found || line.find(text) != std::string::npos;
        warnings.clear();
        return found;
    }

    fsTestFolder folder;
    std::vector<std::string> warnings;
    gfRecordingDisplayer displayer;
};

class coCareerFixture : public ::testing::Test, public coCareerEnvironment {};

#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chWriter.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"

#include <map>
#include <memory>

// The park as the missions see it: props are records with a position, a name and animation events, rings
// are points. Props are written as a count and, per prop, its position and name; rings as one chunk each.
// Installed as the mission world and the coaster file's services for its lifetime.
class coFakeMissionWorld : public coMissionWorld, public coSavedCoasterServices {
  public:
    static constexpr u32 kRingChunk = chMakeId('C', 'R', 'N', 'G');

    struct Prop {
        maVector3d position;
        std::string name;
        std::vector<std::string> events;
        int activeEvent = -1;
        bool tracked = false;
    };
    struct PendingProps : coPendingProps {
        std::vector<std::unique_ptr<Prop>> props;
    };
    struct PendingRings : coPendingRings {
        std::vector<maVector3d> rings;
    };

    coFakeMissionWorld() {
        coSetMissionWorld(this);
        coSetSavedCoasterServices(this);
    }
    ~coFakeMissionWorld() override {
        coSetMissionWorld(nullptr);
        coSetSavedCoasterServices(nullptr);
    }

    // The prop records stand in for the game's props, which these tests never look inside.
    static coProp* Handle(Prop* prop) { return reinterpret_cast<coProp*>(prop); }
    static const Prop& Of(const coProp* prop) { return *reinterpret_cast<const Prop*>(prop); }

    coProp* AddProp(const maVector3d& position, const std::string& name,
                    std::vector<std::string> events = {}) {
        placed.push_back(std::make_unique<Prop>(Prop{position, name, std::move(events)}));
        return Handle(placed.back().get());
    }

    // No coaster type folders here.
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
    void ClearScene() override {
        coSavedCoasterServices::ClearScene();
        placed.clear();
        rings.clear();
        ++clears;
    }
    void WriteProps(chWriter& writer) const override {
        writer.BeginChunk(coChunkPropList, 0, true);
        writer.WriteInt32(static_cast<i32>(placed.size()));
        for (const auto& prop : placed) {
            writer.WriteFloat(prop->position.x);
            writer.WriteFloat(prop->position.y);
            writer.WriteFloat(prop->position.z);
            writer.WriteString(prop->name);
        }
        writer.EndChunk();
    }
    std::unique_ptr<coPendingProps> ReadProps(chReader& reader, u16, u32 size) const override {
        chChunkBody body(reader, size);
        const i32 count = body.Int32();
        body.Require(count < 0 ? 0 : static_cast<u64>(count), 13);
        auto read = std::make_unique<PendingProps>();
        for (i32 i = 0; i < count; ++i) {
            auto prop = std::make_unique<Prop>();
            prop->position.x = body.Float();
            prop->position.y = body.Float();
            prop->position.z = body.Float();
            prop->name = body.String();
            read->props.push_back(std::move(prop));
        }
        return read;
    }
    void PlaceProps(coPendingProps& props) override {
        for (auto& prop : static_cast<PendingProps&>(props).props)
            placed.push_back(std::move(prop));
    }

    void ListProps(coPendingProps& props, std::vector<coProp*>& out) const override {
        out.clear();
        for (auto& prop : static_cast<PendingProps&>(props).props)
            out.push_back(Handle(prop.get()));
    }
    maVector3d GetPropPosition(const coProp* prop) const override { return Of(prop).position; }
    envString GetPropName(const coProp* prop) const override { return envString(Of(prop).name.c_str()); }
    envString GetPropEventName(const coProp* prop, int event) const override {
        const auto& events = Of(prop).events;
        return event >= 0 && event < static_cast<int>(events.size()) ? envString(events[event].c_str())
                                                                     : envString();
    }
    int GetPropActiveEvent(const coProp* prop) const override { return Of(prop).activeEvent; }
    void SetPropOrderTracked(coProp* prop, bool on) override { reinterpret_cast<Prop*>(prop)->tracked = on; }

    std::unique_ptr<coPendingRings> ReadRings(chReader& reader) const override {
        auto read = std::make_unique<PendingRings>();
        u32 id, size;
        u16 version;
        while (reader.BeginChunk(&id, &version, &size)) {
            chChunkBody body(reader, size);
            if (id == kRingChunk) {
                maVector3d ring;
                ring.x = body.Float();
                ring.y = body.Float();
                ring.z = body.Float();
                read->rings.push_back(ring);
            }
            reader.EndChunk();
        }
        return read;
    }
    void AddRings(coPendingRings& read) override {
        for (const maVector3d& ring : static_cast<PendingRings&>(read).rings)
            rings.push_back(ring);
    }
    void WriteRings(chWriter& writer) const override {
        writer.BeginChunk(coChunkRingList, 0, true);
        for (const maVector3d& ring : rings) {
            writer.BeginChunk(kRingChunk, 0, false);
            writer.WriteFloat(ring.x);
            writer.WriteFloat(ring.y);
            writer.WriteFloat(ring.z);
            writer.EndChunk();
        }
        writer.EndChunk();
    }
    void PrepareRings() override { ++prepared; }
    bool AllRingsPassed() override { return ringsPassed; }

    std::vector<std::unique_ptr<Prop>> placed;
    std::vector<maVector3d> rings;
    bool ringsPassed = true;
    int prepared = 0;
    int clears = 0;
};

// The objective texts "uiop.tsf" under the text root, written by the text-set writer, and opened.
inline std::unique_ptr<gfTextSet> coWriteObjectiveTexts(const fsTestFolder& folder,
                                                        const std::map<u32, envString>& texts) {
    gfWriteTextSet(folder.Locator("Text/uiop.tsf"), 32, texts);
    return std::make_unique<gfTextSet>(fsRootedLocator(11, "uiop.tsf"), 32, true);
}
