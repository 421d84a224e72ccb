#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <gtest/gtest.h>

// Each coordinate within eps of the expected one.
inline void ExpectNear(const maVector3d& actual, const maVector3d& expected, float eps = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}
