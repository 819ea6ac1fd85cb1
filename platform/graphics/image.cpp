// Images: loading with the mask colour, cutting into animation cells, blank images,
// frame access and handles.
#include <algorithm>
#include <initializer_list>

#include "platform/files/files.h"
#include "platform/graphics/codecs/codecs.h"
#include "platform/system/app.h"

namespace {

// Black until the game sets its own mask colour.
int gMaskRed = 0, gMaskGreen = 0, gMaskBlue = 0;

constexpr int kDefaultFlags = MASKEDIMAGE | FILTEREDIMAGE;

int ResolveFlags(int flags) { return flags == -1 ? kDefaultFlags : flags; }

// Pixels of the mask colour become fully transparent.
void ApplyMask(TPixmap& pixmap) {
  const uint8_t r = static_cast<uint8_t>(gMaskRed), g = static_cast<uint8_t>(gMaskGreen),
                b = static_cast<uint8_t>(gMaskBlue);
  for (size_t i = 0; i + 3 < pixmap.pixels.size(); i += 4) {
    uint8_t* p = &pixmap.pixels[i];
    if (p[0] == r && p[1] == g && p[2] == b) p[3] = 0;
  }
}

TPixmapPtr Cut(const TPixmap& src, int x, int y, int w, int h) {
  auto out = std::make_shared<TPixmap>(w, h);
  for (int row = 0; row < h; ++row) {
    std::copy_n(src.PixelPtr(x, y + row), static_cast<size_t>(w) * 4, out->PixelPtr(0, row));
  }
  return out;
}

// The loaded pixmap, masked when the flags ask for it; null when it cannot be read.
TPixmapPtr Prepared(TPixmapPtr pixmap, int flags) {
  if (pixmap && (flags & MASKEDIMAGE)) ApplyMask(*pixmap);
  return pixmap;
}

}  // namespace

void SetMaskColor(int red, int green, int blue) {
  gMaskRed = red & 255;
  gMaskGreen = green & 255;
  gMaskBlue = blue & 255;
}

bool PixelsFit(int64_t w, int64_t h, TPixelBound* bound) {
  if (w < 1 || h < 1 || w > kMaxImageSide || h > kMaxImageSide) return false;
  if (!bound || w * h <= bound->most) return true;
  bound->width = w;
  bound->height = h;
  return false;
}

TPixmapPtr DecodePixmap(const std::vector<uint8_t>& data, TPixelBound* bound) {
  const auto starts = [&data](std::initializer_list<uint8_t> magic) {
    return data.size() >= magic.size() && std::equal(magic.begin(), magic.end(), data.begin());
  };
  if (starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return DecodePng(data, bound);
  if (starts({0xFF, 0xD8, 0xFF})) return DecodeJpeg(data, bound);
  if (starts({'B', 'M'})) return DecodeBmp(data, bound);
  return DecodeTga(data, bound);
}

TPixmapPtr LoadPixmap(const std::string& path, int64_t maxBytes, int64_t maxPixels) {
  std::vector<uint8_t> data;
  if (!ReadWholeFile(path, data, maxBytes)) return nullptr;
  TPixelBound bound{maxPixels};
  TPixmapPtr pixmap = DecodePixmap(data, &bound);
  if (bound.width > 0) {
    WriteError("Refused to read " + path + ": it is a picture of " + std::to_string(bound.width) +
               " x " + std::to_string(bound.height) + " pixels, more than " +
               std::to_string(maxPixels));
  }
  return pixmap;
}

TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
  flags = ResolveFlags(flags);
  auto image = std::make_shared<TImage>();
  image->width = pixmap->width;
  image->height = pixmap->height;
  image->flags = flags;
  image->frames.push_back(Prepared(CopyPixmap(pixmap), flags));
  return image;
}

TImagePtr LoadImage(const std::string& path, int flags, int64_t maxBytes, int64_t maxPixels) {
  flags = ResolveFlags(flags);
  TPixmapPtr pixmap = Prepared(LoadPixmap(path, maxBytes, maxPixels), flags);
  if (!pixmap) return nullptr;
  auto image = std::make_shared<TImage>();
  image->width = pixmap->width;
  image->height = pixmap->height;
  image->flags = flags;
  image->frames.push_back(pixmap);
  return image;
}

TImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                        int cellCount, int flags) {
  if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount <= 0) return nullptr;
  flags = ResolveFlags(flags);
  TPixmapPtr sheet = Prepared(LoadPixmap(path), flags);
  if (!sheet) return nullptr;
  const int across = sheet->width / cellWidth, down = sheet->height / cellHeight;
  if (static_cast<long long>(firstCell) + cellCount > static_cast<long long>(across) * down) {
    return nullptr;
  }
  auto image = std::make_shared<TImage>();
  image->width = cellWidth;
  image->height = cellHeight;
  image->flags = flags;
  for (int cell = firstCell; cell < firstCell + cellCount; ++cell) {
    image->frames.push_back(
        Cut(*sheet, (cell % across) * cellWidth, (cell / across) * cellHeight, cellWidth, cellHeight));
  }
  return image;
}

TImagePtr CreateImage(int width, int height, int frames, int flags) {
  if (width <= 0 || height <= 0 || frames <= 0) return nullptr;
  auto image = std::make_shared<TImage>();
  image->width = width;
  image->height = height;
  image->flags = flags == -1 ? kDefaultFlags | DYNAMICIMAGE : flags;
  image->frames.resize(frames);  // no pixmaps until a frame is locked or written
  return image;
}

TPixmapPtr LockImage(const TImagePtr& image, int frame) {
  if (!image || frame < 0 || frame >= static_cast<int>(image->frames.size())) return nullptr;
  TPixmapPtr& pixmap = image->frames[frame];
  if (!pixmap) pixmap = std::make_shared<TPixmap>(image->width, image->height);
  return pixmap;
}

int ImageWidth(const TImagePtr& image) { return image ? image->width : 0; }
int ImageHeight(const TImagePtr& image) { return image ? image->height : 0; }
int ImageFrames(const TImagePtr& image) { return image ? static_cast<int>(image->frames.size()) : 0; }

void MidHandleImage(const TImagePtr& image) {
  if (!image) return;
  image->handleX = image->width * 0.5f;
  image->handleY = image->height * 0.5f;
}

void SetImageHandle(const TImagePtr& image, float x, float y) {
  if (!image) return;
  image->handleX = x;
  image->handleY = y;
}
