// PNG reading and writing through libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/image_codecs.h"

namespace {

// Everything that must outlive a libpng error (longjmp) is plain data declared before setjmp.
struct TPngRead {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::FILE* file = nullptr;
  uint8_t* data = nullptr;
  png_bytep* rows = nullptr;
  int width = 0, height = 0;
};

void Quiet(png_structp, png_const_charp) {}

bool ReadPng(TPngRead& r) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_init_io(r.png, r.file);
  png_read_info(r.png, r.info);
  const png_uint_32 w = png_get_image_width(r.png, r.info);
  const png_uint_32 h = png_get_image_height(r.png, r.info);
  if (w == 0 || h == 0 || w > 16384 || h > 16384) return false;
  const int type = png_get_color_type(r.png, r.info);
  png_set_expand(r.png);  // palette, low-bit grey and tRNS to 8-bit channels with alpha
  png_set_strip_16(r.png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(r.png);
  png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(r.png);
  png_read_update_info(r.png, r.info);
  if (png_get_rowbytes(r.png, r.info) != w * 4) return false;
  r.data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(w) * h * 4));
  r.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * h));
  if (!r.data || !r.rows) return false;
  for (png_uint_32 y = 0; y < h; ++y) r.rows[y] = r.data + static_cast<size_t>(y) * w * 4;
  png_read_image(r.png, r.rows);
  png_read_end(r.png, nullptr);
  r.width = static_cast<int>(w);
  r.height = static_cast<int>(h);
  return true;
}

struct TPngWrite {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::FILE* file = nullptr;
  png_bytep* rows = nullptr;
};

bool WritePng(TPngWrite& s, const TPixmap& pixmap, int level) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_init_io(s.png, s.file);
  png_set_compression_level(s.png, level);
  png_set_IHDR(s.png, s.info, pixmap.width, pixmap.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  png_write_image(s.png, s.rows);
  png_write_end(s.png, nullptr);
  return true;
}

}  // namespace

bool IsPngData(const uint8_t* head, size_t size) {
  return size >= 8 && png_sig_cmp(head, 0, 8) == 0;
}

TPixmapPtr LoadPngFile(const std::string& path) {
  TPngRead r;
  r.file = std::fopen(path.c_str(), "rb");
  if (!r.file) return nullptr;
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Quiet);
  if (r.png) r.info = png_create_info_struct(r.png);
  const bool ok = r.png && r.info && ReadPng(r);
  TPixmapPtr out;
  if (ok) {
    out = std::make_shared<TPixmap>(r.width, r.height);
    std::memcpy(out->pixels.data(), r.data, out->pixels.size());
  }
  png_destroy_read_struct(r.png ? &r.png : nullptr, r.info ? &r.info : nullptr, nullptr);
  std::free(r.data);
  std::free(r.rows);
  std::fclose(r.file);
  return out;
}

bool SavePixmapPNG(const TPixmapPtr& pixmap, const std::string& path, int compression) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return false;
  TPngWrite s;
  s.file = std::fopen(path.c_str(), "wb");
  if (!s.file) return false;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Quiet);
  if (s.png) s.info = png_create_info_struct(s.png);
  s.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * pixmap->height));
  bool ok = s.png && s.info && s.rows;
  if (ok) {
    for (int y = 0; y < pixmap->height; ++y) s.rows[y] = pixmap->PixelPtr(0, y);
    const int level = compression < 0 ? 0 : compression > 9 ? 9 : compression;
    ok = WritePng(s, *pixmap, level);
  }
  png_destroy_write_struct(s.png ? &s.png : nullptr, s.info ? &s.info : nullptr);
  std::free(s.rows);
  ok = std::fclose(s.file) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}
