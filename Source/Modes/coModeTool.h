#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Source/Modes/coMode.h"
#include "Source/Track/coTrackBuilder.h"

class coCoasterPiece;
class g3dCamera;

// A segment from the eye through a screen point, 1000 times the eye-to-near-plane distance long.
struct coPickRay {
    maVector3d start;
    maVector3d end;
};

// The ray through the screen pixel (x, y) of a screen of that size.
coPickRay coCastPickRay(g3dCamera& camera, float x, float y, i32 width, i32 height);
// The world point in screen pixels, x mirrored as the renderer draws. A point at or behind the eye has
// no place on the screen: false.
bool coProjectToScreen(g3dCamera& camera, const maVector3d& point, i32 width, i32 height, float& x, float& y);

// Whether the segment from P along D passes within r (strictly) of the ray from S along R: the closest
// points' parameters, s on the ray clamped to [0, 1] and u on the segment within [0, 1], are written on a
// hit.
bool coPickTestSegment(const maVector3d& S, const maVector3d& R, const maVector3d& P, const maVector3d& D,
                       float r, float& s, float& u);
// The fraction along a path of n points at parameter u of segment i (from point i - 1 to i).
float coPathFraction(int pointCount, int i, float u);
// The piece whose collision path the segment hits, or null. The fraction becomes the place of the path
// segment nearest to the eye among those within the pick radius; it is left alone when none is.
coCoasterPiece* coPickTrackPosition(const maVector3d& start, const maVector3d& end, float& fraction);

inline coWorldBox coWorldBoxOf(const maBoundingBox& b) {
    return {b.minX, b.maxX, b.minY, b.maxY, b.minZ, b.maxZ};
}

// The heading of the turn tools: 0.015 radians a pixel of horizontal motion, never wrapped.
inline float coTurnedHeading(float turned, float startAngle) {
    return turned * 0.015f + startAngle;
}

// Releases of the primary button that finish a turn or move: one with "Drag v Click" on, else two (the
// release of the palette press that started the tool is the first).
i32 coToolClicksToFinish();

// The frame of the tools that place, turn and move props and the dock over the editor's view: they
// borrow the editor's camera, read the pointer, and show a footprint on the placement grid.
class coModeTool : public coMode {
  public:
    // The builder's palettes stay on screen behind the tool, inert.
    coModeTool() {
        m_paletteStates.Set({coPaletteStats, coPaletteProps, coPaletteTrackManip, coPaletteMain}, 2);
    }

    void SetCamera(g3dCamera* camera) { m_camera = camera; }
    g3dCamera* GetCamera() const { return m_camera; }
    // The tool works on the builder's coaster, unsaved work and all.
    bool IsModified() override { return IsModifiedBelow(); }

  protected:
    // The pick ray through the pointer moved by the grab offset.
    coPickRay PointerRay() const;
    // Where the ray meets the terrain; false when it misses.
    static bool HitTerrain(const coPickRay& ray, maVector3d& hit);
    // The grab offset that keeps the point where it is on the screen when the pointer starts to move it;
    // (0, 0) for a point at or behind the eye.
    void GrabPoint(const maVector3d& point);
    static bool Released(i32 action);
    // The pointer's sideways motion at this poll, in pixels.
    static float HorizontalMotion();
    // Feedback on the main palette for 5 seconds.
    static void Feedback(u32 message);
    // The mode's frame start, then this frame's input and the GUI.
    void BeginToolFrame();
    // The placed props, the footprint for this frame, the grid's overlay, the world's sounds and sky, and
    // the frame drawn from the editor's camera.
    void EndToolFrame(const maBoundingBox& box, bool placeable);

    g3dCamera* m_camera = nullptr;
    float m_grabX = 0.0f;
    float m_grabY = 0.0f;
    i32 m_clicksLeft = -1;
    bool m_cancelled = false;
};
