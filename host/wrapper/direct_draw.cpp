// The few DirectDraw objects a game drawing an 8-bit primary surface uses:
// the DirectDraw object, its primary surface in system memory and a
// palette. Unlocking the surface draws it into the window. Everything else
// answers DDERR_UNSUPPORTED.
#include <ddraw.h>

#include "host/wrapper/wrapper.h"

namespace {

const HRESULT NO = DDERR_UNSUPPORTED;
const int MAX_SIDE = 4096;

// The COM reference count all three objects keep.
class Counted {
public:
    virtual ~Counted() {}

protected:
    ULONG add() { return ++count_; }
    ULONG drop() {
        ULONG left = --count_;
        if (!left)
            delete this;
        return left;
    }

private:
    ULONG count_ = 1;
};

class Palette : public IDirectDrawPalette, Counted {
public:
    RGBQUAD colours[256] = {};
    explicit Palette(LPPALETTEENTRY entries) { SetEntries(0, 0, 256, entries); }
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return add(); }
    STDMETHOD_(ULONG, Release)() override { return drop(); }
    STDMETHOD(GetCaps)(LPDWORD) override { return NO; }
    STDMETHOD(GetEntries)(DWORD, DWORD, DWORD, LPPALETTEENTRY) override { return NO; }
    STDMETHOD(Initialize)(LPDIRECTDRAW, DWORD, LPPALETTEENTRY) override { return NO; }
    STDMETHOD(SetEntries)(DWORD, DWORD first, DWORD count, LPPALETTEENTRY entries) override {
        if (!entries || first > 256 || count > 256 - first)
            return DDERR_INVALIDPARAMS;
        for (DWORD i = 0; i < count; ++i) {
            RGBQUAD& colour = colours[first + i];
            colour.rgbRed = entries[i].peRed;
            colour.rgbGreen = entries[i].peGreen;
            colour.rgbBlue = entries[i].peBlue;
        }
        return DD_OK;
    }
};

class Surface : public IDirectDrawSurface, Counted {
public:
    Surface(int width, int height)
        : width_(width), height_(height), pixels_(new BYTE[width * height]()) {}
    ~Surface() {
        delete[] pixels_;
        if (palette_)
            palette_->Release();
    }
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return add(); }
    STDMETHOD_(ULONG, Release)() override { return drop(); }
    STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE) override { return NO; }
    STDMETHOD(AddOverlayDirtyRect)(LPRECT) override { return NO; }
    STDMETHOD(Blt)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override { return NO; }
    STDMETHOD(BltBatch)(LPDDBLTBATCH, DWORD, DWORD) override { return NO; }
    STDMETHOD(BltFast)(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) override { return NO; }
    STDMETHOD(DeleteAttachedSurface)(DWORD, LPDIRECTDRAWSURFACE) override { return NO; }
    STDMETHOD(EnumAttachedSurfaces)(LPVOID, LPDDENUMSURFACESCALLBACK) override { return NO; }
    STDMETHOD(EnumOverlayZOrders)(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) override { return NO; }
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE, DWORD) override { return NO; }
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override { return NO; }
    STDMETHOD(GetBltStatus)(DWORD) override { return NO; }
    STDMETHOD(GetCaps)(LPDDSCAPS) override { return NO; }
    STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER*) override { return NO; }
    STDMETHOD(GetColorKey)(DWORD, LPDDCOLORKEY) override { return NO; }
    STDMETHOD(GetDC)(HDC*) override { return NO; }
    STDMETHOD(GetFlipStatus)(DWORD) override { return NO; }
    STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override { return NO; }
    STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE*) override { return NO; }
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT) override { return NO; }
    STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC) override { return NO; }
    STDMETHOD(Initialize)(LPDIRECTDRAW, LPDDSURFACEDESC) override { return NO; }
    STDMETHOD(IsLost)() override { return DD_OK; }
    STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC desc, DWORD, HANDLE) override {
        if (!desc)
            return DDERR_INVALIDPARAMS;
        desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_LPSURFACE;
        desc->dwWidth = width_;
        desc->dwHeight = height_;
        desc->lPitch = width_;
        desc->lpSurface = pixels_;
        return DD_OK;
    }
    STDMETHOD(ReleaseDC)(HDC) override { return NO; }
    STDMETHOD(Restore)() override { return DD_OK; }
    STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER) override { return NO; }
    STDMETHOD(SetColorKey)(DWORD, LPDDCOLORKEY) override { return NO; }
    STDMETHOD(SetOverlayPosition)(LONG, LONG) override { return NO; }
    STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE palette) override {
        if (palette)
            palette->AddRef();
        if (palette_)
            palette_->Release();
        palette_ = static_cast<Palette*>(palette);
        return DD_OK;
    }
    STDMETHOD(Unlock)(LPVOID) override {
        static const RGBQUAD grey[256] = {};
        present_frame(pixels_, palette_ ? palette_->colours : grey);
        return DD_OK;
    }
    STDMETHOD(UpdateOverlay)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) override { return NO; }
    STDMETHOD(UpdateOverlayDisplay)(DWORD) override { return NO; }
    STDMETHOD(UpdateOverlayZOrder)(DWORD, LPDIRECTDRAWSURFACE) override { return NO; }

private:
    int width_;
    int height_;
    BYTE* pixels_;
    Palette* palette_ = NULL;
};

class DirectDraw : public IDirectDraw, Counted {
public:
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return add(); }
    STDMETHOD_(ULONG, Release)() override { return drop(); }
    STDMETHOD(Compact)() override { return DD_OK; }
    STDMETHOD(CreateClipper)(DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*) override { return NO; }
    STDMETHOD(CreatePalette)(DWORD, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette, IUnknown*) override {
        if (!entries || !palette)
            return DDERR_INVALIDPARAMS;
        *palette = new Palette(entries);
        return DD_OK;
    }
    STDMETHOD(CreateSurface)(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface, IUnknown*) override {
        if (!desc || !surface || !(desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE))
            return NO;
        if (wrapper.mode_width <= 0 || wrapper.mode_width > MAX_SIDE || wrapper.mode_height <= 0 ||
            wrapper.mode_height > MAX_SIDE)
            return DDERR_NOEXCLUSIVEMODE;
        *surface = new Surface(wrapper.mode_width, wrapper.mode_height);
        return DD_OK;
    }
    STDMETHOD(DuplicateSurface)(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*) override { return NO; }
    STDMETHOD(EnumDisplayModes)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK) override { return NO; }
    STDMETHOD(EnumSurfaces)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) override { return NO; }
    STDMETHOD(FlipToGDISurface)() override { return DD_OK; }
    STDMETHOD(GetCaps)(LPDDCAPS, LPDDCAPS) override { return NO; }
    STDMETHOD(GetDisplayMode)(LPDDSURFACEDESC) override { return NO; }
    STDMETHOD(GetFourCCCodes)(LPDWORD, LPDWORD) override { return NO; }
    STDMETHOD(GetGDISurface)(LPDIRECTDRAWSURFACE*) override { return NO; }
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override { return NO; }
    STDMETHOD(GetScanLine)(LPDWORD) override { return NO; }
    STDMETHOD(GetVerticalBlankStatus)(WINBOOL*) override { return NO; }
    STDMETHOD(Initialize)(GUID*) override { return NO; }
    STDMETHOD(RestoreDisplayMode)() override { return DD_OK; }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD) override {
        if (window)
            take_game_window(window);
        return DD_OK;
    }
    STDMETHOD(SetDisplayMode)(DWORD width, DWORD height, DWORD) override {
        apply_game_mode(static_cast<int>(width), static_cast<int>(height));
        return DD_OK;
    }
    STDMETHOD(WaitForVerticalBlank)(DWORD, HANDLE) override { return DD_OK; }
};

}  // namespace

extern "C" HRESULT WINAPI DirectDrawCreate(GUID*, LPDIRECTDRAW* direct_draw, IUnknown*) {
    if (!direct_draw)
        return DDERR_INVALIDPARAMS;
    *direct_draw = new DirectDraw();
    return DD_OK;
}
