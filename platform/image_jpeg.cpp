// JPEG reading through libjpeg. Any error, and any warning about corrupt or missing data,
// fails the load: a damaged file must not come back as a partly grey picture.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "platform/image_codecs.h"

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

// Plain data only: it must survive a longjmp out of libjpeg.
struct TJpegRead {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  std::FILE* file = nullptr;
  uint8_t* data = nullptr;
  int width = 0, height = 0;
};

bool ReadJpeg(TJpegRead& r) {
  if (setjmp(r.err.jump)) return false;
  jpeg_create_decompress(&r.cinfo);
  jpeg_stdio_src(&r.cinfo, r.file);
  jpeg_read_header(&r.cinfo, TRUE);
  r.cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&r.cinfo);
  const unsigned w = r.cinfo.output_width, h = r.cinfo.output_height;
  if (w == 0 || h == 0 || w > 16384 || h > 16384 || r.cinfo.output_components != 3) return false;
  r.data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(w) * h * 3));
  if (!r.data) return false;
  while (r.cinfo.output_scanline < h) {
    JSAMPROW row = r.data + static_cast<size_t>(r.cinfo.output_scanline) * w * 3;
    jpeg_read_scanlines(&r.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&r.cinfo);
  r.width = static_cast<int>(w);
  r.height = static_cast<int>(h);
  return true;
}

}  // namespace

TPixmapPtr LoadJpegFile(const std::string& path) {
  auto r = std::make_unique<TJpegRead>();
  r->file = std::fopen(path.c_str(), "rb");
  if (!r->file) return nullptr;
  r->cinfo.err = jpeg_std_error(&r->err.base);
  r->err.base.error_exit = Fail;
  r->err.base.emit_message = OnMessage;
  r->err.base.output_message = Silent;
  const bool ok = ReadJpeg(*r);
  TPixmapPtr out;
  if (ok) {
    out = std::make_shared<TPixmap>(r->width, r->height);
    const uint8_t* s = r->data;
    uint8_t* d = out->pixels.data();
    for (size_t i = 0, n = static_cast<size_t>(r->width) * r->height; i < n; ++i, s += 3, d += 4) {
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = 255;
    }
  }
  jpeg_destroy_decompress(&r->cinfo);
  std::free(r->data);
  std::fclose(r->file);
  return out;
}
