#include "support/images.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace testsupport {

std::vector<uint8_t> JpegBytes(int w, int h, uint8_t red, uint8_t green, uint8_t blue,
                               const TJpegOptions& options) {
  const uint32_t rgb = uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
  return JpegBytes(w, h, [rgb](int, int) { return rgb; }, options);
}

std::vector<uint8_t> JpegBytes(int w, int h, const TRgbAt& rgb, const TJpegOptions& options) {
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
  if (options.fullChroma) c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
  if (options.progressive) jpeg_simple_progression(&c);
  c.arith_code = options.arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * c.input_components);
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < w; ++x) {
      const uint32_t v = rgb(x, y);
      uint8_t* p = &row[static_cast<size_t>(x) * c.input_components];
      p[0] = static_cast<uint8_t>(v >> 16);
      if (!options.grey) {
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v);
      }
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

}  // namespace

std::vector<uint8_t> PngBytes(const std::function<void(png_structp, png_infop)>& write) {
  std::vector<uint8_t> file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &file, AppendPng, nullptr);
  write(png, info);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return file;
}

std::vector<uint8_t> BlackPngBytes(int w, int h) {
  return PngBytes([w, h](png_structp png, png_infop info) {
    // The fastest level: well short of what deflate could do, as a picture made by hand may be.
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 1,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::vector<png_byte> row((static_cast<size_t>(w) + 7) / 8, 0);
    for (int y = 0; y < h; ++y) png_write_row(png, row.data());
  });
}

}  // namespace testsupport
