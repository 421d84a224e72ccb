// Writes the placed props and target rings of the "props" scene over R1, as chunk files holding one
// prop-list resp. ring-list chunk, until missions carry them:
//   rdemo_parkfiles --props p.cprl --rings r.ctrl
// The fountain stands beside the second straight, which the train passes in its first seconds, a banner
// rides the first straight and a bench stands off the track; one ring stands across the first turn (passed)
// and one beside it (not passed).
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coPropListChunk.h"
#include "Source/World/coTargetRingList.h"
#include "rdemoR1.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

class SteelDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

maVector3d PointOn(int piece, float s) {
    return coCircuitPieceAt(piece)->FrameAt(s).GetTranslation();
}

// The horizontal direction of the track at the fraction of the piece.
maVector3d Along(int piece, float s) {
    maVector3d d = PointOn(piece, s + 0.01f) - PointOn(piece, s - 0.01f);
    d.y = 0.0f;
    return d / d.Length();
}

coPropRecord Prop(const char* name, const maVector3d& position) {
    coPropRecord record;
    record.name = envString(name);
    record.position = position;
    return record;
}

void WriteChunkFile(const std::string& path, const std::function<void(chWriter&)>& write) {
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    gfWriteFileAtomically(locator, gfByteOrderData, [&](gfFile& file) {
        const u8 version[4] = {2, 1, 0, 0};
        file.WriteBinHeader(version);
        chBinWriter writer(&file);
        write(writer);
    });
}

} // namespace

int main(int argc, char** argv) {
    std::string props, rings;
    for (int i = 1; i + 1 < argc; i += 2)
        (std::string(argv[i]) == "--props" ? props : rings) = argv[i + 1];
    if (argc != 5 || props.empty() || rings.empty()) {
        std::fprintf(stderr, "usage: rdemo_parkfiles --props <file.cprl> --rings <file.ctrl>\n");
        return 2;
    }
    SteelDefinition definition;
    coSetCoasterDefinition(&definition);
    DemoLayR1();

    // Beside the track: to the right of the way the train goes.
    const maVector3d forward = Along(2, 0.5f), side = maVector3d(forward.z, 0.0f, -forward.x) * 6.0f;
    std::vector<coPropRecord> placed = {Prop("fountain", PointOn(2, 0.5f) + side),
                                        Prop("bench", PointOn(4, 0.5f) - side * 3.0f)};
    placed[0].position.y = placed[1].position.y = 0.0f;
    coPropRecord banner = Prop("banner", {});
    banner.track = true;
    banner.pieceIndex = 0;
    banner.distance = 0.5f;
    placed.push_back(banner);

    const maVector3d across = Along(1, 0.5f);
    const float heading = std::atan2(across.x, across.z);
    const std::vector<coRingRecord> standing = {{1, 4.0f, PointOn(1, 0.5f), heading, 0.0f},
                                                {1, 4.0f, PointOn(1, 0.5f) + across * 20.0f, heading, 0.0f}};
    try {
        WriteChunkFile(props, [&](chWriter& writer) { coWritePropRecords(writer, placed); });
        WriteChunkFile(rings, [&](chWriter& writer) { coWriteRingRecords(writer, standing); });
    } catch (const envExceptionX& exception) {
        std::fprintf(stderr, "rdemo_parkfiles: error 0x%08X\n", exception.GetCode());
        return 1;
    }
    coCircuitClear();
    coSetCoasterDefinition(nullptr);
    return 0;
}
