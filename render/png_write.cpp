// png_write.cpp - PNG encoding with stb's image writer (libstb-dev).
#include "panel_render.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace render {

namespace {
void append(void *context, void *data, int size) {
    static_cast<std::string *>(context)->append(static_cast<const char *>(data), static_cast<size_t>(size));
}
}  // namespace

std::string encodePng(const sim::Picture &picture) {
    std::string out;
    if (picture.width() <= 0 || picture.height() <= 0) return out;
    if (!stbi_write_png_to_func(&append, &out, picture.width(), picture.height(), 3, picture.rgb().data(),
                                picture.width() * 3))
        out.clear();
    return out;
}

}  // namespace render
