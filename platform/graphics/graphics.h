#pragma once
// Software 2D drawing into an RGBA back buffer: images with frames and handles, drawing
// state (colour, alpha, blend, scale, rotation, origin, viewport), the built-in 8 x 16 font,
// pixel-accurate collision on the same pixels that drawing covers, and pixmaps.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Pixmap formats. Only RGBA8888 (4 bytes a pixel, in memory order red, green, blue, alpha)
// is used by the game.
enum { PF_RGBA8888 = 6 };

class TPixmap {
public:
  TPixmap(int width, int height);
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes, rows top to bottom
  uint8_t* PixelPtr(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* PixelPtr(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};
using TPixmapPtr = std::shared_ptr<TPixmap>;

// Image flags. -1 selects the default flags: masked and filtered.
enum { FILTEREDIMAGE = 1, MIPMAPPEDIMAGE = 2, MASKEDIMAGE = 4, DYNAMICIMAGE = 8 };

class TImage {
public:
  int width = 0, height = 0;        // size of one frame
  int flags = 0;
  float handleX = 0, handleY = 0;   // the point of the image placed on the drawing position
  std::vector<TPixmapPtr> frames;
};
using TImagePtr = std::shared_ptr<TImage>;

// Blend modes.
enum { MASKBLEND = 1, SOLIDBLEND = 2, ALPHABLEND = 3, LIGHTBLEND = 4, SHADEBLEND = 5 };

// Pixmaps.
// A blank (transparent black) pixmap. Rows of 4-byte pixels need no padding for any
// alignment of 4 bytes or less, so align is accepted and rows never have a gap.
TPixmapPtr CreatePixmap(int width, int height, int format = PF_RGBA8888, int align = 4);
// PNG, JPEG, BMP or TGA, told apart by their contents; null when the file cannot be read,
// is damaged (a corrupt JPEG included) or holds more than maxBytes, or when it declares a
// picture of more than maxPixels pixels: that is refused before it is decoded, with a line
// "Refused to read <path>: it is a picture of W x H pixels, more than N" on standard error.
TPixmapPtr LoadPixmap(const std::string& path, int64_t maxBytes = INT64_MAX,
                      int64_t maxPixels = INT64_MAX);
TPixmapPtr CopyPixmap(const TPixmapPtr& pixmap);
// Resampled copy of the pixmap at the new size (bilinear).
TPixmapPtr ResizePixmap(const TPixmapPtr& pixmap, int width, int height);
// Copy of a rectangle of the current back buffer.
TPixmapPtr GrabPixmap(int x, int y, int width, int height);
// Writes a PNG with the zlib compression level (0..9); false on failure.
bool SavePixmapPNG(const TPixmapPtr& pixmap, const std::string& path, int compression = 5);
uint32_t ReadPixel(const TPixmapPtr& pixmap, int x, int y);  // 0xAARRGGBB
void WritePixel(const TPixmapPtr& pixmap, int x, int y, uint32_t argb);

// Images. Loading a masked image (flags -1 or MASKEDIMAGE) makes the pixels of the current
// mask colour transparent (alpha 0); images load with the handle (0, 0). A file of more
// than maxBytes, or of a picture of more than maxPixels pixels, is not loaded (LoadPixmap).
TImagePtr LoadImage(const std::string& path, int flags = -1, int64_t maxBytes = INT64_MAX,
                    int64_t maxPixels = INT64_MAX);
TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags = -1);
// Cut into cells of cellWidth x cellHeight, numbered left to right then top to bottom;
// cellCount frames from firstCell on. Null when the file cannot be read or holds fewer cells.
TImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                        int cellCount, int flags = -1);
// A blank image; its frames get their (transparent) pixmaps when first locked.
TImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);
// The pixmap of a frame, to read or change in place; null for a missing image or frame.
TPixmapPtr LockImage(const TImagePtr& image, int frame = 0);
// Null images measure 0.
int ImageWidth(const TImagePtr& image);
int ImageHeight(const TImagePtr& image);
int ImageFrames(const TImagePtr& image);
void MidHandleImage(const TImagePtr& image);
void SetImageHandle(const TImagePtr& image, float x, float y);

// Drawing state of the current graphics context.
void SetColor(int red, int green, int blue);
void GetColor(int& red, int& green, int& blue);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetScale(float scaleX, float scaleY);
void GetScale(float& scaleX, float& scaleY);
void SetRotation(float degrees);
float GetRotation();
void SetOrigin(float x, float y);
void SetViewport(int x, int y, int width, int height);
void GetViewport(int& x, int& y, int& width, int& height);
void SetClsColor(int red, int green, int blue);
// Mask colour applied by later loads of masked images; black until set.
void SetMaskColor(int red, int green, int blue);

// Drawing into the back buffer, clipped to the viewport. A null image, or a frame out of
// range, draws nothing.
// Cls fills the viewport with the clear colour.
void Cls();
// The frame's handle lands on (x, y) plus the origin; scale and rotation turn about it.
// A pixel is covered when its centre falls inside the placed frame. Filtered images are
// sampled bilinearly unless they land 1:1 on the pixel grid.
void DrawImage(const TImagePtr& image, float x, float y, int frame = 0);
// Frames drawn turned, kept for drawing again. For images whose pixels do not change once
// made (the tile table's), a frame drawn turned by an angle about its handle is sampled once
// for that angle, and then drawn from its samples wherever it lands on whole pixels, with the
// pixels that DrawImage gives there. At most maxBytes of samples are kept; a store that would
// hold more begins afresh.
class TTurnedFrames {
public:
  explicit TTurnedFrames(size_t maxBytes);
  ~TTurnedFrames();
  TTurnedFrames(const TTurnedFrames&) = delete;
  TTurnedFrames& operator=(const TTurnedFrames&) = delete;
  void Clear();

private:
  struct TStore;
  friend void DrawImage(const TImagePtr&, float, float, int, TTurnedFrames&);
  std::unique_ptr<TStore> store_;
};
// DrawImage, from the store's samples of the frame at the current rotation where the drawing
// state allows (scale 1, a turned or off-grid frame on whole pixels, not cut by the viewport's
// left edge); otherwise as DrawImage draws it.
void DrawImage(const TImagePtr& image, float x, float y, int frame, TTurnedFrames& turned);
// The frame stretched to width x height.
void DrawImageRect(const TImagePtr& image, float x, float y, float width, float height, int frame = 0);
// Filled in the current colour and alpha; scaled and rotated about (x, y) like an image.
void DrawRect(float x, float y, float width, float height);
// drawLastPixel false leaves out the end point (x2, y2).
void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel = true);
void Plot(float x, float y);

// The built-in 8 x 16 font: glyphs for the codes 32 to 127; any other code measures 0
// and draws nothing.
void DrawText(const std::string& text, float x, float y);
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);

// 1 when a solid pixel (alpha 128 or more) of one frame, placed with its handle on the
// integer point, covers a solid pixel of the other; both unrotated and unscaled.
int ImagesCollide(const TImagePtr& image1, int x1, int y1, int frame1,
                  const TImagePtr& image2, int x2, int y2, int frame2);
// The same with rotation (degrees, about the handle) and scale per image; the drawing
// rotation and scale are left as they were.
int ImagesCollide2(const TImagePtr& image1, int x1, int y1, int frame1, float rotation1,
                   float scaleX1, float scaleY1,
                   const TImagePtr& image2, int x2, int y2, int frame2, float rotation2,
                   float scaleX2, float scaleY2);

// Size of the current graphics context's back buffer.
int GraphicsWidth();
int GraphicsHeight();

// The back buffer of the current graphics context (640 x 480 while a display is open; a
// headless 640 x 480 buffer otherwise). Its contents survive Flip.
TPixmapPtr BackBuffer();
