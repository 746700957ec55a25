#include "support/OsMesaContext.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>

namespace qw::test {

OsMesaContext::OsMesaContext(int width, int height) : width_(width), height_(height) {
    const int attribs[] = {OSMESA_FORMAT, OSMESA_RGBA, OSMESA_DEPTH_BITS, 24, OSMESA_STENCIL_BITS, 0,
                           OSMESA_ACCUM_BITS, 0, OSMESA_PROFILE, OSMESA_COMPAT_PROFILE, 0};
    context_ = OSMesaCreateContextAttribs(attribs, nullptr);
    MakeCurrent();
}

OsMesaContext::~OsMesaContext() {
    if (context_) OSMesaDestroyContext(context_);
}

std::string OsMesaContext::renderer() const {
    if (!ok()) return "(no context)";
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return text ? text : "(none)";
}

bool OsMesaContext::onSoftwareRenderer() const { return renderer().find("llvmpipe") != std::string::npos; }

void OsMesaContext::MakeCurrent() {
    const size_t bytes = static_cast<size_t>(width_) * height_ * 4;
    if (buffer_.size() != bytes) buffer_.assign(bytes, 0);
    current_ = context_ && OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, width_, height_);
}

void OsMesaContext::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    MakeCurrent();
}

const std::vector<uint8_t>& OsMesaContext::Pixels() {
    glFinish();
    return buffer_;
}

bool OsMesaContext::SavePng(const char* path) {
    const auto& px = Pixels();
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_set_IHDR(png, info, width_, height_, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = height_ - 1; y >= 0; --y)
            png_write_row(png, const_cast<png_bytep>(&px[static_cast<size_t>(y) * width_ * 4]));
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return ok;
}

}  // namespace qw::test
