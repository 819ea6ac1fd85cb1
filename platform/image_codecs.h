#pragma once
// Decoders behind LoadPixmap (internal to the platform layer). Each returns an RGBA pixmap,
// or null when the file cannot be read or is not a valid file of its kind.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/graphics.h"

bool IsPngData(const uint8_t* head, size_t size);
TPixmapPtr LoadPngFile(const std::string& path);
TPixmapPtr LoadJpegFile(const std::string& path);
// Uncompressed or run-length BMP and TGA files of the common depths.
TPixmapPtr DecodeBmp(const std::vector<uint8_t>& data);
TPixmapPtr DecodeTga(const std::vector<uint8_t>& data);
