// The "track" scene: a chain of named pieces of a coaster type from the built content on flat ground,
// drawn with its rails, spine, crossbars and supports (a 180-degree roll stands on a portal). The check:
// the middle of the first piece's track and of its pole (the one at 0.33 of it) both cover pixels that
// show the ground alone once the track is cleared.
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "rdemo.h"
#include "rdemoCoaster.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

namespace {

// The first piece starts this high, so that its pole stands tall enough to be seen.
const maVector3d kStart(0.0f, 6.0f, 0.0f);

std::unique_ptr<coCoasterPiece> MakeStraight(float roll) {
    auto straight = std::make_unique<coCoasterPieceStraight>();
    straight->SetRunLength(20.0f);
    straight->SetRoll(coDegrees(roll));
    // The roll holds over the whole piece rather than blending into its neighbours'.
    straight->SetRollBlend(roll != 0.0f ? 0 : 1);
    return straight;
}

const std::map<std::string, std::function<std::unique_ptr<coCoasterPiece>()>>& PieceMakers() {
    static const std::map<std::string, std::function<std::unique_ptr<coCoasterPiece>()>> makers = {
        {"straight", [] { return MakeStraight(0.0f); }},
        {"turn90",
         [] {
             auto turn = std::make_unique<coCoasterPieceTurn>();
             turn->SetAngle(coDegrees(90.0f));
             turn->SetRadius(15.0f);
             return turn;
         }},
        {"loop", [] { return std::make_unique<coCoasterPieceLoop>(); }},
        {"corkscrew", [] { return std::make_unique<coCoasterPieceCorkscrew>(); }},
        {"roll180", [] { return MakeStraight(180.0f); }},
    };
    return makers;
}

// True when a pixel within one of the point's projection differs between the two pictures.
bool Covers(const std::vector<u32>& picture, const std::vector<u32>& bare, const maVector3d& world) {
    f32 screen[4];
    g3dRenderer::ProjectToScreen(world, screen);
    const i32 cx = static_cast<i32>(screen[0]), cy = static_cast<i32>(screen[1]);
    for (i32 y = std::max(cy - 1, 0); y <= std::min(cy + 1, kDemoHeight - 1); ++y)
        for (i32 x = std::max(cx - 1, 0); x <= std::min(cx + 1, kDemoWidth - 1); ++x) {
            const size_t i = static_cast<size_t>(y * kDemoWidth + x);
            if ((picture[i] & 0xFFFFFF) != (bare[i] & 0xFFFFFF))
                return true;
        }
    return false;
}

} // namespace

std::vector<u32> DrawTrackScene(const std::string& type, const std::vector<std::string>& pieces) {
    for (const std::string& name : pieces)
        if (!PieceMakers().contains(name)) {
            std::fprintf(stderr, "rdemo: no piece \"%s\"\n", name.c_str());
            return {};
        }
    const auto lay = [&] {
        for (const std::string& name : pieces) {
            std::unique_ptr<coCoasterPiece> piece = PieceMakers().at(name)();
            piece->Place(kStart, 0.0f);
            coCircuitAppend(std::move(piece), true);
        }
    };
    DemoCoaster coaster(type, -1, false, lay, -1);
    // Nearer than the coaster's own view, so that the poles and the portal show.
    coWorldBox box{};
    coaster.Builder().GetTrackBounds(box);
    const maVector3d centre((box[0] + box[1]) * 0.5f, (box[2] + box[3]) * 0.25f, (box[4] + box[5]) * 0.5f);
    const float size = std::max(box[1] - box[0], box[5] - box[4]);
    coaster.Camera().LookAt(centre + maVector3d(0.5f, 0.45f, -0.65f) * size, centre, {0, 1, 0});
    coaster.Camera().Apply();
    const std::vector<u32> picture = coaster.Frame();
    if (coaster.Failed() || coCircuitPieceCount() == 0)
        return {};
    const coCoasterPiece& first = *coCircuitPieces().front();
    // The spine runs 0.25 to 0.55 below the centre line.
    const maVector3d track = first.FrameAt(0.5f).TransformPoint({0.0f, -0.4f, 0.0f});
    maVector3d pole = first.FrameAt(0.33f).GetTranslation();
    pole.y *= 0.5f;
    coCircuitClear();
    const std::vector<u32> bare = coaster.Frame();
    bool shown = true;
    for (const auto& [what, spot] : {std::pair{"track", track}, std::pair{"pole", pole}})
        if (!Covers(picture, bare, spot)) {
            std::fprintf(stderr, "rdemo: no %s drawn at (%.1f, %.1f, %.1f)\n", what, spot.x, spot.y, spot.z);
            shown = false;
        }
    return shown ? picture : std::vector<u32>{};
}
