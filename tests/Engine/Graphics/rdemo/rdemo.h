#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class g3dFragment;
struct g3dRenderListConfig;
class g3dMaterial;
class g3dPlainTexture;

// The demo's window and back buffer.
constexpr i32 kDemoWidth = 640;
constexpr i32 kDemoHeight = 480;
// The window of the capture run, whose grab is the whole window.
constexpr i32 kCaptureWidth = 1024;
constexpr i32 kCaptureHeight = 768;

// The back buffer as 0xAARRGGBB through the device's own copy into an image.
std::vector<u32> DemoReadBackBuffer();
// Pixels as 0xAARRGGBB, row after row, written as an RGB or RGBA PNG.
// A texture in A8R8G8B8 made directly, so its texels are exact.
std::unique_ptr<g3dPlainTexture> DemoMakeTexture(i32 width, i32 height, const std::vector<u32>& texels);
bool DemoWritePng(const std::string& path, const std::vector<u32>& argb, i32 width, i32 height, bool alpha);
// The render lists the game draws with.
const std::vector<g3dRenderListConfig>& DemoGameLists();
// A frame of the renderer at the time, through DemoProjection() from the origin, both faces drawn over
// the sky colour, read back.
std::vector<u32> DemoRenderFrame(u32 sky, f32 time);
// Looking down +z from the origin, 60 degrees high, onto a view of the width and the demo's height.
maMatrix4d DemoProjection(f32 far = 200.0f, i32 width = kDemoWidth);
// The pixel a point in front of the eye of DemoProjection() lands on.
u32 DemoPixelAt(const std::vector<u32>& picture, const maVector3d& p);
// Where a world point lands through the renderer's matrices, clamped to the picture.
u32 DemoPixelOf(const std::vector<u32>& picture, const maVector3d& world);
// Brightness of a pixel as the sum of its three channels.
u32 DemoBrightness(u32 pixel);
// The ground as a lit grid of cells x cells over the square of the half side around the centre, its
// heights from ground(x, z), its normals from their slope.
g3dFragment* DemoMakeGround(const std::function<float(float, float)>& ground, const maVector3d& centre,
                            f32 half, int cells, g3dMaterial* material);
// A native path, and a path under the built content's folder.
fsLocator DemoLocator(const std::filesystem::path& path);
fsLocator DemoInData(const std::string& relative);
// What a scene checks on its picture; each that does not hold is named on stderr.
struct DemoCheck {
    const char* what;
    bool ok;
};
bool DemoAllHold(std::initializer_list<DemoCheck> checks);

// The scenes; each returns the picture to save, or nothing when it failed (with a message on stderr).
std::vector<u32> DrawScreenScene();
std::vector<u32> DrawTexturesScene();
std::vector<u32> DrawShapesScene();
std::vector<u32> DrawMaterialsScene();
std::vector<u32> DrawParticlesScene(u32 seed, f32 seconds);
std::vector<u32> DrawFrameScene();
// A prop of the built content's theme posed by its idle animation at the time.
std::vector<u32> DrawPropScene(const std::string& theme, const std::string& name, f32 seconds);
// The animated models and the flare at the given time in seconds.
std::vector<u32> DrawSkinScene(f32 time);
// A box casting its projected shadow on the ground; checks that the shadow darkens and follows the box.
std::vector<u32> DrawProjShadowScene();
// R1 of the coaster type over a hill, from the built content; shadows cast along the sun when asked.
std::vector<u32> DrawCircuitScene(const std::string& type, bool shadows, int scheme);
// The placement grid's outline over a hill with a placeable and a refused footprint.
std::vector<u32> DrawGridScene();
// The default theme's train on R1 of the coaster type after riding for the seconds; checks that the lead
// car shows.
std::vector<u32> DrawRideScene(const std::string& type, f32 seconds);
// The named pieces (straight, turn90, loop, corkscrew, roll180) chained from the built content on flat
// ground; checks that the first piece's track and pole show.
std::vector<u32> DrawTrackScene(const std::string& type, const std::vector<std::string>& pieces);
// The capture run over R1 of the type: the screenshot key's grab and the coaster thumbnail, as bitmaps and
// PNGs in the folder, in a window of kCaptureWidth x kCaptureHeight. False (with a message) on a failure.
bool RunCaptureScene(const std::string& type, bool grab, bool thumb, const std::string& folder);
// An environment of the built content in a variant, with a theme's dock at its start.
std::vector<u32> DrawEnvironmentScene(const std::string& environment, int variant, const std::string& dock);
// Placed props and target rings from their chunk files over R1 in an environment of the built content,
// after the train has ridden for the seconds.
std::vector<u32> DrawPropsScene(const std::string& environment, int variant, const std::string& props,
                                const std::string& rings, f32 seconds);
