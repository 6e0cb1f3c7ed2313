#pragma once
// Inside the layer: sizes and kinds of the Direct3D formats the layer stores.
#include "platform/d3d9/Constants.h"

namespace platform::d3d9 {

struct FormatInfo {
  bool known = false;
  bool compressed = false;  ///< DXT: 4x4 blocks of blockBytes
  bool depth = false;       ///< depth-stencil formats
  bool index = false;       ///< index-buffer formats
  UINT bytesPerPixel = 0;   ///< uncompressed formats
  UINT blockBytes = 0;      ///< compressed formats
  UINT stencilBits = 0;
};

FormatInfo DescribeFormat(D3DFORMAT format);
/// A colour format a texture, surface or render target can hold.
bool IsColorFormat(D3DFORMAT format);
/// Bytes from one row (of 4x4 blocks for DXT) to the next, rows tightly packed.
UINT RowPitch(D3DFORMAT format, UINT width);
/// Rows (or block rows for DXT) of an image of that height.
UINT RowCount(D3DFORMAT format, UINT height);
/// Bytes of one 2D image.
UINT ImageBytes(D3DFORMAT format, UINT width, UINT height);
/// The size of a mip level: max(1, size >> level).
constexpr UINT LevelSize(UINT size, UINT level) { return (size >> level) ? (size >> level) : 1; }
/// Levels of a full chain down to 1x1x1.
UINT FullChainLevels(UINT width, UINT height, UINT depth);

}  // namespace platform::d3d9
