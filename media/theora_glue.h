#pragma once
// Plain functions between the video player and libogg / libtheora: one record per open
// video, a header pass over the file, then packets decoded one by one from fed blocks.
#include <cstdio>
#include <ogg/ogg.h>
#include <theora/theora.h>

struct theoradecoder {
  std::FILE* headerfile = nullptr;  // open during the header pass only
  ogg_sync_state syncstate{};
  theora_comment comment{};
  theora_info info{};
  ogg_packet packet{};
  ogg_page page{};
  ogg_stream_state streamstate{};  // the Theora stream
  theora_state decodestate{};
  yuv_buffer yuv{};
  bool hasStream = false;   // streamstate is set up
  bool hasDecoder = false;  // decodestate is set up
  bool hasPicture = false;  // the packet decoded last gave a picture, and yuv shows it
  const char* failure = nullptr;  // why the header pass gave up
};

theoradecoder* initdecoder();
// 1 when the file opened for the header pass.
int opentheora(theoradecoder* record, const char* path);
// Reads the three Theora headers and sets the decoder up; 1 when it is ready. Otherwise 0,
// with the reason in `failure`; a stream cut or corrupt inside its headers also says the
// decoder's own text on standard error. Either way the file is closed. Bytes that
// are no page are stepped past, before the first page too. Pictures over 4096 pixels on a
// side are refused before the decoder allocates them.
int theoraheader(theoradecoder* record);
// Up to 4096 bytes from the file into the sync layer; the count read.
int buffer_data(std::FILE* file, ogg_sync_state* state);
// Appends count bytes (at most 4096) and moves every complete page into the Theora stream,
// stepping past bytes that are no page. The number of Theora pages moved.
int theora_buffer(theoradecoder* record, const unsigned char* bytes, int count);
// 1 when the next picture packet of the Theora stream was handed to the decoder, 0 when none
// is ready. Gaps in the stream and the header packets, met again when the file is fed from
// its start, are passed over.
int theoradraw(theoradecoder* record);
// The picture decoded last becomes `yuv`.
int drawframe(theoradecoder* record);
// Drops every byte, page and picture not yet shown, so feeding can start again at the
// file's start.
void resetdecoder(theoradecoder* record);
int theorawidth(const theoradecoder* record);
int theoraheight(const theoradecoder* record);
double theorafps(const theoradecoder* record);
int freedecoder(theoradecoder* record);
