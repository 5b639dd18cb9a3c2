// The pure rules: the picture's rectangle and the cursor's scale. From
// cnc-ddraw's dd_SetDisplayMode (src/dd.c), which sizes its viewport.
#include "wrappers/wrappers.h"

#include "settings/scale_policy.h"

namespace {

// cnc-ddraw tries the factors 19 down to 1.
const int LARGEST_WHOLE_FACTOR = 19;
// Beyond any window or screen: larger sides are not worked out (the window
// decides), so no product below overflows.
const int LARGEST_SIDE = 65535;

int rounded(double value) { return static_cast<int>(value + 0.5); }

int larger(int a, int b) { return a > b ? a : b; }
int smaller(int a, int b) { return a < b ? a : b; }

}  // namespace

bool picture_rect(const WrapperPicture& picture, int width, int height, int mode_width,
                  int mode_height, RECT* rect) {
    if (!picture.known || mode_width <= 0 || mode_height <= 0 || width <= 0 || height <= 0 ||
        mode_width > LARGEST_SIDE || mode_height > LARGEST_SIDE || width > LARGEST_SIDE ||
        height > LARGEST_SIDE)
        return false;
    // The wrapper never draws into less than the game's mode: a smaller
    // window shows the picture unmagnified, cut off.
    int area_width = larger(width, mode_width);
    int area_height = larger(height, mode_height);
    int picture_width = area_width, picture_height = area_height;
    if (picture.fit == FIT_WHOLE_NUMBER) {
        for (int factor = LARGEST_WHOLE_FACTOR; factor >= 1; --factor) {
            if (mode_width * factor <= area_width && mode_height * factor <= area_height) {
                picture_width = mode_width * factor;
                picture_height = mode_height * factor;
                break;
            }
        }
    } else if (picture.fit == FIT_ASPECT) {
        bool own = picture.aspect_x <= 0 || picture.aspect_y <= 0;
        double ratio = own ? static_cast<double>(mode_height) / mode_width
                           : static_cast<double>(picture.aspect_y) / picture.aspect_x;
        double area_ratio = static_cast<double>(area_height) / area_width;
        picture_width = area_width;
        picture_height = rounded(ratio * area_width);
        if (area_ratio < ratio) {
            if (picture_height <= 0)
                return false;
            picture_width =
                rounded(static_cast<double>(picture_width) / picture_height * area_height);
            picture_height = area_height;
        }
        picture_width = smaller(picture_width, area_width);
        picture_height = smaller(picture_height, area_height);
        if (picture_width <= 0 || picture_height <= 0)
            return false;
    }
    rect->left = area_width / 2 - picture_width / 2;
    rect->top = area_height / 2 - picture_height / 2;
    rect->right = rect->left + picture_width;
    rect->bottom = rect->top + picture_height;
    return true;
}

float wrapper_cursor_scale(const WrapperPicture& picture, int width, int height, int mode_width,
                           int mode_height) {
    // The frame is magnified with the cursor in it: the cursor's own size
    // comes out at the picture's magnification on screen.
    if (picture.draws_cursor)
        return 1.0f;
    RECT rect;
    // Only cnc-ddraw's pictures are known; with any other the window decides.
    if (picture.kind != WRAPPER_CNC_DDRAW ||
        !picture_rect(picture, width, height, mode_width, mode_height, &rect))
        return scale_for_client(width, height, mode_width, mode_height);
    return scale_for_client(rect.right - rect.left, rect.bottom - rect.top, mode_width,
                            mode_height);
}
