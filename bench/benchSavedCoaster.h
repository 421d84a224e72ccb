#pragma once
#include "Engine/App/Ch/chWriter.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coScreenCapture.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coPropListChunk.h"
#include "benchCoaster.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

// The bench coaster as the builder saves it on the "Mountain": the "Ironvale" dock at its start, props
// beside every other piece, and, when a device is up, the thumbnail of its back buffer (the scene is not
// drawn for it: the benches load no environment; the chunk has the size of a player's).
struct benchSavedCoasterServices : coSavedCoasterServices {
    static constexpr int kProps = 40;

    benchSavedCoasterServices() { coSetSavedCoasterServices(this); }
    ~benchSavedCoasterServices() override { coSetSavedCoasterServices(nullptr); }
    std::string GetEnvironmentName() const override { return "Mountain"; }
    int GetEnvironmentIndex() const override { return 0; }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        position = coCircuitFirstPiece()->GetStart();
        heading = 0.0f;
        type = "Ironvale";
        return true;
    }
    // Eight metres to the side of every other piece's start, on the ground.
    void WriteProps(chWriter& writer) const override {
        static const char* const kNames[] = {"fountain", "bench", "banner"};
        std::vector<coPropRecord> props;
        const coCoasterPiece* piece = coCircuitFirstPiece();
        for (int i = 0; i < kProps && piece && piece->GetNext(); ++i, piece = piece->GetNext()->GetNext()) {
            const maVector3d start = piece->GetStart(), next = piece->GetNext()->GetStart();
            const float heading = std::atan2(next.x - start.x, next.z - start.z);
            coPropRecord prop;
            prop.name = envString(kNames[i % 3]);
            prop.position =
                maVector3d(start.x + 8.0f * std::cos(heading), 0.0f, start.z - 8.0f * std::sin(heading));
            prop.heading = heading;
            props.push_back(prop);
        }
        coWritePropRecords(writer, props);
    }
    void WriteThumbnail(chWriter& writer) const override {
        if (!g_pdevice)
            return;
        writer.BeginChunk(coChunkSnapshot, 1, true);
        coWriteThumbnailBmp(
            [&writer](const u8* bytes, u32 count) {
                for (u32 i = 0; i < count; ++i)
                    writer.WriteUInt8(bytes[i]);
            },
            *g_pdevice);
        writer.EndChunk();
    }
};

// Saves the 100-piece closed "Steel" coaster, the last Straight of each side braking, with the game's
// writer; the circuit is empty again afterwards.
inline void benchWriteSavedCoaster(const std::filesystem::path& file) {
    benchSavedCoasterServices services;
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    benchBuildClosedCoaster();
    int index = 0;
    for (coCoasterPiece* piece = coCircuitFirstPiece(); index < coCircuitPieceCount();
         piece = piece->GetNext(), ++index)
        if (index % 25 == 23)
            piece->SetElement(coElementBrakes);
    fsLocator locator;
    fsLocatorFromNativePath(file.string().c_str(), locator);
    coSaveCoasterFile(locator);
    coCircuitClear();
}
