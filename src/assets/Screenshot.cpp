#include "assets/Screenshot.h"

#include <GL/gl.h>
#include <jpeglib.h>
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace qw {

namespace {

constexpr int kJpegQuality = 90;

// libjpeg would print and exit(); we jump back to the encoding step and turn
// the message into an exception there.
struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

// rows: the capture, bottom row first; the file gets the top row first.
// Holds no C++ objects with destructors, so the long jump skips no cleanup.
bool Encode(jpeg_compress_struct& jpeg, JpegErrors& errors, std::FILE* file, const uint8_t* rows, int32_t width,
            int32_t height) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file);
    jpeg.image_width = static_cast<JDIMENSION>(width);
    jpeg.image_height = static_cast<JDIMENSION>(height);
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, kJpegQuality, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    while (jpeg.next_scanline < jpeg.image_height) {
        const size_t bottomUp = static_cast<size_t>(height) - 1 - jpeg.next_scanline;
        JSAMPROW row = const_cast<JSAMPROW>(rows + bottomUp * rowBytes);
        jpeg_write_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_compress(&jpeg);
    return true;
}

std::vector<uint8_t> CaptureReadBuffer(int32_t width, int32_t height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * 3 * static_cast<size_t>(height));
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    // Rows of width x 3 bytes, with no padding even when that is not a
    // multiple of 4.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    return pixels;
}

void RemovePartialFile(const std::string& fileName) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(fileName, ignored)))
        std::filesystem::remove(fileName, ignored);
}

bool FileExists(const std::string& name) {
    struct stat info;
    return ::stat(name.c_str(), &info) == 0;
}

}  // namespace

std::string ScreenshotFileName(const std::string& folder) {
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    prefix += "quaderwelt";
    for (unsigned long n = 1;; ++n) {
        std::string candidate = prefix + std::to_string(n) + ".jpg";
        if (!FileExists(candidate)) return candidate;
    }
}

bool SaveScreenshotJpeg(const std::string& fileName, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        throw std::runtime_error(fileName + ": no picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels");
    const std::vector<uint8_t> pixels = CaptureReadBuffer(width, height);

    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (!file) throw std::runtime_error(fileName + ": " + std::strerror(errno));
    jpeg_compress_struct jpeg{};
    JpegErrors errors{};
    jpeg.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnJpegError;
    errors.manager.output_message = OnJpegMessage;
    const bool encoded = Encode(jpeg, errors, file, pixels.data(), width, height);
    jpeg_destroy_compress(&jpeg);
    const bool closed = std::fclose(file) == 0;
    if (encoded && closed) return true;

    const std::string reason = encoded ? std::strerror(errno) : errors.message;
    RemovePartialFile(fileName);
    throw std::runtime_error(fileName + ": " + reason);
}

std::string TakeScreenshot(const std::string& picturesFolder, int32_t width, int32_t height) {
    if (!picturesFolder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(picturesFolder, error);
        if (error) throw std::runtime_error(picturesFolder + ": " + error.message());
    }
    std::string fileName = ScreenshotFileName(picturesFolder);
    SaveScreenshotJpeg(fileName, width, height);
    return fileName;
}

}  // namespace qw
