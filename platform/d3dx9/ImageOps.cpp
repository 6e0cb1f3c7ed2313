#include "platform/d3dx9/ImageOps.h"

#include "platform/d3dx9/DxtCodec.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {
namespace {

using Texel = std::array<float, 4>;

/// The weights of the source cells that one target cell covers along one axis.
struct Span {
  std::uint32_t first = 0;
  std::vector<float> weights;  ///< sum to 1
};

std::vector<Span> AxisSpans(std::uint32_t from, std::uint32_t to) {
  std::vector<Span> spans(to);
  const double scale = static_cast<double>(from) / to;
  for (std::uint32_t i = 0; i < to; ++i) {
    const double lo = i * scale, hi = (i + 1) * scale;
    Span& s = spans[i];
    s.first = static_cast<std::uint32_t>(std::floor(lo));
    for (std::uint32_t j = s.first; j < from && j < hi; ++j) {
      const double cover = std::min<double>(hi, j + 1) - std::max<double>(lo, j);
      if (cover > 0) s.weights.push_back(static_cast<float>(cover / scale));
      else if (s.weights.empty()) ++s.first;
    }
  }
  return spans;
}

/// Resamples along one axis: `count` cells `stride` texels apart, in `lines` lines whose
/// starts are given by `lineStart`.
template <typename LineStart>
std::vector<Texel> ResampleAxis(const std::vector<Texel>& in, std::uint32_t from, std::uint32_t to,
                                std::size_t stride, std::size_t lines, std::size_t outSize, LineStart lineStart) {
  std::vector<Texel> out(outSize);
  const std::vector<Span> spans = AxisSpans(from, to);
  for (std::size_t line = 0; line < lines; ++line) {
    const auto [inBase, outBase] = lineStart(line);
    for (std::uint32_t i = 0; i < to; ++i) {
      Texel sum{};
      const Span& s = spans[i];
      for (std::size_t k = 0; k < s.weights.size(); ++k) {
        const Texel& t = in[inBase + (s.first + k) * stride];
        for (int c = 0; c < 4; ++c) sum[c] += t[c] * s.weights[k];
      }
      out[outBase + i * stride] = sum;
    }
  }
  return out;
}

std::uint8_t ToByte(float v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

RgbaImage DecodeLevel(PixelFormat format, std::span<const std::uint8_t> bytes, std::uint32_t width,
                      std::uint32_t height, std::uint32_t depth) {
  RgbaImage img{width, height, depth, {}};
  img.pixels.resize(std::size_t{width} * height * depth);
  const std::uint64_t slice = SurfaceBytes(format, width, height);
  if (bytes.size() < slice * depth) return img;
  for (std::uint32_t z = 0; z < depth; ++z) {
    const std::uint8_t* src = bytes.data() + slice * z;
    Rgba8* dst = img.pixels.data() + std::size_t{width} * height * z;
    if (IsBlockCompressed(format)) {
      const auto decoded = DecodeDxt(format, {src, static_cast<std::size_t>(slice)}, width, height);
      std::copy(decoded.begin(), decoded.end(), dst);
      continue;
    }
    const std::uint64_t pitch = RowPitch(format, width);
    for (std::uint32_t y = 0; y < height; ++y) UnpackRow(format, src + pitch * y, {dst + std::size_t{width} * y, width});
  }
  return img;
}

std::vector<std::uint8_t> EncodeLevel(PixelFormat format, const RgbaImage& image) {
  const std::uint64_t slice = SurfaceBytes(format, image.width, image.height);
  std::vector<std::uint8_t> out(slice * image.depth);
  const std::size_t slicePixels = std::size_t{image.width} * image.height;
  for (std::uint32_t z = 0; z < image.depth; ++z) {
    const std::span<const Rgba8> src(image.pixels.data() + slicePixels * z, slicePixels);
    if (IsBlockCompressed(format)) {
      const auto blocks = EncodeDxt(format, src, image.width, image.height);
      std::copy(blocks.begin(), blocks.end(), out.begin() + slice * z);
      continue;
    }
    const std::uint64_t pitch = RowPitch(format, image.width);
    for (std::uint32_t y = 0; y < image.height; ++y)
      PackRow(format, src.subspan(std::size_t{image.width} * y, image.width), out.data() + slice * z + pitch * y);
  }
  return out;
}

RgbaImage Resample(const RgbaImage& image, std::uint32_t width, std::uint32_t height, std::uint32_t depth) {
  width = std::max(1u, width), height = std::max(1u, height), depth = std::max(1u, depth);
  if (width == image.width && height == image.height && depth == image.depth) return image;
  std::vector<Texel> a(image.pixels.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Rgba8& p = image.pixels[i];
    a[i] = {float(p.r), float(p.g), float(p.b), float(p.a)};
  }
  const std::uint32_t w0 = image.width, h0 = image.height, d0 = image.depth;
  // x, then y, then z; each pass changes one side of the box.
  a = ResampleAxis(a, w0, width, 1, std::size_t{h0} * d0, std::size_t{width} * h0 * d0,
                   [&](std::size_t line) { return std::pair{line * w0, line * width}; });
  a = ResampleAxis(a, h0, height, width, std::size_t{width} * d0, std::size_t{width} * height * d0,
                   [&](std::size_t line) {
                     const std::size_t x = line % width, z = line / width;
                     return std::pair{z * width * h0 + x, z * width * height + x};
                   });
  const std::size_t plane = std::size_t{width} * height;
  a = ResampleAxis(a, d0, depth, plane, plane, plane * depth,
                   [](std::size_t line) { return std::pair{line, line}; });
  RgbaImage out{width, height, depth, std::vector<Rgba8>(a.size())};
  for (std::size_t i = 0; i < a.size(); ++i) out.pixels[i] = {ToByte(a[i][0]), ToByte(a[i][1]), ToByte(a[i][2]), ToByte(a[i][3])};
  return out;
}

RgbaImage NextMipLevel(const RgbaImage& image) {
  return Resample(image, std::max(1u, image.width / 2), std::max(1u, image.height / 2), std::max(1u, image.depth / 2));
}

std::vector<std::uint8_t> ConvertLevel(PixelFormat from, std::span<const std::uint8_t> bytes, PixelFormat to,
                                       std::uint32_t width, std::uint32_t height, std::uint32_t depth) {
  if (from == to) return {bytes.begin(), bytes.end()};
  return EncodeLevel(to, DecodeLevel(from, bytes, width, height, depth));
}

}  // namespace platform
