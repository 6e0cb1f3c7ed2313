#include "platform/d3dx9/BmpWriter.h"

namespace platform {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(std::uint8_t(value));
  out.push_back(std::uint8_t(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(std::uint32_t width, std::uint32_t height, std::span<const Rgba8> pixels) {
  const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * height;
  const std::uint32_t offset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;
  std::vector<std::uint8_t> out;
  out.reserve(offset + imageBytes);
  // File header: "BM", file size, two reserved words, offset of the pixels.
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageBytes);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, offset);
  // Info header: a positive height stores the bottom row first.
  Put32(out, kBmpInfoHeaderBytes);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);    // planes
  Put16(out, 24);   // bits per pixel
  Put32(out, 0);    // no compression
  Put32(out, imageBytes);
  Put32(out, 2835);  // 72 dots per inch, as pixels per metre
  Put32(out, 2835);
  Put32(out, 0);  // no palette
  Put32(out, 0);
  for (std::uint32_t row = height; row-- > 0;) {
    const std::size_t start = out.size();
    for (std::uint32_t x = 0; x < width; ++x) {
      const Rgba8& p = pixels[std::size_t(row) * width + x];
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

}  // namespace platform
