#include "support/images.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace testsupport {

std::vector<uint8_t> JpegBytes(int w, int h, uint8_t red, uint8_t green, uint8_t blue,
                               const TJpegOptions& options) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = options.grey ? 1 : 3;
  c.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&c);
  c.arith_code = options.arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * c.input_components);
  for (size_t i = 0; i < row.size(); i += c.input_components) {
    row[i] = red;
    if (!options.grey) {
      row[i + 1] = green;
      row[i + 2] = blue;
    }
  }
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

}  // namespace testsupport
