// The two pure pieces of the scale policy that tools share with the module:
// which mode a Size value selects, and the scale for a client area against a
// screen size given as numbers rather than read from the host.
#include <gtest/gtest.h>

#include <math.h>

#include "host/runtime/host_state.h"
#include "scaling/cursor_scaling.h"
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

TEST(ScaleForClient, GivesWhatTheHostScreenGivesInTheModule) {
    set_host_screen_size(800, 600);
    const SIZE clients[] = {{1280, 960}, {1600, 900}, {333, 777}, {1920, 1061}};
    for (const SIZE& client : clients)
        EXPECT_EQ(scale_for_client(client.cx, client.cy, 800, 600),
                  compute_auto_scale(client.cx, client.cy))
            << client.cx << "x" << client.cy;
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
}

}  // namespace
