#include "host/runtime/direct_draw_mode.h"

#include <ddraw.h>
#include <stdio.h>

#include "base/host_address_map.h"
#include "host/host_setup.h"

namespace {

typedef HRESULT(WINAPI* DirectDrawCreateFn)(GUID*, LPDIRECTDRAW*, IUnknown*);

const int GAME_BITS = 8;
const int COLOURS = 256;

LPDIRECTDRAW direct_draw;
PALETTEENTRY game_palette[COLOURS];
LPDIRECTDRAWSURFACE primary;
char module_path[MAX_PATH];
unsigned frame_number;

bool failed(const char* what, HRESULT result) {
    fprintf(stderr, "host: DirectDraw %s failed (0x%08lx)\n", what, static_cast<unsigned long>(result));
    return false;
}

// The game's palette: a ramp of greys with a few colours, enough to see the
// frames move.
void make_palette(PALETTEENTRY* entries) {
    for (int i = 0; i < COLOURS; ++i) {
        entries[i].peRed = static_cast<BYTE>(i);
        entries[i].peGreen = static_cast<BYTE>((i * 3) & 0xff);
        entries[i].peBlue = static_cast<BYTE>(255 - i);
        entries[i].peFlags = 0;
    }
}

}  // namespace

bool start_direct_draw(HWND window) {
    HMODULE module = LoadLibraryA("ddraw.dll");
    if (!module) {
        fprintf(stderr, "host: no ddraw.dll (error %lu)\n", GetLastError());
        return false;
    }
    GetModuleFileNameA(module, module_path, sizeof module_path);
    DirectDrawCreateFn create = reinterpret_cast<DirectDrawCreateFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DirectDrawCreate")));
    if (!create)
        return failed("DirectDrawCreate lookup", E_FAIL);
    HRESULT result = create(NULL, &direct_draw, NULL);
    if (FAILED(result))
        return failed("DirectDrawCreate", result);
    result = direct_draw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    if (FAILED(result))
        return failed("SetCooperativeLevel", result);
    result = direct_draw->SetDisplayMode(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT, GAME_BITS);
    if (FAILED(result))
        failed("SetDisplayMode (carrying on in the mode there is)", result);

    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    result = direct_draw->CreateSurface(&desc, &primary, NULL);
    if (FAILED(result))
        return failed("CreateSurface", result);
    make_palette(game_palette);
    LPDIRECTDRAWPALETTE palette = NULL;
    if (SUCCEEDED(direct_draw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, game_palette,
                                             &palette, NULL))) {
        primary->SetPalette(palette);
        palette->Release();
    }
    SetTimer(window, FRAME_TIMER_ID, FRAME_INTERVAL_MS, NULL);
    return true;
}

void draw_direct_draw_frame() {
    if (!primary)
        return;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    if (FAILED(primary->Lock(NULL, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, NULL)))
        return;
    // Diagonal bands that move by a pixel a frame, drawn in the game's
    // 640x480 (whatever pitch the surface has).
    BYTE* rows = static_cast<BYTE*>(desc.lpSurface);
    int width = static_cast<int>(desc.dwWidth), height = static_cast<int>(desc.dwHeight);
    for (int y = 0; y < height && y < HOST_SCREEN_HEIGHT; ++y)
        for (int x = 0; x < width && x < HOST_SCREEN_WIDTH; ++x)
            rows[y * desc.lPitch + x] = static_cast<BYTE>((x + y + frame_number) / 8);
    primary->Unlock(desc.lpSurface);
    ++frame_number;
}

bool paint_direct_draw_frame(HDC dc, const RECT& client) {
    if (!primary)
        return false;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    if (FAILED(primary->Lock(NULL, &desc, DDLOCK_WAIT | DDLOCK_READONLY, NULL)))
        return false;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[COLOURS];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = desc.lPitch;  // rows of the surface's pitch, the game's width shown
    info.header.biHeight = -static_cast<LONG>(desc.dwHeight);
    info.header.biPlanes = 1;
    info.header.biBitCount = GAME_BITS;
    for (int i = 0; i < COLOURS; ++i) {
        info.colours[i].rgbRed = game_palette[i].peRed;
        info.colours[i].rgbGreen = game_palette[i].peGreen;
        info.colours[i].rgbBlue = game_palette[i].peBlue;
    }
    StretchDIBits(dc, client.left, client.top, client.right - client.left,
                  client.bottom - client.top, 0, 0, HOST_SCREEN_WIDTH,
                  HOST_SCREEN_HEIGHT, desc.lpSurface, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
    primary->Unlock(desc.lpSurface);
    return true;
}

const char* direct_draw_module_path() { return module_path; }

bool direct_draw_picture(RECT* picture, bool* draws_cursor, int* cursor_side) {
    typedef BOOL(WINAPI * StandInPictureFn)(RECT*, BOOL*, int*);
    HMODULE module = GetModuleHandleA("ddraw.dll");
    StandInPictureFn ask = module ? reinterpret_cast<StandInPictureFn>(reinterpret_cast<void*>(
                                        GetProcAddress(module, "StandInPicture")))
                                  : NULL;
    BOOL in_frame = FALSE;
    int side = 0;
    if (!ask || !ask(picture, &in_frame, &side))
        return false;
    *draws_cursor = in_frame != FALSE;
    if (cursor_side)
        *cursor_side = side;
    return true;
}
