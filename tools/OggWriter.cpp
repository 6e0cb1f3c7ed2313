#include "tools/OggWriter.h"

#include "tools/WavWriter.h"

#include <vorbis/vorbisenc.h>

namespace tools {

namespace {

constexpr int kFramesPerChunk = 1024;

/// The libvorbis and libogg states of one encoding, freed in reverse order.
struct Encoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool analysing = false;

  Encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~Encoder() {
    if (analysing) {
      ogg_stream_clear(&stream);
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;
};

void AppendPage(std::vector<std::uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

/// Moves every finished block into packets and every full page into the output.
void Drain(Encoder& e, std::vector<std::uint8_t>& out) {
  while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
    vorbis_analysis(&e.block, nullptr);
    vorbis_bitrate_addblock(&e.block);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&e.dsp, &packet) == 1) {
      ogg_stream_packetin(&e.stream, &packet);
      ogg_page page;
      while (ogg_stream_pageout(&e.stream, &page) != 0) AppendPage(out, page);
    }
  }
}

void WriteHeaders(Encoder& e, std::vector<std::uint8_t>& out) {
  ogg_packet identification, comments, codebooks;
  vorbis_analysis_headerout(&e.dsp, &e.comment, &identification, &comments, &codebooks);
  ogg_stream_packetin(&e.stream, &identification);
  ogg_stream_packetin(&e.stream, &comments);
  ogg_stream_packetin(&e.stream, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&e.stream, &page) != 0) AppendPage(out, page);  // audio starts on a new page
}

}  // namespace

std::vector<std::uint8_t> EncodeOggVorbis(std::span<const float> samples, const OggSettings& settings) {
  std::vector<std::uint8_t> out;
  const int channels = settings.channels;
  if (channels < 1) return out;
  Encoder e;
  if (vorbis_encode_init_vbr(&e.info, channels, settings.rate, settings.quality) != 0) return out;
  vorbis_comment_add_tag(&e.comment, "TITLE", "Navo sample");
  vorbis_analysis_init(&e.dsp, &e.info);
  vorbis_block_init(&e.dsp, &e.block);
  ogg_stream_init(&e.stream, settings.serial);
  e.analysing = true;
  WriteHeaders(e, out);

  const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
  for (std::size_t first = 0; first < frames; first += kFramesPerChunk) {
    const std::size_t count = std::min<std::size_t>(kFramesPerChunk, frames - first);
    float** planes = vorbis_analysis_buffer(&e.dsp, static_cast<int>(count));
    for (std::size_t f = 0; f < count; ++f) {
      for (int c = 0; c < channels; ++c) planes[c][f] = samples[(first + f) * channels + c];
    }
    vorbis_analysis_wrote(&e.dsp, static_cast<int>(count));
    Drain(e, out);
  }
  vorbis_analysis_wrote(&e.dsp, 0);  // end of stream
  Drain(e, out);
  ogg_page page;
  while (ogg_stream_flush(&e.stream, &page) != 0) AppendPage(out, page);
  return out;
}

bool WriteOggVorbis(const std::string& path, std::span<const float> samples, const OggSettings& settings) {
  const std::vector<std::uint8_t> bytes = EncodeOggVorbis(samples, settings);
  return !bytes.empty() && WriteBytes(path, bytes);
}

}  // namespace tools
