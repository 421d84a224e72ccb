#pragma once

// The 3D stack the application starts in one call: dbg, an, g3d, the scene package and video. It stands
// above both the 3D and the scene package, so neither start-up has to know the other's.
void g3dStackInit();
void g3dStackShutdown();
