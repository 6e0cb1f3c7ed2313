#include "platform/d3d9/Formats.h"

#include <algorithm>

namespace platform::d3d9 {

FormatInfo DescribeFormat(D3DFORMAT format) {
  FormatInfo info;
  info.known = true;
  switch (format) {
    case D3DFMT_R8G8B8: info.bytesPerPixel = 3; break;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
    case D3DFMT_X8B8G8R8: info.bytesPerPixel = 4; break;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A8L8: info.bytesPerPixel = 2; break;
    case D3DFMT_A8:
    case D3DFMT_L8: info.bytesPerPixel = 1; break;
    case D3DFMT_DXT1:
      info.compressed = true;
      info.blockBytes = 8;
      break;
    case D3DFMT_DXT2:
    case D3DFMT_DXT3:
    case D3DFMT_DXT4:
    case D3DFMT_DXT5:
      info.compressed = true;
      info.blockBytes = 16;
      break;
    case D3DFMT_D24S8:
      info.depth = true;
      info.bytesPerPixel = 4;
      info.stencilBits = 8;
      break;
    case D3DFMT_D24X8:
    case D3DFMT_D32:
      info.depth = true;
      info.bytesPerPixel = 4;
      break;
    case D3DFMT_D15S1:
      info.depth = true;
      info.bytesPerPixel = 2;
      info.stencilBits = 1;
      break;
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE:
      info.depth = true;
      info.bytesPerPixel = 2;
      break;
    case D3DFMT_INDEX16:
      info.index = true;
      info.bytesPerPixel = 2;
      break;
    case D3DFMT_INDEX32:
      info.index = true;
      info.bytesPerPixel = 4;
      break;
    default: info.known = false; break;
  }
  return info;
}

bool IsColorFormat(D3DFORMAT format) {
  const FormatInfo info = DescribeFormat(format);
  return info.known && !info.depth && !info.index;
}

UINT RowPitch(D3DFORMAT format, UINT width) {
  const FormatInfo info = DescribeFormat(format);
  if (info.compressed) return std::max(1u, (width + 3) / 4) * info.blockBytes;
  return width * info.bytesPerPixel;
}

UINT RowCount(D3DFORMAT format, UINT height) {
  return DescribeFormat(format).compressed ? std::max(1u, (height + 3) / 4) : height;
}

UINT ImageBytes(D3DFORMAT format, UINT width, UINT height) {
  return RowPitch(format, width) * RowCount(format, height);
}

UINT FullChainLevels(UINT width, UINT height, UINT depth) {
  UINT largest = std::max({width, height, depth, 1u});
  UINT levels = 1;
  while (largest > 1) {
    largest >>= 1;
    ++levels;
  }
  return levels;
}

}  // namespace platform::d3d9
