// host_rasters.cpp - the simulated Layout's raster services: off-screen RGB
// rasters, text and boxes drawn into them, and blits into a panel's picture.
#include <algorithm>

#include "host_glue.h"

namespace sim {

// Each call builds its log entry only while the log is on: a paint of the list
// makes a drawText call for every row, and long runs turn the log off.

void VT_CDECL HostGlue::drawRGBBox(HostRaster *raster, int32_t r, int32_t g, int32_t b, int32_t x, int32_t y,
                                   int32_t w, int32_t hgt) {
    Host &host = h();
    if (host.logging())
        host.log("raster.drawRGBBox", {"raster", num(r), num(g), num(b), num(x), num(y), num(w), num(hgt)});
    Host::RasterModel *m = host.liveRaster(raster, "raster.drawRGBBox");
    if (!m) return;
    if (host.painting_) host.painting_->paintRaster = m->serial;
    if (!host.drawing()) return;
    Rgb colour{channel(r), channel(g), channel(b)};
    m->picture.fillBox(x, y, w, hgt, colour);
    if (host.painting_ && colour == kListBarColour && w == kListBarWidth && hgt == kListBarHeight)
        host.painting_->lastPaint.barTops.push_back(y);
}

void VT_CDECL HostGlue::drawText(HostRaster *raster, const char *text, int32_t colour, int32_t x, int32_t y) {
    Host &host = h();
    if (host.logging()) host.log("raster.drawText", {"raster", quote(text), num(colour), num(x), num(y)});
    Host::RasterModel *m = host.liveRaster(raster, "raster.drawText");
    if (!m) return;
    if (!text) return host.fault("raster.drawText with a null text");
    if (host.painting_) host.painting_->paintRaster = m->serial;
    if (!host.drawing()) return;
    m->picture.drawText(x, y, text, textColour(colour));
    if (host.painting_) {
        ListPaint &lp = host.painting_->lastPaint;
        bool onBar = std::find(lp.barTops.begin(), lp.barTops.end(), y) != lp.barTops.end();
        lp.texts.push_back({text, x, y, onBar});
    }
}

HostRaster *VT_CDECL HostGlue::rasterCreate(int32_t w, int32_t hgt, int32_t flags) {
    Host &host = h();
    if (host.logging()) host.log("raster.create", {num(w), num(hgt), num(flags)});
    if (host.conditions_.failRasterCreate) return nullptr;
    if (w <= 0 || hgt <= 0 || w > kMaxRasterSide || hgt > kMaxRasterSide) return nullptr;
    auto m = std::make_unique<Host::RasterModel>();
    m->serial = static_cast<int>(host.rasters_.size());
    if (host.drawing()) m->picture = Picture(w, hgt);
    host.rasters_.push_back(std::move(m));
    return reinterpret_cast<HostRaster *>(host.rasters_.back().get());
}

void VT_CDECL HostGlue::rasterDestroy(HostRaster *raster) {
    Host &host = h();
    if (host.logging()) host.log("raster.destroy", {"raster"});
    Host::RasterModel *m = host.liveRaster(raster, "raster.destroy");
    if (m) m->live = false;
}

void VT_CDECL HostGlue::blitPanel(HostRaster *raster, int32_t x, int32_t y, HostPanel *panel, int32_t px,
                                  int32_t py, int32_t w, int32_t hgt) {
    Host &host = h();
    if (host.logging())
        host.log("raster.blitPanel", {"raster", num(x), num(y), "panel", num(px), num(py), num(w), num(hgt)});
    Host::RasterModel *m = host.liveRaster(raster, "raster.blitPanel");
    PanelModel *p = host.livePanel(panel, "raster.blitPanel");
    if (!m || !p || !host.drawing()) return;
    long long right = static_cast<long long>(px) + std::max(w, 0);
    long long bottom = static_cast<long long>(py) + std::max(hgt, 0);
    p->picture.growTo(static_cast<int>(std::clamp<long long>(right, 0, kMaxPanelSide)),
                      static_cast<int>(std::clamp<long long>(bottom, 0, kMaxPanelSide)), kPanelBackground);
    p->picture.copyFrom(m->picture, x, y, px, py, w, hgt);
}

Host::RasterModel *Host::liveRaster(HostRaster *raster, const char *op) {
    for (auto &r : rasters_) {
        if (reinterpret_cast<HostRaster *>(r.get()) != raster) continue;
        if (!r->live) {
            fault(std::string(op) + " on a destroyed raster");
            return nullptr;
        }
        return r.get();
    }
    fault(std::string(op) + " on an unknown raster " + ptr(raster));
    return nullptr;
}

}  // namespace sim
