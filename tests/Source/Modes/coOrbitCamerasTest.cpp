#include "Source/Modes/coCameraManipFocus.h"
#include "Source/Modes/coCameraManipFree.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Scene/coObject.h"

#include "Source/Modes/coEditorTestSupport.h"

namespace {

bool Same(const maVector3d& a, const maVector3d& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

struct coBoxObject : coObject {
    maBoundingBox GetBoundingBox() const override { return {}; }
    bool RayTest(const maVector3d&, const maVector3d&, f32&) const override { return false; }
};

// Every object is a prop in a 2 x 2 x 2 box around `centre`.
struct coBoxWorld : coPropsOnlyEditorWorld {
    bool GetObjectBox(const coObject*, maBoundingBox& box) const override {
        box.Set(centre - maVector3d(1.0f, 1.0f, 1.0f), centre + maVector3d(1.0f, 1.0f, 1.0f));
        return true;
    }
    maVector3d centre;
};

class coOrbitCameraTest : public coCircuitFixture {
  protected:
    coScriptedEditorInput input;
    coBoxWorld world;
    g3dCamera camera;
};

TEST_F(coOrbitCameraTest, FocusGlidesASixthAFrameThenSnaps) {
    coCameraManipFocus focus;
    focus.Attach(&camera, false);
    coBoxObject object;
    world.centre = focus.GetCenter() + maVector3d(100.0f, 0.0f, 0.0f);
    coSelectionSetObject(&object);
    int frames = 0;
    while (!Same(focus.GetCenter(), world.centre) && frames < 100) {
        focus.Update();
        ++frames;
    }
    EXPECT_EQ(frames, 31);
    EXPECT_GE(focus.GetDistance(), 30.0f);
}

TEST_F(coOrbitCameraTest, FocusWithoutSelectionStaysAndKeepsItsDistance) {
    coCameraManipFocus focus;
    focus.Attach(&camera, false);
    const maVector3d centre = focus.GetCenter();
    input.down = {coActionNum8}; // closer
    input.step = 1.0f;
    for (int i = 0; i < 5; ++i)
        focus.Update();
    EXPECT_TRUE(Same(focus.GetCenter(), centre));
    EXPECT_EQ(focus.GetDistance(), 30.0f);
}

TEST_F(coOrbitCameraTest, ShiftMakesMoveAndTurnSpeeds80) {
    for (bool shift : {false, true}) {
        coCameraManipFocus focus;
        focus.Attach(&camera, false);
        input.down = {coActionNum5, coActionRight};
        if (shift)
            input.down.insert(coActionShift);
        const float distance = focus.GetDistance();
        const float yaw = focus.GetYaw();
        focus.Update();
        const float speed = shift ? 80.0f : 30.0f;
        EXPECT_NEAR(focus.GetDistance() - distance, speed * input.step, 1e-4f);
        EXPECT_NEAR(focus.GetYaw() - yaw, coDegrees(shift ? 80.0f : 20.0f) * input.step, 1e-5f);
    }
}

TEST_F(coOrbitCameraTest, FocusClearanceEndsOnGroundItNeverClears) {
    park.hasTerrain = true;
    park.groundLevel = 1.0e6f;
    coCameraManipFocus focus;
    focus.Attach(&camera, false);
    focus.Update();
    EXPECT_FLOAT_EQ(focus.GetPitch(), coDegrees(80.0f));
}

TEST_F(coOrbitCameraTest, FreeCameraStartsAboveAndBehindItsCentre) {
    const coCameraManipFree free;
    const maVector3d eye = free.GetEye();
    EXPECT_NEAR(eye.x, 0.0f, 1e-4f);
    EXPECT_NEAR(eye.y, 113.941f, 1e-3f);
    EXPECT_NEAR(eye.z, -65.778f, 1e-3f);
}

TEST_F(coOrbitCameraTest, FreeCameraStepsOutsideTheWorldAreDropped) {
    park.minX = park.minZ = -50.0f;
    park.maxX = park.maxZ = 50.0f;
    coCameraManipFree free;
    free.Attach(&camera, false);
    free.Update(); // the view axes
    const maVector3d centre = free.GetCenter();
    input.step = 10.0f; // 300 units at once
    for (i32 action : {coActionNum4, coActionNum6, coActionNum8, coActionNum5}) {
        input.down = {action};
        free.Update();
        EXPECT_EQ(free.GetCenter().x, centre.x) << action;
        EXPECT_EQ(free.GetCenter().z, centre.z) << action;
    }
    input.down = {coActionShift};
    input.held = {coActionMouseLeft};
    input.motionX = 1000;
    free.Update();
    EXPECT_EQ(free.GetCenter().x, centre.x) << "Shift-drag pan";
}

TEST_F(coOrbitCameraTest, ArrowsPassTheRangeAndTheFirstDragReturnsToIt) {
    coCameraManipFree free;
    free.Attach(&camera, false);
    input.down = {coActionUp};
    input.step = 5.0f;
    free.Update();
    EXPECT_GT(free.GetPitch(), coDegrees(80.0f));
    input.Clear();
    input.held = {coActionMouseLeft};
    free.Update();
    EXPECT_FLOAT_EQ(free.GetPitch(), coDegrees(80.0f));
}

TEST_F(coOrbitCameraTest, DragsBelongToTheViewOnlyWhenTheyStartThere) {
    coCameraManipFree free;
    free.Attach(&camera, false);
    const float yaw = free.GetYaw();
    input.claimed = {coMouseRecordLeft};
    input.held = {coActionMouseLeft};
    input.motionX = 10;
    free.Update();
    EXPECT_EQ(free.GetYaw(), yaw) << "a window has the button";

    input.Clear();
    input.held = {coActionMouseLeft};
    input.motionX = 10;
    free.Update();
    input.claimed = {coMouseRecordLeft}; // the pointer passes over a window
    free.Update();
    EXPECT_NEAR(free.GetYaw(), yaw - 0.2f, 1e-5f);
    EXPECT_EQ(input.handled.count(coMouseRecordLeft), 1u);
    input.Clear();
    input.released = {coActionMouseLeft};
    free.Update();
    EXPECT_EQ(input.handled.count(coMouseRecordLeft), 0u);
}

} // namespace
