#include "base/icon_bitmaps.h"

void delete_icon_bitmaps(const ICONINFO& info) {
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
}
