// The Theora decoding glue over libogg and libtheora's theora_ interface.
#include "media/theora_glue.h"

#include <cstring>

namespace {

constexpr int kBlock = 4096;
// The largest frame played. The decoder allocates several frames of the size the headers
// declare before it reads any picture, however short the file.
constexpr ogg_uint32_t kMaxFrameSide = 4096;

// Ends a failed header pass: closes the file; the record stays releasable.
int HeaderFailure(theoradecoder* record, std::FILE* console, const char* message) {
  if (message) std::fprintf(console, "%s\n", message);
  if (record->headerfile) std::fclose(record->headerfile);
  record->headerfile = nullptr;
  return 0;
}

}  // namespace

theoradecoder* initdecoder() {
  auto* record = new theoradecoder;
  ogg_sync_init(&record->syncstate);
  theora_comment_init(&record->comment);
  theora_info_init(&record->info);
  return record;
}

int opentheora(theoradecoder* record, const char* path) {
  record->headerfile = std::fopen(path, "rb");
  return record->headerfile ? 1 : 0;
}

int buffer_data(std::FILE* file, ogg_sync_state* state) {
  char* room = ogg_sync_buffer(state, kBlock);
  const size_t bytes = std::fread(room, 1, kBlock, file);
  ogg_sync_wrote(state, static_cast<long>(bytes));
  return static_cast<int>(bytes);
}

int theoraheader(theoradecoder* record) {
  theoradecoder& r = *record;
  if (!r.headerfile) return 0;
  int headers = 0;

  // The first pages of the logical streams: the first that opens with a Theora header is
  // the video; every other stream is ignored.
  bool beginnings = true;
  while (beginnings && buffer_data(r.headerfile, &r.syncstate) > 0) {
    while (ogg_sync_pageout(&r.syncstate, &r.page) > 0) {
      if (!ogg_page_bos(&r.page)) {
        if (headers) ogg_stream_pagein(&r.streamstate, &r.page);
        beginnings = false;
        break;
      }
      ogg_stream_state probe;
      ogg_stream_init(&probe, ogg_page_serialno(&r.page));
      ogg_stream_pagein(&probe, &r.page);
      if (headers == 0 && ogg_stream_packetout(&probe, &r.packet) > 0 &&
          theora_decode_header(&r.info, &r.comment, &r.packet) >= 0) {
        r.streamstate = probe;  // takes over what the probe owns
        r.hasStream = true;
        headers = 1;
      } else {
        ogg_stream_clear(&probe);
      }
    }
  }
  if (headers == 0) return HeaderFailure(record, stderr, nullptr);  // no Theora stream

  // The comment and setup headers, then one page more.
  while (headers >= 1 && headers <= 3) {
    while (headers < 3) {
      const int got = ogg_stream_packetout(&r.streamstate, &r.packet);
      if (got == 0) break;
      if (got < 0) return HeaderFailure(record, stderr, "Error parsing Theora stream headers; corrupt stream?");
      if (theora_decode_header(&r.info, &r.comment, &r.packet) != 0)
        return HeaderFailure(record, stdout, "Error parsing Theora stream headers; corrupt stream?");
      ++headers;
    }
    if (ogg_sync_pageout(&r.syncstate, &r.page) > 0) {
      ogg_stream_pagein(&r.streamstate, &r.page);
    } else if (buffer_data(r.headerfile, &r.syncstate) == 0) {
      return HeaderFailure(record, stderr, "End of file while searching for codec headers.");
    }
    if (headers == 3) break;
  }

  if (r.info.width > kMaxFrameSide || r.info.height > kMaxFrameSide ||
      theora_decode_init(&r.decodestate, &r.info) != 0)
    return HeaderFailure(record, stderr, nullptr);
  r.hasDecoder = true;
  while (ogg_sync_pageout(&r.syncstate, &r.page) > 0) ogg_stream_pagein(&r.streamstate, &r.page);
  std::fclose(r.headerfile);
  r.headerfile = nullptr;
  return 1;
}

void theora_buffer(theoradecoder* record, const unsigned char* bytes, int count) {
  if (count < 0) count = 0;
  if (count > kBlock) count = kBlock;
  char* room = ogg_sync_buffer(&record->syncstate, kBlock);
  if (count) std::memcpy(room, bytes, static_cast<size_t>(count));
  ogg_sync_wrote(&record->syncstate, count);
  while (ogg_sync_pageout(&record->syncstate, &record->page) > 0) {
    if (record->hasStream) ogg_stream_pagein(&record->streamstate, &record->page);
  }
}

int theoradraw(theoradecoder* record) {
  if (!record->hasStream || !record->hasDecoder) return 0;
  if (ogg_stream_packetout(&record->streamstate, &record->packet) <= 0) return 0;
  // Header packets and damaged ones count as taken, but give no picture.
  if (theora_decode_packetin(&record->decodestate, &record->packet) == 0) record->hasPicture = true;
  return 1;
}

int drawframe(theoradecoder* record) {
  if (record->hasPicture && theora_decode_YUVout(&record->decodestate, &record->yuv) != 0)
    record->hasPicture = false;
  return 1;
}

void resetdecoder(theoradecoder* record) {
  ogg_sync_reset(&record->syncstate);
  if (record->hasStream) ogg_stream_reset(&record->streamstate);
}

int theorawidth(const theoradecoder* record) { return static_cast<int>(record->info.frame_width); }

int theoraheight(const theoradecoder* record) { return static_cast<int>(record->info.frame_height); }

double theorafps(const theoradecoder* record) {
  return static_cast<double>(record->info.fps_numerator) / static_cast<double>(record->info.fps_denominator);
}

int freedecoder(theoradecoder* record) {
  if (!record) return 1;
  if (record->hasDecoder) theora_clear(&record->decodestate);
  if (record->hasStream) ogg_stream_clear(&record->streamstate);
  theora_info_clear(&record->info);
  theora_comment_clear(&record->comment);
  ogg_sync_clear(&record->syncstate);
  if (record->headerfile) std::fclose(record->headerfile);
  delete record;
  return 1;
}
