// The Theora decoding glue over libogg and libtheora's theora_ interface.
#include "media/theora_glue.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBlock = 4096;
// The largest frame played. The decoder allocates several frames of the size the headers
// declare before it reads any picture, however short the file.
constexpr ogg_uint32_t kMaxFrameSide = 4096;

constexpr const char* kNoTheora = "it holds no Theora stream";
constexpr const char* kUnreadable = "it cannot be read";
constexpr const char* kCorrupt = "its Theora headers are corrupt";
constexpr const char* kIncomplete = "it ends before its Theora headers are complete";
constexpr const char* kTooLarge = "its pictures are over 4096 pixels on a side";
// The decoder's own texts for the two header faults, said as they stand.
constexpr const char* kCorruptText = "Error parsing Theora stream headers; corrupt stream?";
constexpr const char* kEndText = "End of file while searching for codec headers.";

// The next complete page, stepping past bytes that are no page; false when none is complete.
bool NextPage(ogg_sync_state* sync, ogg_page* page) {
  int got;
  while ((got = ogg_sync_pageout(sync, page)) < 0) {
  }
  return got > 0;
}

// Header packets have the top bit of their first byte set, picture packets have not.
bool IsHeader(const ogg_packet& packet) { return packet.bytes > 0 && (packet.packet[0] & 0x80); }

// Ends a failed header pass: says the decoder's own text, if any, on its stream (flushed, so
// that it comes before what is said next) and closes the file; the record stays releasable.
int HeaderFailure(theoradecoder* record, const char* reason, const char* text = nullptr,
                  std::FILE* stream = stderr) {
  if (text) {
    std::fprintf(stream, "%s\n", text);
    std::fflush(stream);
  }
  record->failure = reason;
  std::fclose(record->headerfile);
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
  if (!room) return 0;
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
  for (;;) {
    if (!NextPage(&r.syncstate, &r.page)) {
      if (buffer_data(r.headerfile, &r.syncstate) == 0) break;
      continue;
    }
    if (!ogg_page_bos(&r.page)) {
      if (headers) ogg_stream_pagein(&r.streamstate, &r.page);
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
  if (headers == 0)
    return HeaderFailure(record, std::ferror(r.headerfile) ? kUnreadable : kNoTheora);

  // The comment and setup headers, then one page more.
  for (;;) {
    while (headers < 3) {
      const int got = ogg_stream_packetout(&r.streamstate, &r.packet);
      if (got == 0) break;
      // A gap in the stream is said on standard error, a header that the decoder rejects on
      // standard output.
      if (got < 0) return HeaderFailure(record, kCorrupt, kCorruptText);
      if (theora_decode_header(&r.info, &r.comment, &r.packet) != 0)
        return HeaderFailure(record, kCorrupt, kCorruptText, stdout);
      ++headers;
    }
    if (NextPage(&r.syncstate, &r.page)) ogg_stream_pagein(&r.streamstate, &r.page);
    else if (buffer_data(r.headerfile, &r.syncstate) == 0)
      return HeaderFailure(record, kIncomplete, kEndText);
    if (headers == 3) break;
  }

  if (r.info.width > kMaxFrameSide || r.info.height > kMaxFrameSide)
    return HeaderFailure(record, kTooLarge);
  if (theora_decode_init(&r.decodestate, &r.info) != 0) return HeaderFailure(record, kCorrupt);
  r.hasDecoder = true;
  while (NextPage(&r.syncstate, &r.page)) ogg_stream_pagein(&r.streamstate, &r.page);
  std::fclose(r.headerfile);
  r.headerfile = nullptr;
  return 1;
}

int theora_buffer(theoradecoder* record, const unsigned char* bytes, int count) {
  count = std::clamp(count, 0, kBlock);
  char* room = ogg_sync_buffer(&record->syncstate, kBlock);
  if (room && count) std::memcpy(room, bytes, static_cast<size_t>(count));
  ogg_sync_wrote(&record->syncstate, room ? count : 0);
  int moved = 0;
  while (NextPage(&record->syncstate, &record->page)) {
    if (record->hasStream && ogg_stream_pagein(&record->streamstate, &record->page) == 0) ++moved;
  }
  return moved;
}

int theoradraw(theoradecoder* record) {
  if (!record->hasStream || !record->hasDecoder) return 0;
  for (;;) {
    const int got = ogg_stream_packetout(&record->streamstate, &record->packet);
    if (got == 0) return 0;
    if (got > 0 && !IsHeader(record->packet)) break;
  }
  // A damaged packet counts as taken, but gives no picture.
  record->hasPicture = theora_decode_packetin(&record->decodestate, &record->packet) == 0;
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
  record->hasPicture = false;
}

int theorawidth(const theoradecoder* record) {
  return static_cast<int>(record->info.frame_width);
}

int theoraheight(const theoradecoder* record) {
  return static_cast<int>(record->info.frame_height);
}

double theorafps(const theoradecoder* record) {
  return static_cast<double>(record->info.fps_numerator) /
         static_cast<double>(record->info.fps_denominator);
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
