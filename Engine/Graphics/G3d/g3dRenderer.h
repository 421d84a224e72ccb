#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

// The 3D renderer's platform-independent face: start-up of the device states, the camera matrices
// and the fog the environment asks for. Each call forwards to the device side.
namespace g3dRenderer {

// Resets the renderer's state and registers the reset handler that restores the device states.
void Initialize();
// The texture probe, the default states, the sprite buffer and the ambient light; once the device
// exists and whenever the display is made anew.
void InitStates();
// Releases the sprite buffer.
void Shutdown();

// The camera's matrices; the next pass that needs one sends it.
void SetViewMatrix(const maMatrix4d& view);
// Stored mirrored in x (columns 0 to 2 times -1, 1, 1), the way the camera's screen mapping expects.
void SetProjectionMatrix(const maMatrix4d& projection);

// Each stores its value and applies fog with all five settings. Mode 0 none, 1 exponential,
// 2 exponential squared, 3 linear; distances are whole units.
void SetFogColor(const g3dARGBColor& color);
void SetFogDensity(f32 density);
void SetFogMode(u32 mode);
void SetFogStart(i32 start);
void SetFogEnd(i32 end);

} // namespace g3dRenderer
