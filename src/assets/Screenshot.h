#pragma once
// Screenshots: the window's picture as a numbered JPEG in the pictures folder.
#include <cstdint>
#include <string>

namespace qw {

// The first of folder + "quaderwelt1.jpg", "quaderwelt2.jpg", ... that does
// not exist, so numbers freed by deleted pictures are used again. A folder
// that does not end in "/" gets one; an empty folder means the working folder.
std::string ScreenshotFileName(const std::string& folder);

// Reads the lower-left width x height pixels of the GL read buffer and writes
// them as a baseline colour JPEG of quality 90, top row first. Throws
// std::runtime_error with the reason when the file cannot be written; a
// partly written file is removed. Returns true when the file was written.
bool SaveScreenshotJpeg(const std::string& fileName, int32_t width, int32_t height);

// F2: creates the pictures folder when it is missing and saves the picture
// under the next free name, which it returns.
std::string TakeScreenshot(const std::string& picturesFolder, int32_t width, int32_t height);

}  // namespace qw
