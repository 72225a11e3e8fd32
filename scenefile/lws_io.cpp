// lws_io.cpp - the fuzzing entry point.

#include "scenefile/lws_document.h"

namespace scenefile {

int fuzzParseAndRender(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    LwsDocument doc;
    LoadError err;
    if (!LwsDocument::parse(bytes, "fuzz.lws", doc, err)) return 0;
    std::vector<std::string> warnings;
    scene::Scene scene = doc.scene();
    (void)doc.render(scene, warnings);
    // An edit of every setting exercises rewriting and insertion.
    for (scene::Light &l : scene.lights) {
        l.intensity = l.intensity * 0.5 + 0.25;
        l.color[1] = 0.5;
        l.lightType = (l.lightType + 1) % 5;
        l.shadowType = (l.shadowType + 1) % 3;
        l.flags ^= 1u;
        l.range += 1.0;
    }
    (void)doc.render(scene, warnings);
    // The same edit told from an unedited OK that would send the file's own
    // values: every setting counts as edited.
    const scene::Scene unedited = doc.scene();
    LwsDocument::Notes notes;
    (void)doc.render(scene, &unedited, notes);
    return 0;
}

}  // namespace scenefile
