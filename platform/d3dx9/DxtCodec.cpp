#include "platform/d3dx9/DxtCodec.h"

#include <squish.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {
namespace {

static_assert(sizeof(Rgba8) == 4, "libsquish reads and writes 4-byte R, G, B, A pixels");

// The fast encoder: endpoints along the colours' principal axis (found by power
// iteration from the channel that varies most), refined twice by least squares.

struct Vec3 {
  float r = 0, g = 0, b = 0;
};

void Store16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

Rgba8 From565(std::uint32_t c) {
  const std::uint32_t r = c >> 11, g = (c >> 5) & 63, b = c & 31;
  return {static_cast<std::uint8_t>((r << 3) | (r >> 2)), static_cast<std::uint8_t>((g << 2) | (g >> 4)),
          static_cast<std::uint8_t>((b << 3) | (b >> 2)), 255};
}

std::uint16_t To565(const Vec3& c) {
  auto q = [](float v, int top) {
    const float clamped = std::clamp(v, 0.0f, 255.0f);
    return static_cast<std::uint32_t>(std::lround(clamped * top / 255.0f));
  };
  return static_cast<std::uint16_t>((q(c.r, 31) << 11) | (q(c.g, 63) << 5) | q(c.b, 31));
}

std::uint8_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t wa, std::uint32_t wb) {
  return static_cast<std::uint8_t>((a * wa + b * wb + (wa + wb) / 2) / (wa + wb));
}

/// The four colours a colour block selects from (as the encoder weighs its choices).
std::array<Rgba8, 4> Palette(std::uint16_t c0, std::uint16_t c1, bool fourColour) {
  const Rgba8 a = From565(c0), b = From565(c1);
  std::array<Rgba8, 4> p{a, b, {}, {}};
  if (fourColour) {
    p[2] = {Mix(a.r, b.r, 2, 1), Mix(a.g, b.g, 2, 1), Mix(a.b, b.b, 2, 1), 255};
    p[3] = {Mix(a.r, b.r, 1, 2), Mix(a.g, b.g, 1, 2), Mix(a.b, b.b, 1, 2), 255};
  } else {
    p[2] = {Mix(a.r, b.r, 1, 1), Mix(a.g, b.g, 1, 1), Mix(a.b, b.b, 1, 1), 255};
    p[3] = {0, 0, 0, 0};
  }
  return p;
}

std::array<std::uint8_t, 8> AlphaPalette(std::uint8_t a0, std::uint8_t a1) {
  std::array<std::uint8_t, 8> p{a0, a1};
  if (a0 > a1) {
    for (std::uint32_t i = 1; i < 7; ++i) p[i + 1] = Mix(a0, a1, 7 - i, i);
  } else {
    for (std::uint32_t i = 1; i < 5; ++i) p[i + 1] = Mix(a0, a1, 5 - i, i);
    p[6] = 0;
    p[7] = 255;
  }
  return p;
}

int ColourDistance(const Rgba8& a, const Rgba8& b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

/// The principal axis of the colours (power iteration on their covariance).
Vec3 PrincipalAxis(const std::vector<Rgba8>& px, const Vec3& mean) {
  float c[6] = {};  // rr rg rb gg gb bb
  for (const Rgba8& p : px) {
    const float r = p.r - mean.r, g = p.g - mean.g, b = p.b - mean.b;
    c[0] += r * r, c[1] += r * g, c[2] += r * b, c[3] += g * g, c[4] += g * b, c[5] += b * b;
  }
  // Start from the covariance column of the channel that varies most: never
  // orthogonal to the principal axis (a fixed start like (1,1,1) is, for colours
  // running against each other).
  Vec3 v{c[0], c[1], c[2]};
  if (c[3] > c[0] && c[3] >= c[5]) v = {c[1], c[3], c[4]};
  else if (c[5] > c[0] && c[5] > c[3]) v = {c[2], c[4], c[5]};
  if (std::fabs(v.r) + std::fabs(v.g) + std::fabs(v.b) < 1e-6f) v = {1, 1, 1};
  for (int it = 0; it < 8; ++it) {
    const Vec3 n{c[0] * v.r + c[1] * v.g + c[2] * v.b, c[1] * v.r + c[3] * v.g + c[4] * v.b,
                 c[2] * v.r + c[4] * v.g + c[5] * v.b};
    const float len = std::max({std::fabs(n.r), std::fabs(n.g), std::fabs(n.b)});
    if (len < 1e-6f) break;
    v = {n.r / len, n.g / len, n.b / len};
  }
  return v;
}

struct ColourFit {
  std::uint16_t c0 = 0, c1 = 0;
  std::uint32_t indices = 0;
  long error = std::numeric_limits<long>::max();
};

/// Indices and total error of a pair of endpoints for the pixels of a block.
ColourFit Evaluate(const Block16& px, const std::array<bool, 16>& transparent, std::uint16_t c0,
                   std::uint16_t c1, bool fourColour) {
  const auto pal = Palette(c0, c1, fourColour);
  ColourFit fit{c0, c1, 0, 0};
  const int usable = fourColour ? 4 : 3;
  for (int i = 0; i < 16; ++i) {
    int best = 3, bestDist = 0;
    if (!transparent[i]) {
      bestDist = std::numeric_limits<int>::max();
      for (int k = 0; k < usable; ++k) {
        const int d = ColourDistance(px[i], pal[k]);
        if (d < bestDist) best = k, bestDist = d;
      }
    }
    fit.indices |= static_cast<std::uint32_t>(best) << (2 * i);
    fit.error += bestDist;
  }
  return fit;
}

/// Endpoints by least squares for fixed indices; false when the system is singular.
bool Refit(const Block16& px, const std::array<bool, 16>& transparent, std::uint32_t indices, bool fourColour,
           Vec3& e0, Vec3& e1) {
  static constexpr float kW4[4] = {1.0f, 0.0f, 2.0f / 3, 1.0f / 3};
  static constexpr float kW3[4] = {1.0f, 0.0f, 0.5f, 0.0f};
  float aa = 0, ab = 0, bb = 0;
  Vec3 ax, bx;
  for (int i = 0; i < 16; ++i) {
    if (transparent[i]) continue;
    const std::uint32_t k = (indices >> (2 * i)) & 3;
    const float w = fourColour ? kW4[k] : kW3[k], u = 1 - w;
    aa += w * w, ab += w * u, bb += u * u;
    ax.r += w * px[i].r, ax.g += w * px[i].g, ax.b += w * px[i].b;
    bx.r += u * px[i].r, bx.g += u * px[i].g, bx.b += u * px[i].b;
  }
  const float det = aa * bb - ab * ab;
  if (std::fabs(det) < 1e-6f) return false;
  const float f = 1.0f / det;
  e0 = {(ax.r * bb - bx.r * ab) * f, (ax.g * bb - bx.g * ab) * f, (ax.b * bb - bx.b * ab) * f};
  e1 = {(bx.r * aa - ax.r * ab) * f, (bx.g * aa - ax.g * ab) * f, (bx.b * aa - ax.b * ab) * f};
  return true;
}

/// Puts the endpoints in the order the mode needs (c0 > c1 for four colours, c0 <= c1
/// for three) and remaps the indices to match.
ColourFit Order(ColourFit fit, bool fourColour) {
  const bool swap = fourColour ? fit.c0 < fit.c1 : fit.c0 > fit.c1;
  if (fourColour && fit.c0 == fit.c1) {
    fit.indices = 0;  // equal endpoints read as three colours: use only the first
    return fit;
  }
  if (!swap) return fit;
  std::swap(fit.c0, fit.c1);
  std::uint32_t out = 0;
  for (int i = 0; i < 16; ++i) {
    std::uint32_t k = (fit.indices >> (2 * i)) & 3;
    if (fourColour) k ^= 1;               // 0<->1, 2<->3
    else if (k < 2) k ^= 1;               // 0<->1; the middle and transparent stay
    out |= k << (2 * i);
  }
  fit.indices = out;
  return fit;
}

ColourFit FitColours(const Block16& px, const std::array<bool, 16>& transparent, bool fourColour) {
  std::vector<Rgba8> opaque;
  for (int i = 0; i < 16; ++i)
    if (!transparent[i]) opaque.push_back(px[i]);
  if (opaque.empty()) return Evaluate(px, transparent, 0, 0, fourColour);
  Vec3 mean;
  for (const Rgba8& p : opaque) mean.r += p.r, mean.g += p.g, mean.b += p.b;
  const float n = static_cast<float>(opaque.size());
  mean = {mean.r / n, mean.g / n, mean.b / n};
  const Vec3 axis = PrincipalAxis(opaque, mean);
  float lo = std::numeric_limits<float>::max(), hi = -lo;
  for (const Rgba8& p : opaque) {
    const float t = (p.r - mean.r) * axis.r + (p.g - mean.g) * axis.g + (p.b - mean.b) * axis.b;
    lo = std::min(lo, t), hi = std::max(hi, t);
  }
  const float len2 = axis.r * axis.r + axis.g * axis.g + axis.b * axis.b;
  auto at = [&](float t) {
    const float s = len2 > 0 ? t / len2 : 0;
    return Vec3{mean.r + axis.r * s, mean.g + axis.g * s, mean.b + axis.b * s};
  };
  ColourFit best = Evaluate(px, transparent, To565(at(hi)), To565(at(lo)), fourColour);
  for (int pass = 0; pass < 2; ++pass) {
    Vec3 e0, e1;
    if (!Refit(px, transparent, best.indices, fourColour, e0, e1)) break;
    const ColourFit next = Evaluate(px, transparent, To565(e0), To565(e1), fourColour);
    if (next.error >= best.error) break;
    best = next;
  }
  return Order(best, fourColour);
}

void EncodeColour(const Block16& px, bool dxt1, std::uint8_t* block) {
  std::array<bool, 16> transparent{};
  bool anyTransparent = false;
  for (int i = 0; i < 16; ++i) {
    transparent[i] = dxt1 && px[i].a < 128;
    anyTransparent |= transparent[i];
  }
  const ColourFit fit = FitColours(px, transparent, !anyTransparent);
  Store16(block, fit.c0);
  Store16(block + 2, fit.c1);
  for (int i = 0; i < 4; ++i) block[4 + i] = static_cast<std::uint8_t>(fit.indices >> (8 * i));
}

void EncodeExplicitAlpha(const Block16& px, std::uint8_t* block) {
  for (int i = 0; i < 8; ++i) {
    const std::uint32_t lo = (px[2 * i].a * 15u + 127) / 255, hi = (px[2 * i + 1].a * 15u + 127) / 255;
    block[i] = static_cast<std::uint8_t>(lo | (hi << 4));
  }
}

/// Indices and error of an alpha palette for the pixels.
long AlphaIndices(const Block16& px, const std::array<std::uint8_t, 8>& pal, std::uint64_t& bits) {
  long error = 0;
  bits = 0;
  for (int i = 0; i < 16; ++i) {
    int best = 0, bestDist = 1 << 20;
    for (int k = 0; k < 8; ++k) {
      const int d = std::abs(px[i].a - pal[k]);
      if (d < bestDist) best = k, bestDist = d;
    }
    bits |= static_cast<std::uint64_t>(best) << (3 * i);
    error += bestDist * bestDist;
  }
  return error;
}

void EncodeInterpolatedAlpha(const Block16& px, std::uint8_t* block) {
  // Eight-value mode over the full range, and six-value mode over the values
  // between 0 and 255 (which that mode has exactly): keep the closer one.
  std::uint8_t lo = 255, hi = 0, lo6 = 255, hi6 = 0;
  for (const Rgba8& p : px) {
    lo = std::min(lo, p.a), hi = std::max(hi, p.a);
    if (p.a != 0 && p.a != 255) lo6 = std::min(lo6, p.a), hi6 = std::max(hi6, p.a);
  }
  if (lo6 > hi6) lo6 = hi6 = lo;
  std::uint64_t bits8 = 0, bits6 = 0;
  const std::uint8_t a0 = hi, a1 = hi > lo ? lo : hi;  // equal values: any mode reads a0
  const long err8 = AlphaIndices(px, AlphaPalette(a0, a1), bits8);
  const long err6 = AlphaIndices(px, AlphaPalette(lo6, hi6), bits6);
  const bool six = err6 < err8;
  block[0] = six ? lo6 : a0;
  block[1] = six ? hi6 : a1;
  const std::uint64_t bits = six ? bits6 : bits8;
  for (int i = 0; i < 6; ++i) block[2 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void EncodeFast(PixelFormat format, const Block16& pixels, std::uint8_t* block) {
  switch (format) {
    case PixelFormat::Dxt1:
      EncodeColour(pixels, true, block);
      break;
    case PixelFormat::Dxt2:
    case PixelFormat::Dxt3:
      EncodeExplicitAlpha(pixels, block);
      EncodeColour(pixels, false, block + 8);
      break;
    case PixelFormat::Dxt4:
    case PixelFormat::Dxt5:
      EncodeInterpolatedAlpha(pixels, block);
      EncodeColour(pixels, false, block + 8);
      break;
    default:
      break;
  }
}

/// libsquish's format flag; 0 for formats it does not hold. DXT2 and DXT4 are laid out
/// as DXT3 and DXT5 (their colours premultiplied by alpha).
int SquishFormat(PixelFormat format) {
  switch (format) {
    case PixelFormat::Dxt1: return squish::kDxt1;
    case PixelFormat::Dxt2:
    case PixelFormat::Dxt3: return squish::kDxt3;
    case PixelFormat::Dxt4:
    case PixelFormat::Dxt5: return squish::kDxt5;
    default: return 0;
  }
}

squish::u8* SquishPixels(Rgba8* pixels) { return reinterpret_cast<squish::u8*>(pixels); }
const squish::u8* SquishPixels(const Rgba8* pixels) { return reinterpret_cast<const squish::u8*>(pixels); }

}  // namespace

void DecodeDxtBlock(PixelFormat format, const std::uint8_t* block, Block16& out) {
  out.fill(Rgba8{});
  if (const int flags = SquishFormat(format)) squish::Decompress(SquishPixels(out.data()), block, flags);
}

void EncodeDxtBlock(PixelFormat format, const Block16& pixels, std::uint8_t* block, DxtQuality quality) {
  if (!SquishFormat(format)) return;
  if (quality == DxtQuality::Fast) {
    EncodeFast(format, pixels, block);
  } else {
    squish::Compress(SquishPixels(pixels.data()), block, SquishFormat(format) | squish::kColourClusterFit);
  }
}

void DecodeDxt(PixelFormat format, std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height,
               std::span<Rgba8> out) {
  const int flags = SquishFormat(format);
  const std::uint32_t blockBytes = BlockBytes(format);
  // Sizes are checked here: the library trusts them.
  if (!flags || width == 0 || height == 0 || data.size() < SurfaceBytes(format, width, height) ||
      out.size() < std::size_t{width} * height) {
    return;
  }
  // Block by block: the library's whole-image calls run on OpenMP threads.
  const std::uint32_t bw = (width + 3) / 4, bh = (height + 3) / 4;
  Block16 px;
  for (std::uint32_t by = 0; by < bh; ++by) {
    for (std::uint32_t bx = 0; bx < bw; ++bx) {
      squish::Decompress(SquishPixels(px.data()), data.data() + (std::size_t{by} * bw + bx) * blockBytes, flags);
      for (std::uint32_t y = 0; y < 4 && by * 4 + y < height; ++y) {
        const std::uint32_t columns = std::min(4u, width - bx * 4);
        std::copy_n(&px[y * 4], columns, &out[std::size_t{by * 4 + y} * width + bx * 4]);
      }
    }
  }
}

std::vector<Rgba8> DecodeDxt(PixelFormat format, std::span<const std::uint8_t> data, std::uint32_t width,
                             std::uint32_t height) {
  std::vector<Rgba8> out(std::size_t{width} * height, Rgba8{0, 0, 0, 255});
  DecodeDxt(format, data, width, height, out);
  return out;
}

std::vector<std::uint8_t> EncodeDxt(PixelFormat format, std::span<const Rgba8> pixels, std::uint32_t width,
                                    std::uint32_t height, DxtQuality quality) {
  std::vector<std::uint8_t> out(SurfaceBytes(format, width, height));
  const std::uint32_t blockBytes = BlockBytes(format);
  if (blockBytes == 0 || width == 0 || height == 0 || pixels.size() < std::size_t{width} * height) return out;
  // Block by block (the library's whole-image calls run on OpenMP threads). Partial
  // blocks at the right and bottom repeat the nearest edge pixel; the library's fit
  // leaves those out by the mask.
  const std::uint32_t bw = (width + 3) / 4, bh = (height + 3) / 4;
  Block16 px;
  for (std::uint32_t by = 0; by < bh; ++by) {
    for (std::uint32_t bx = 0; bx < bw; ++bx) {
      int mask = 0;
      for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) {
          const std::uint32_t sx = std::min(bx * 4 + x, width - 1), sy = std::min(by * 4 + y, height - 1);
          px[y * 4 + x] = pixels[std::size_t{sy} * width + sx];
          if (bx * 4 + x < width && by * 4 + y < height) mask |= 1 << (y * 4 + x);
        }
      std::uint8_t* block = out.data() + (std::size_t{by} * bw + bx) * blockBytes;
      if (quality == DxtQuality::Fast) {
        EncodeFast(format, px, block);
      } else {
        squish::CompressMasked(SquishPixels(px.data()), mask, block, SquishFormat(format) | squish::kColourClusterFit);
      }
    }
  }
  return out;
}

}  // namespace platform
