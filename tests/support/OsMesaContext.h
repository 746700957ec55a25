#pragma once
// An off-screen OpenGL compatibility context on Mesa's software renderer, so
// drawing code can be tested and measured without a display.
#include <GL/osmesa.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qw::test {

class OsMesaContext {
public:
    // RGBA colour, 24-bit depth; made current at once.
    OsMesaContext(int width, int height);
    ~OsMesaContext();
    OsMesaContext(const OsMesaContext&) = delete;
    OsMesaContext& operator=(const OsMesaContext&) = delete;

    bool ok() const { return context_ != nullptr && current_; }
    // GL's renderer string, and whether the calls really reach Mesa's
    // software rasterizer (not a libGL picked up by mistake).
    std::string renderer() const;
    bool onSoftwareRenderer() const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Renders to a new size (re-binds the buffer).
    void Resize(int width, int height);
    // Makes it the calling thread's current context again (after another
    // was), drawing into the same buffer.
    void MakeCurrent();
    // The colour buffer after glFinish, rows bottom-up, RGBA bytes.
    const std::vector<uint8_t>& Pixels();
    // Writes the colour buffer as a PNG (top row first), for looking at failures.
    bool SavePng(const char* path);

private:
    OSMesaContext context_ = nullptr;
    int width_;
    int height_;
    bool current_ = false;
    std::vector<uint8_t> buffer_;
};

}  // namespace qw::test
