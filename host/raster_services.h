/* raster_services.h - the "RasterServices" table: off-screen pictures that a
 * plug-in paints and copies onto a panel. Call only while the panel exists. */
#ifndef VANTOREL_RASTER_SERVICES_H
#define VANTOREL_RASTER_SERVICES_H

#include "panel_services.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RASTER_SERVICES_NAME "RasterServices"

typedef struct HostRaster HostRaster; /* opaque off-screen picture */

typedef struct RasterServices {
    HostUnusedSlot drawPixel;    /* 0 */
    HostUnusedSlot drawRGBPixel; /* 1 */
    HostUnusedSlot drawLine;     /* 2 */
    HostUnusedSlot drawBox;      /* 3 */
    /* 4: fill a w x h box at (x, y) with colour (r, g, b), each 0..255; clipped. */
    void(VT_CDECL *drawRGBBox)(HostRaster *raster, int32_t r, int32_t g, int32_t b, int32_t x, int32_t y,
                               int32_t w, int32_t h);
    HostUnusedSlot eraseBox;   /* 5 */
    HostUnusedSlot drawBorder; /* 6 */
    /* 7: draw text with its top left at (x, y) in a host colour code; clipped. */
    void(VT_CDECL *drawText)(HostRaster *raster, const char *text, int32_t colour, int32_t x, int32_t y);
    /* 8: make a w x h raster; null on failure. */
    HostRaster *(VT_CDECL *create)(int32_t w, int32_t h, int32_t flags);
    /* 9: release a raster made by create. */
    void(VT_CDECL *destroy)(HostRaster *raster);
    /* 10: copy the w x h box at (x, y) of the raster onto the panel at (px, py). */
    void(VT_CDECL *blitPanel)(HostRaster *raster, int32_t x, int32_t y, HostPanel *panel, int32_t px,
                              int32_t py, int32_t w, int32_t h);
} RasterServices;

#ifdef __cplusplus
}

VT_SLOT(RasterServices, drawRGBBox, 4);
VT_SLOT(RasterServices, drawText, 7);
VT_SLOT(RasterServices, create, 8);
VT_SLOT(RasterServices, destroy, 9);
VT_SLOT(RasterServices, blitPanel, 10);
VT_I686_LAYOUT(RasterServices, 44);
#endif

#endif
