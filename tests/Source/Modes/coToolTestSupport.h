#pragma once
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragmentFixture.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/May/mayModelBytes.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coModeTool.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coPropTestBytes.h"
#include "Source/World/coWorldTestSupport.h"

#include "Source/Modes/coEditorTestSupport.h"
#include "Source/Modes/coModeTestSupport.h"

#include <map>

// A track builder that knows which piece each registered pick path belongs to.
struct coPathOwnerBuilder : coRecordingTrackBuilder {
    coCoasterPiece* FindPieceByCollisionPath(const coPickPathMesh* path) const override {
        const auto found = owners.find(path);
        return found == owners.end() ? nullptr : found->second;
    }
    std::map<const coPickPathMesh*, coCoasterPiece*> owners;
};

// The tools on the test device with the renderer's lists, where placed props show: a flat park with a grid of
// 4-unit cells over -100..100, a loaded prop kind "lamp" (a model 2 units long in x, standing 1.5 above the
// ground) as an ordinary and as a track prop, a camera 60 up and 60 back looking at the origin, the pointer
// in the middle of an 800 x 600 screen, scripted input and recording hosts.
class coToolTest : public coWorldRendererTest {
  protected:
    void SetUp() override {
        coWorldRendererTest::SetUp();
        coSetModeHost(&modeHost);
        fsResetRootTable();
        fsAddRootDirectory(coRootText, folder.Locator("Text"));
        folder.MakeFolder("Text/Ironvale");
        folder.Write("Ironvale/Texture/a.png",
                     g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')}));
        folder.Write("Ironvale/Model/lamp.mx", mayModelBytes::File(mayModelBytes::Fragment(3, 1, {"a.png"})));
        folder.Write("Ironvale/Data/lamp.prd",
                     coPropFile("lamp.mx", -1, coPropChunk("HEIG", coPropBytes().F({1.5f}).Str())));
        gfWriteTextSet(folder.Locator("Text/Ironvale/lamp.tsf"), 32, {{0, "Lamp"}});
        lamp.Load(folder.Locator("Ironvale"));
        flag.Load(folder.Locator("Ironvale"));
        park.hasTerrain = true;
        coCircuitClear();
        coSelectionClear();
        coGetPlacementGrid().Build(-100.0f, 100.0f, -100.0f, 100.0f, 50, 50);
        camera.LookAt(maVector3d(0.0f, 60.0f, -60.0f), maVector3d(0.0f, 0.0f, 0.0f),
                      maVector3d(0.0f, 1.0f, 0.0f));
        input.pointerX = 400;
        input.pointerY = 300;
        m_dragOrClick = coPrefs::GetBool(coPrefDragOrClick);
    }
    void TearDown() override {
        coPrefs::SetBool(coPrefDragOrClick, m_dragOrClick);
        coPropList::DeleteAll();
        coCollisionClearMarkers();
        coCircuitClear();
        coSelectionClear();
        lamp.Unload();
        flag.Unload();
        fsResetRootTable();
        coSetModeHost(nullptr);
        coWorldRendererTest::TearDown();
    }

    // One frame of the tool with this poll's input; the next poll starts empty.
    void Frame(coMode& mode) {
        mode.Think();
        input.Clear();
    }
    void Click(coMode& mode) {
        input.released.insert(coActionMouseLeft);
        Frame(mode);
    }
    // The point of the ground under the pointer.
    maVector3d Ground() const {
        const coPickRay ray = coCastPickRay(const_cast<g3dCamera&>(camera), float(input.pointerX),
                                            float(input.pointerY), 800, 600);
        maVector3d hit;
        EXPECT_TRUE(park.IntersectSegment(ray.start, ray.end, hit));
        return hit;
    }

    fsTestFolder folder;
    coRecordingModeHost modeHost;
    coScriptedEditorInput input;
    coRecordingEditorHost host;
    coPathOwnerBuilder builder;
    coFakePark park;
    coPropTemplate lamp{envString("lamp"), envString("Lamp"), false};
    coPropTemplate flag{envString("lamp"), envString("Flag"), true};
    g3dCamera camera;

  private:
    bool m_dragOrClick = false;
};
