// web_main.cpp - the page's WebAssembly side: the plug-in linked in and
// loaded once, the functions page.js calls, the event queue the panel's
// driver waits on, frames and downloads handed to the page. Built only with
// Emscripten (see docs/decisions.md for why one module and Asyncify).
//
// The plug-in's modal open must not return before its panel closes, and a
// page must never block. So the driver waits with an EM_ASYNC_JS function:
// Asyncify unwinds the whole call stack (vt_run, the host, the plug-in's
// activation and open, the driver) back to the page, which goes on handling
// its events; the first event it queues resolves the promise and the stack
// is rewound where it was. Everything runs on the page's one thread.
#include <emscripten.h>

#include <cstdint>
#include <optional>
#include <string>

#include "host/module_descriptor.h"
#include "session/store.h"
#include "sim/loader.h"
#include "web/page_json.h"
#include "web/page_session.h"
#include "web/panel_driver.h"

extern "C" ModuleDescriptor _mod_descrip;

namespace {

// ---- the page's side (page.js: Module.vantorelPage) ----

// Resolves once the page has queued an event of the panel.
EM_ASYNC_JS(void, pageWaitForEvent, (), { await Module.vantorelPage.eventQueued(); });

// The next queued event into fields and the key's two texts; 0 when none.
EM_JS(int, pageTakeEvent, (int32_t * fields, char *key, int keyCap, char *code, int codeCap), {
    const e = Module.vantorelPage.takeEvent();
    if (!e) return 0;
    const f = fields >> 2;
    HEAP32[f] = e.x | 0;
    HEAP32[f + 1] = e.y | 0;
    HEAP32[f + 2] = e.deltaMode | 0;
    HEAP32[f + 3] = e.modifiers | 0;
    HEAPF64[(fields + 16) >> 3] = +e.deltaY || 0;
    stringToUTF8(e.key || "", key, keyCap);
    stringToUTF8(e.code || "", code, codeCap);
    return e.kind;
});

EM_JS(void, pagePresent, (const uint8_t *rgb, int width, int height, const char *title), {
    Module.vantorelPage.present(HEAPU8.subarray(rgb, rgb + width * height * 3), width, height,
                                UTF8ToString(title));
});

EM_JS(void, pageDownload, (const char *name, const char *bytes, size_t size),
      { Module.vantorelPage.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size)); });

// Modifier bits of an event's fields (page.js sets them).
constexpr int32_t kShift = 1, kCtrl = 2, kAlt = 4, kMeta = 8, kAltGraph = 16;

class PageEvents : public web::EventSource {
public:
    void wait() override { pageWaitForEvent(); }
    std::optional<web::BrowserEvent> take() override {
        struct {
            int32_t x, y, deltaMode, modifiers;
            double deltaY;
        } f{};
        static_assert(sizeof f == 24, "page.js writes deltaY at byte 16");
        char key[64] = {}, code[64] = {};
        const int kind = pageTakeEvent(&f.x, key, sizeof key, code, sizeof code);
        if (kind < 1 || kind > static_cast<int>(web::BrowserEvent::Kind::Close)) return std::nullopt;
        web::BrowserEvent e;
        e.kind = static_cast<web::BrowserEvent::Kind>(kind);
        e.x = f.x;
        e.y = f.y;
        e.deltaY = f.deltaY;
        e.deltaMode = f.deltaMode;
        e.key.key = key;
        e.key.code = code;
        e.key.shift = (f.modifiers & kShift) != 0;
        e.key.ctrl = (f.modifiers & kCtrl) != 0;
        e.key.alt = (f.modifiers & kAlt) != 0;
        e.key.meta = (f.modifiers & kMeta) != 0;
        e.key.altGraph = (f.modifiers & kAltGraph) != 0;
        return e;
    }
};

class PagePresenter : public web::Presenter {
public:
    void present(const sim::Picture &frame, const std::string &title) override {
        pagePresent(frame.rgb().data(), frame.width(), frame.height(), title.c_str());
    }
};

// Saves go to the browser's downloads, under the name asked for. A browser
// gives no word on where the file went or whether it arrived.
class DownloadStore : public session::Store {
public:
    session::SaveResult write(const std::string &target, const std::string &bytes, bool) override {
        pageDownload(target.c_str(), bytes.data(), bytes.size());
        session::SaveResult r;
        r.status = session::SaveStatus::Written;
        r.target = target;
        return r;
    }
};

// One plug-in instance for the life of the page: its static state (the copy
// buffer among it) carries over from run to run, as in Layout.
struct Page {
    sim::PluginLibrary plugin =
        sim::PluginLibrary::linkedIn(_mod_descrip, sim::PluginLibrary::Instance::Shared);
    DownloadStore store;
    web::PageSession session{plugin, store};
    bool running = false;
    std::string text;  // the last text handed to the page
};

Page *g_page = nullptr;

const char *hand(std::string text) {
    g_page->text = std::move(text);
    return g_page->text.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void vt_start() {
    if (!g_page) g_page = new Page();
}

EMSCRIPTEN_KEEPALIVE const char *vt_state() { return hand(web::stateJson(g_page->session)); }
EMSCRIPTEN_KEEPALIVE const char *vt_rows() { return hand(web::rowsJson(g_page->session)); }
EMSCRIPTEN_KEEPALIVE const char *vt_changes() { return hand(web::changesJson(g_page->session.changes())); }

// 0 opened, 1 refused, 2 asking; -1 while the panel is open.
EMSCRIPTEN_KEEPALIVE int vt_open(const char *name, const char *bytes, size_t size) {
    if (g_page->running) return -1;
    return static_cast<int>(g_page->session.open(name, std::string(bytes, size)));
}
EMSCRIPTEN_KEEPALIVE int vt_check_size(const char *name, double size) {
    if (g_page->running) return -1;
    return static_cast<int>(g_page->session.checkSize(name, size));
}
EMSCRIPTEN_KEEPALIVE int vt_refuse(const char *name, const char *why) {
    if (g_page->running) return -1;
    return static_cast<int>(g_page->session.refuse(name, why));
}
EMSCRIPTEN_KEEPALIVE void vt_answer_open(int open) {
    if (!g_page->running) g_page->session.answerOpen(open != 0);
}

// Runs the plug-in; suspends while its panel is open (call it with
// ccall's async option). -1 when a run is going on already.
EMSCRIPTEN_KEEPALIVE int vt_run() {
    if (g_page->running) return -1;
    g_page->running = true;
    PageEvents events;
    PagePresenter presenter;
    const int result = g_page->session.run([&](sim::Host &h, sim::Recorder &recorded) {
        return web::runPanel(h, events, presenter, &recorded);
    });
    g_page->running = false;
    return result;
}

EMSCRIPTEN_KEEPALIVE void vt_save() {
    if (!g_page->running) g_page->session.save();
}

// "Download recording": 0 when there is nothing to download.
EMSCRIPTEN_KEEPALIVE int vt_download_recording() {
    if (g_page->running) return 0;
    const std::string text = g_page->session.recordingText();
    if (text.empty()) return 0;
    const std::string name = g_page->session.recordingName();
    pageDownload(name.c_str(), text.data(), text.size());
    return 1;
}

// "Run script…": the exit status the command line would give; -1 while the panel is open.
EMSCRIPTEN_KEEPALIVE int vt_run_script(const char *name, const char *bytes, size_t size) {
    if (g_page->running) return -1;
    return g_page->session.runScript(name, std::string(bytes, size));
}

}  // extern "C"
