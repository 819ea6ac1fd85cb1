// JPEG reading through libjpeg. Any error, and any warning about corrupt or missing data,
// fails the load: a damaged file must not come back as a partly grey picture.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jpeglib.h>

#include "platform/graphics/codecs/codecs.h"

namespace {

struct TJpegError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  if (level < 0) Fail(info);  // warnings: corrupt data, premature end of file
}

void Silent(j_common_ptr) {}

// libjpeg's own buffers may hold the coefficients of the whole picture before the first row
// comes out (progressive files); they get this many bytes for each byte of the file.
constexpr long kWorkBytesPerFileByte = 1024;
constexpr long kMinWorkBytes = 16L << 20;

// Huffman coding spends at least a bit on every 8 x 8 block, so a file holds at most 2048
// bytes of RGBA picture for each of its bytes. Arithmetic coding knows no such bound: a few
// hundred bytes may declare a 16384 x 16384 picture. Pictures beyond the bound are refused
// unless they are of an ordinary size.
constexpr uint64_t kMaxRgbaBytesPerFileByte = 2048;
constexpr uint64_t kAlwaysAllowedRgbaBytes = 64ULL << 20;

// Plain data only: it must survive a longjmp out of libjpeg.
struct TJpegRead {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  uint8_t* data = nullptr;  // RGBA rows, grown as they are decoded
  size_t capacity = 0;
  int width = 0, height = 0;
  TPixelBound* bound = nullptr;
};

// Room for `bytes` bytes of rows; false when there is no memory.
bool Reserve(TJpegRead& r, size_t bytes) {
  if (bytes <= r.capacity) return true;
  const size_t grown = std::max(bytes, r.capacity * 2);
  auto* more = static_cast<uint8_t*>(std::realloc(r.data, grown));
  if (!more) return false;
  r.data = more;
  r.capacity = grown;
  return true;
}

bool ReadJpeg(TJpegRead& r) {
  if (setjmp(r.err.jump)) return false;
  jpeg_create_decompress(&r.cinfo);
  r.cinfo.mem->max_memory_to_use =
      std::max(kMinWorkBytes, static_cast<long>(r.size) * kWorkBytesPerFileByte);
  jpeg_mem_src(&r.cinfo, r.bytes, static_cast<unsigned long>(r.size));
  jpeg_read_header(&r.cinfo, TRUE);
  if (!PixelsFit(r.cinfo.image_width, r.cinfo.image_height, r.bound)) return false;
  const uint64_t rgbaBytes = uint64_t{r.cinfo.image_width} * r.cinfo.image_height * 4;
  if (rgbaBytes > std::max(kAlwaysAllowedRgbaBytes, kMaxRgbaBytesPerFileByte * r.size)) {
    return false;
  }
  r.cinfo.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&r.cinfo);
  const unsigned w = r.cinfo.output_width, h = r.cinfo.output_height;
  if (w == 0 || h == 0 || r.cinfo.output_components != 4) return false;
  // The rows grow with the data decoded, so a file that ends early never gets the memory
  // of the whole picture it declares.
  const size_t rowBytes = static_cast<size_t>(w) * 4;
  while (r.cinfo.output_scanline < h) {
    if (!Reserve(r, (r.cinfo.output_scanline + 1) * rowBytes)) return false;
    JSAMPROW row = r.data + r.cinfo.output_scanline * rowBytes;
    jpeg_read_scanlines(&r.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&r.cinfo);
  r.width = static_cast<int>(w);
  r.height = static_cast<int>(h);
  return true;
}

}  // namespace

TPixmapPtr DecodeJpeg(const std::vector<uint8_t>& data, TPixelBound* bound) {
  auto r = std::make_unique<TJpegRead>();
  r->bytes = data.data();
  r->size = data.size();
  r->bound = bound;
  r->cinfo.err = jpeg_std_error(&r->err.base);
  r->err.base.error_exit = Fail;
  r->err.base.emit_message = OnMessage;
  r->err.base.output_message = Silent;
  const bool ok = ReadJpeg(*r);
  TPixmapPtr out;
  if (ok) {
    out = std::make_shared<TPixmap>(r->width, r->height);
    std::memcpy(out->pixels.data(), r->data, out->pixels.size());
  }
  jpeg_destroy_decompress(&r->cinfo);
  std::free(r->data);
  return out;
}
