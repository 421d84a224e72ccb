#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Core/Ma/maTestNear.h"

#include <gtest/gtest.h>

TEST(g3dCamera, LookAtAndGivenViewsPlaceTheAxesAndTheEye) {
    g3dCamera camera;
    maVector3d axis;
    // Up along the view: right falls back to +x, up is forward x right.
    camera.LookAt({0, 0, 0}, {0, 5, 0}, {0, 1, 0});
    ExpectNear(camera.GetRightAxis(axis), {1, 0, 0}, 1e-5f);
    ExpectNear(camera.GetUpAxis(axis), {0, 0, -1}, 1e-5f);
    ExpectNear(camera.GetViewDirection(axis), {0, 1, 0}, 1e-5f);

    camera.LookAt({1, 2, 3}, {4, 2, 7}, {0, 1, 0});
    ExpectNear(camera.GetViewDirection(axis), {0.6f, 0, 0.8f}, 1e-5f);
    // The eye itself maps to the view origin.
    maMatrix4d view;
    camera.GetViewMatrix(view);
    ExpectNear(view.TransformPoint({1, 2, 3}), {0, 0, 0}, 1e-5f);

    maMatrix4d translation;
    translation.SetTranslation(-3, -4, -5);
    camera.SetViewMatrix(translation);
    ExpectNear(*camera.GetPosition(), {3, 4, 5}, 1e-5f);
}

TEST(g3dCamera, ScreenPointsMapOneUnitAheadWithXMirrored) {
    g3dCamera camera;
    camera.LookAt({10, 0, 0}, {10, 0, 5}, {0, 1, 0});
    ExpectNear(camera.ScreenToWorld(0, 0), {10, 0, 1}, 1e-5f);
    // The right edge of the screen shows the camera's left side.
    ExpectNear(camera.ScreenToWorld(1, 0), {9, 0, 1}, 1e-5f);
    ExpectNear(camera.ScreenToWorld(0, 1), {10, 0.75f, 1}, 1e-5f);
}

TEST(g3dCamera, TheDefaultLensAndEachLensSetterBuildTheProjection) {
    g3dCamera camera;
    maMatrix4d first;
    camera.GetProjectionMatrix(first);
    const float q = 10000.0f / 9995.0f;
    const float expected[16] = {1, 0, 0, 0, 0, 1.3333334f, 0, 0, 0, 0, q, 1, 0, 0, -5 * q, 0};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(first.m[i], expected[i], 1e-6f) << i;
    // A copy taken now is clean; only a setter makes it rebuild with the new lens.
    g3dCamera copy = camera;
    copy.SetAspectRatio(2.0f);
    maMatrix4d changed;
    copy.GetProjectionMatrix(changed);
    EXPECT_NEAR(changed.m[5], 2.0f, 1e-6f);
    EXPECT_EQ(changed.m[0], first.m[0]);
    copy.SetFieldOfView(60.0f);
    copy.SetClipPlanes(1.0f, 11.0f);
    copy.GetProjectionMatrix(changed);
    EXPECT_NEAR(changed.m[0], 1.7320508f, 1e-6f);
    EXPECT_NEAR(changed.m[10], 1.1f, 1e-6f);
    EXPECT_NEAR(changed.m[14], -1.1f, 1e-6f);
}
