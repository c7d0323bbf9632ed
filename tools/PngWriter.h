// Writes 8-bit RGB or RGBA pictures as PNG files, for the tools that make
// the project's screenshot and icon.
#pragma once

#include <string>
#include <vector>

// `pixels` holds `height` rows of `width` pixels, top row first, each pixel
// `channels` bytes (3 for RGB, 4 for RGBA). Returns false, with `error` set,
// when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<unsigned char>& pixels, std::string& error);
