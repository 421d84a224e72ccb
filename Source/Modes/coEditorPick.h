#pragma once
#include "Engine/Core/Env/envTypes.h"

class g3dCamera;

// Once per editor frame: a press and release of the first mouse button on the 3D view, shorter than a
// second and moving less than 5 pixels each way, picks what lies under the pointer.
void coEditorClickPick(g3dCamera& camera);
// Selects what the ray through the screen point meets first, cut at the terrain; with a Control key
// down only track pieces count. A miss leaves the selection as it was.
void coEditorPickAt(g3dCamera& camera, i32 x, i32 y, i32 width, i32 height);
