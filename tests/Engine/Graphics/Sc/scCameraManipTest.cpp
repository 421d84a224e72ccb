#include "Engine/Graphics/Sc/scCameraManip.h"
#include "Engine/Core/Ma/maTestNear.h"
#include "Engine/Graphics/G3d/g3dCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

TEST(scCameraManipOrbit, PlacesTheEyeOnItsSphere) {
    // Deleted through the base, as the game's cameras are.
    std::unique_ptr<scCameraManip> base = std::make_unique<scCameraManipOrbit>();
    base->Update();
    auto& orbit = static_cast<scCameraManipOrbit&>(*base);
    g3dCamera camera;
    orbit.Attach(&camera, false);
    maVector3d direction;
    ExpectNear(*camera.GetPosition(), {0, 0, 1}, 1e-6f);
    ExpectNear(camera.GetViewDirection(direction), {0, 0, -1}, 1e-6f);

    // Almost straight above, and a view without NaN.
    orbit.SetDistance(10.0f);
    orbit.SetPitch(std::numbers::pi_v<float> / 2 - 0.001f);
    ExpectNear(*camera.GetPosition(), {0, 10, 0.01f}, 1e-4f);
    maMatrix4d view;
    camera.GetViewMatrix(view);
    for (float value : view.m)
        EXPECT_TRUE(std::isfinite(value));

    // Positive yaw swings the eye toward +x.
    orbit.SetPitch(0.0f);
    orbit.SetYaw(std::numbers::pi_v<float> / 2);
    ExpectNear(*camera.GetPosition(), {10, 0, 0}, 1e-4f);

    // Once detached, setting only stores.
    orbit.Detach();
    orbit.SetCenter({5, 5, 5});
    ExpectNear(*camera.GetPosition(), {10, 0, 0}, 1e-4f);
}

TEST(scCameraManipOrbit, KeepingTheViewTakesTheOrbitFromTheCamera) {
    g3dCamera camera;
    camera.LookAt({3, 4, 5}, {0, 1, -1}, {0, 1, 0});
    maMatrix4d before, after;
    camera.GetViewMatrix(before);
    scCameraManipOrbit orbit;
    orbit.SetDistance(7.0f);
    orbit.Attach(&camera, true);
    camera.GetViewMatrix(after);
    orbit.SetDistance(orbit.GetDistance());
    camera.GetViewMatrix(after);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(after.m[i], before.m[i], 1e-5f) << i;
}
