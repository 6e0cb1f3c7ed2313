#include "platform/d3dx9/ImageOps.h"

#include "platform/d3dx9/DxtCodec.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr std::uint32_t kOne = 65536;  ///< a whole weight: weights are in 1/65536

/// The input cells each output cell covers along one axis, with their weights (the
/// share of the output cell each covers; a cell's weights add up to kOne exactly).
struct Axis {
  std::vector<std::uint32_t> first;  ///< per output cell, its first input cell
  std::vector<std::uint32_t> start;  ///< per output cell, where its weights begin (one more entry at the end)
  std::vector<std::uint32_t> weights;
};

Axis MakeAxis(std::uint32_t from, std::uint32_t to) {
  Axis axis;
  axis.first.resize(to);
  axis.start.resize(std::size_t{to} + 1);
  const double scale = static_cast<double>(from) / to;
  for (std::uint32_t i = 0; i < to; ++i) {
    const double lo = i * scale, hi = (i + 1) * scale;
    axis.start[i] = static_cast<std::uint32_t>(axis.weights.size());
    axis.first[i] = static_cast<std::uint32_t>(std::floor(lo));
    std::uint32_t sum = 0;
    std::size_t largest = axis.weights.size();
    for (std::uint32_t j = axis.first[i]; j < from && j < hi; ++j) {
      const double cover = std::min<double>(hi, j + 1) - std::max<double>(lo, j);
      if (cover <= 0) {
        if (axis.weights.size() == axis.start[i]) ++axis.first[i];
        continue;
      }
      const auto w = static_cast<std::uint32_t>(std::lround(cover / scale * kOne));
      if (largest == axis.weights.size() || w > axis.weights[largest]) largest = axis.weights.size();
      axis.weights.push_back(w);
      sum += w;
    }
    if (largest < axis.weights.size()) axis.weights[largest] += kOne - sum;  // rounding left over
  }
  axis.start[to] = static_cast<std::uint32_t>(axis.weights.size());
  return axis;
}

/// One row resampled across: four channels a cell, in 1/65536 of a level.
void ResampleRow(const Rgba8* in, const Axis& axis, std::vector<std::uint32_t>& out) {
  const std::size_t cells = axis.first.size();
  out.assign(cells * 4, 0);
  for (std::size_t i = 0; i < cells; ++i) {
    std::uint32_t r = 0, g = 0, b = 0, a = 0;
    const Rgba8* p = in + axis.first[i];
    for (std::uint32_t k = axis.start[i]; k < axis.start[i + 1]; ++k, ++p) {
      const std::uint32_t w = axis.weights[k];
      r += p->r * w, g += p->g * w, b += p->b * w, a += p->a * w;
    }
    std::uint32_t* o = &out[i * 4];
    o[0] = r, o[1] = g, o[2] = b, o[3] = a;
  }
}

std::uint8_t Level(std::uint64_t value, int shift) {
  return static_cast<std::uint8_t>(std::min<std::uint64_t>((value + (std::uint64_t{1} << (shift - 1))) >> shift, 255));
}

/// Halves both sides exactly (even sides): the mean of each 2 x 2 box, rounded.
void HalveSlice(const Rgba8* in, std::uint32_t w0, std::uint32_t w1, std::uint32_t h1, Rgba8* out) {
  for (std::uint32_t y = 0; y < h1; ++y) {
    const Rgba8* top = in + std::size_t{2 * y} * w0;
    const Rgba8* bottom = top + w0;
    Rgba8* o = out + std::size_t{y} * w1;
    for (std::uint32_t x = 0; x < w1; ++x) {
      const Rgba8 a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x], d = bottom[2 * x + 1];
      o[x] = {static_cast<std::uint8_t>((a.r + b.r + c.r + d.r + 2) >> 2),
              static_cast<std::uint8_t>((a.g + b.g + c.g + d.g + 2) >> 2),
              static_cast<std::uint8_t>((a.b + b.b + c.b + d.b + 2) >> 2),
              static_cast<std::uint8_t>((a.a + b.a + c.a + d.a + 2) >> 2)};
    }
  }
}

/// Resamples one slice, row by row: each output row is the weighted sum of the input
/// rows it covers, each of them resampled across first. `emit` takes each output row
/// as four 64-bit sums a cell in 1/2^32 of a level. Only a few rows are held at once.
template <typename Emit>
void ResampleSlice(const Rgba8* in, std::uint32_t w0, std::uint32_t h0, const Axis& across, const Axis& down,
                   Emit emit) {
  const std::size_t cells = across.first.size() * 4;
  std::vector<std::uint32_t> row;
  std::vector<std::uint64_t> sum(cells);
  std::uint32_t rowIndex = h0;  // the input row `row` holds (none yet)
  for (std::uint32_t y = 0; y + 1 < down.start.size(); ++y) {
    std::fill(sum.begin(), sum.end(), 0);
    for (std::uint32_t k = down.start[y]; k < down.start[y + 1]; ++k) {
      const std::uint32_t j = down.first[y] + (k - down.start[y]);
      if (j != rowIndex) ResampleRow(in + std::size_t{j} * w0, across, row), rowIndex = j;
      const std::uint64_t w = down.weights[k];
      for (std::size_t c = 0; c < cells; ++c) sum[c] += row[c] * w;
    }
    emit(y, sum);
  }
}

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
      DecodeDxt(format, {src, static_cast<std::size_t>(slice)}, width, height, {dst, std::size_t{width} * height});
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
  const std::uint32_t w0 = image.width, h0 = image.height, d0 = image.depth;
  RgbaImage out{width, height, depth, std::vector<Rgba8>(std::size_t{width} * height * depth)};
  if (image.pixels.size() < std::size_t{w0} * h0 * d0) return out;
  const std::size_t inSlice = std::size_t{w0} * h0, outSlice = std::size_t{width} * height;
  const bool halving = w0 == 2 * width && h0 == 2 * height;
  const Axis across = MakeAxis(w0, width), down = MakeAxis(h0, height);
  if (depth == d0) {
    for (std::uint32_t z = 0; z < depth; ++z) {
      const Rgba8* in = image.pixels.data() + inSlice * z;
      Rgba8* o = out.pixels.data() + outSlice * z;
      if (halving) {
        HalveSlice(in, w0, width, height, o);
        continue;
      }
      ResampleSlice(in, w0, h0, across, down, [&](std::uint32_t y, const std::vector<std::uint64_t>& sum) {
        for (std::uint32_t x = 0; x < width; ++x) {
          const std::uint64_t* s = &sum[std::size_t{x} * 4];
          o[std::size_t{y} * width + x] = {Level(s[0], 32), Level(s[1], 32), Level(s[2], 32), Level(s[3], 32)};
        }
      });
    }
    return out;
  }
  // Volumes that change depth: each output slice sums the input slices it covers, each
  // resampled to the new width and height in 1/256 of a level.
  const Axis through = MakeAxis(d0, depth);
  std::vector<std::uint32_t> slice(outSlice * 4);
  std::vector<std::uint64_t> sum(outSlice * 4);
  for (std::uint32_t z = 0; z < depth; ++z) {
    std::fill(sum.begin(), sum.end(), 0);
    for (std::uint32_t k = through.start[z]; k < through.start[z + 1]; ++k) {
      const std::uint32_t j = through.first[z] + (k - through.start[z]);
      ResampleSlice(image.pixels.data() + inSlice * j, w0, h0, across, down,
                    [&](std::uint32_t y, const std::vector<std::uint64_t>& row) {
                      for (std::size_t c = 0; c < row.size(); ++c) {
                        slice[std::size_t{y} * width * 4 + c] = static_cast<std::uint32_t>((row[c] + (1u << 23)) >> 24);
                      }
                    });
      for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += std::uint64_t{slice[c]} * through.weights[k];
    }
    Rgba8* o = out.pixels.data() + outSlice * z;
    for (std::size_t i = 0; i < outSlice; ++i) {
      const std::uint64_t* s = &sum[i * 4];
      o[i] = {Level(s[0], 24), Level(s[1], 24), Level(s[2], 24), Level(s[3], 24)};
    }
  }
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
