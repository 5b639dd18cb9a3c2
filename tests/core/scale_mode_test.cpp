// The two pure pieces of the scale policy that tools share with the module:
// which mode a Size value selects, and the scale for a client area against a
// screen size given as numbers rather than read from the host (the module's
// reading of the host's screen is checked in scale_policy_test.cpp).
#include <gtest/gtest.h>

#include <math.h>

#include "settings/scale_policy.h"

namespace {

TEST(ScaleMode, ZeroIsAutomaticAboveOneFixedAndTheRestNative) {
    EXPECT_EQ(SCALE_AUTOMATIC, scale_mode(0.0f));
    EXPECT_EQ(SCALE_AUTOMATIC, scale_mode(-0.0f));
    EXPECT_EQ(SCALE_FIXED, scale_mode(2.0f));
    EXPECT_EQ(SCALE_FIXED, scale_mode(1.0001f));
    EXPECT_EQ(SCALE_FIXED, scale_mode(INFINITY));
    EXPECT_EQ(SCALE_NATIVE, scale_mode(1.0f)) << "1.0 is native size, not a fixed scale of 1";
    EXPECT_EQ(SCALE_NATIVE, scale_mode(0.5f));
    EXPECT_EQ(SCALE_NATIVE, scale_mode(-3.0f));
    EXPECT_EQ(SCALE_NATIVE, scale_mode(NAN)) << "a NaN is neither 0 nor above 1";
}

TEST(ScaleForClient, IsTheSmallerFactorAgainstTheGivenScreen) {
    EXPECT_EQ(2.0f, scale_for_client(1280, 960, 640, 480));
    EXPECT_EQ(1.875f, scale_for_client(1600, 900, 640, 480));
    EXPECT_EQ(0.5f, scale_for_client(320, 240, 640, 480));
    EXPECT_EQ(1.5f, scale_for_client(1200, 1500, 800, 600));
    EXPECT_EQ(3.0f, scale_for_client(5000, 1440, 0, 480)) << "a zero side leaves the other";
    EXPECT_EQ(INFINITY, scale_for_client(10, 10, 0, 0));
}

}  // namespace
