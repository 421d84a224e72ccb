#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Tools/Image/toolPngWriter.h"

#include <array>
#include <vector>

// A triangle in world space with its surface colour (red, green, blue from 0 to 1).
struct toolShadedTriangle {
    maVector3d corners[3];
    std::array<float, 3> colour;
};

// A perspective camera: where it stands, what it looks at (y is up) and its vertical field of view.
struct toolCamera {
    maVector3d eye;
    maVector3d target;
    float fieldOfView = 0.6f;
};

// A camera looking at the centre of the triangles' box from the yaw (about y) and the pitch (down from
// level), far enough back that the whole box fits a picture of the aspect (width / height).
toolCamera toolFramingCamera(const std::vector<toolShadedTriangle>& triangles, float yaw, float pitch,
                             float aspect);

// The triangles drawn into an RGBA picture: nearest surface wins, each face lit by its colour times a
// light from over the viewer's left shoulder (Lambert, with some ambient), edges smoothed by `samples`
// samples a pixel each way. Alpha is the covered share of each pixel; uncovered pixels are clear.
toolImage toolRasterise(const std::vector<toolShadedTriangle>& triangles, const toolCamera& camera, int width,
                        int height, int samples = 4);

// The picture (RGBA) laid over the background (RGB or RGBA of the same size) by its alpha.
void toolCompose(toolImage& background, const toolImage& picture);
