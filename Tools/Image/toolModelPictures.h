#pragma once
#include "Tools/Image/toolRasteriser.h"
#include "Tools/Model/toolModelReader.h"

#include <functional>
#include <string>
#include <vector>

// The builder's and the coaster choice's pictures drawn from generated models: a prop's or a dock's icon
// and preview, and the choice faces of a track type or an environment.

// The colour a texture shows from afar (its mean), by name; unknown textures give white.
using toolTextureColour = std::function<std::array<float, 3>(const std::string& texture)>;

// The model's triangles, each in its material's diffuse colour times its first texture's colour, placed
// by the offset.
std::vector<toolShadedTriangle> toolShadeModel(const toolModelTriangles& model,
                                               const toolTextureColour& texture,
                                               const maVector3d& offset = {0.0f, 0.0f, 0.0f});

// A palette icon (32 x 32, opaque, so the whole button answers the pointer): the object seen from the
// front right and above, centred on a pale backdrop.
toolImage toolObjectIcon(const std::vector<toolShadedTriangle>& object);
// The props palette's preview (128 x 64): the object larger, on a backdrop over the part of the picture
// that lies over the palette's bottom panel, clear elsewhere.
toolImage toolPropPreview(const std::vector<toolShadedTriangle>& object);
// The dock palette's preview (128 x 64), which lies wholly over its panel.
toolImage toolDockPreview(const std::vector<toolShadedTriangle>& object);
// A theme's tab in the props palette (width x 32): the given props in a row, as "_i" (idle, a little dim)
// and "_s" (the current tab: brighter, framed in gold).
std::vector<toolImage> toolThemeTabLooks(const std::vector<std::vector<toolShadedTriangle>>& props,
                                         int width);

// A section of a track type: its outline across (x) and up (y) and its colour.
struct toolTrackSection {
    std::vector<maVector2d> outline;
    std::array<float, 3> colour;
};

// A stretch of the type's track over a hill: its sections swept along it, its crossbar (along z in its
// model) repeated at the spacing, and a train of the lead car and two followers on top.
std::vector<toolShadedTriangle> toolTrackStretch(const std::vector<toolTrackSection>& sections,
                                                 const std::vector<toolShadedTriangle>& crossbar,
                                                 float crossbarSpacing,
                                                 const std::vector<toolShadedTriangle>& leadCar,
                                                 const std::vector<toolShadedTriangle>& follower);

// A track type's view (256 x 128): its stretch of track on a lawn under a clear sky.
toolImage toolTrackTypeView(const std::vector<toolShadedTriangle>& stretch);
// An environment's view (256 x 128): its models seen from above the middle of its ground, looking across
// it, against the sky's colour.
toolImage toolEnvironmentView(const std::vector<toolShadedTriangle>& ground,
                              const std::vector<toolShadedTriangle>& scenery,
                              const std::array<float, 3>& sky);

// The choice faces of a view, in the order "_i" (idle, a little dim), "_o" (the pointer over it) and
// "_s" (chosen: the brightest, framed in gold). Each keeps a plate behind the caption, pale under the
// idle and over captions (black and orange) and dark under the chosen one's green.
std::vector<toolImage> toolChoiceLooks(const toolImage& view);
