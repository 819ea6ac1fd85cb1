// PNG reading and writing through libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/graphics/codecs/codecs.h"

namespace {

// Deflate expands its input at most 1032 times, so the raw rows of a PNG can be at most that
// many times the size of the file.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Everything that must outlive a libpng error (longjmp) is plain data declared before setjmp.
struct TPngRead {
  png_structp png = nullptr;
  png_infop info = nullptr;
  const uint8_t* bytes = nullptr;
  size_t size = 0, pos = 0;
  TPixelBound* bound = nullptr;
  uint8_t* data = nullptr;
  png_bytep* rows = nullptr;
  int width = 0, height = 0;
};

void Quiet(png_structp, png_const_charp) {}

// Errors end the read through the jump buffer without a word on the console.
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void ReadMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* r = static_cast<TPngRead*>(png_get_io_ptr(png));
  if (count > r->size - r->pos) png_error(png, "unexpected end of file");
  std::memcpy(out, r->bytes + r->pos, count);
  r->pos += count;
}

bool ReadPng(TPngRead& r) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_set_read_fn(r.png, &r, ReadMemory);
  png_set_user_limits(r.png, kMaxImageSide, kMaxImageSide);
  png_read_info(r.png, r.info);
  const png_uint_32 w = png_get_image_width(r.png, r.info);
  const png_uint_32 h = png_get_image_height(r.png, r.info);
  if (!PixelsFit(w, h, r.bound)) return false;
  // Every row is stored with its filter byte.
  const uint64_t raw = (static_cast<uint64_t>(png_get_rowbytes(r.png, r.info)) + 1) * h;
  if (raw > kMaxDeflateRatio * r.size) return false;
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

TPixmapPtr DecodePng(const std::vector<uint8_t>& data, TPixelBound* bound) {
  TPngRead r;
  r.bytes = data.data();
  r.size = data.size();
  r.bound = bound;
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
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
  return out;
}

bool SavePixmapPNG(const TPixmapPtr& pixmap, const std::string& path, int compression) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return false;
  // Through the files module, so that the picture is never written through a link.
  const TStreamPtr stream = WriteStream(path);
  if (!stream) return false;
  TPngWrite s;
  s.file = stream->file;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
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
  ok = CloseStream(stream) && ok;
  if (!ok) DeleteFile(path);
  return ok;
}
