#include "platform/d3dx9/Textures.h"

#include "platform/d3dx9/DdsImage.h"
#include "platform/d3dx9/ImageOps.h"
#include "platform/d3dx9/TextureBuilder.h"
#include "platform/win32/Debug.h"
#include "platform/win32/Files.h"
#include "platform/win32/Resources.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <string>

namespace {

using platform::DdsImage;
using platform::ImageKind;
using platform::PixelFormat;
using platform::TextureShape;

/// Reports an unsupported request once per text.
void ReportOnce(const std::string& text) {
  static std::set<std::string> reported;
  if (reported.insert(text).second) OutputDebugStringA(("D3DX: " + text + "\n").c_str());
}

std::optional<DdsImage> Parse(std::string bytes, const std::string& source) {
  std::string error;
  auto image = platform::ParseDds(std::move(bytes), error);
  if (!image) OutputDebugStringA(("D3DX: " + source + ": " + error + "\n").c_str());
  return image;
}

std::optional<DdsImage> LoadFile(LPCSTR file) {
  std::string text;
  if (!file || !platform::ReadWholeFile(file, text)) return std::nullopt;
  return Parse(std::move(text), file);
}

bool IsIntResource(LPCSTR name) { return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0; }

std::optional<DdsImage> LoadResource(LPCSTR resource) {
  if (!IsIntResource(resource)) {
    ReportOnce("resources named by text are not supported");
    return std::nullopt;
  }
  const auto id = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(resource));
  const auto bytes = platform::FindResourceBytes(kResourceTypeRcData, id);
  if (bytes.empty()) return std::nullopt;
  return Parse(std::string(bytes.begin(), bytes.end()), "resource " + std::to_string(id));
}

D3DRESOURCETYPE ResourceTypeOf(ImageKind kind) {
  switch (kind) {
    case ImageKind::Cube: return D3DRTYPE_CUBETEXTURE;
    case ImageKind::Volume: return D3DRTYPE_VOLUMETEXTURE;
    default: return D3DRTYPE_TEXTURE;
  }
}

void FillInfo(const DdsImage& image, D3DXIMAGE_INFO* info) {
  if (!info) return;
  info->Width = image.width;
  info->Height = image.height;
  info->Depth = image.depth;
  info->MipLevels = image.levels;
  info->Format = static_cast<D3DFORMAT>(image.format);
  info->ResourceType = ResourceTypeOf(image.kind);
  info->ImageFileFormat = D3DXIFF_DDS;
}

UINT OrFile(UINT asked, std::uint32_t fromFile) { return asked == 0 || asked == D3DX_DEFAULT ? fromFile : asked; }

/// The shape asked for, with the file's values where the caller left them open.
std::optional<TextureShape> ShapeFor(const DdsImage& image, UINT width, UINT height, UINT depth, UINT levels,
                                     D3DFORMAT format) {
  TextureShape s;
  s.width = OrFile(width, image.width);
  s.height = OrFile(height, image.height);
  s.depth = OrFile(depth, image.depth);
  const std::uint32_t full = platform::FullMipCount(s.width, s.height, s.depth);
  s.levels = levels == 0 || levels == D3DX_DEFAULT ? full : std::min<std::uint32_t>(levels, full);
  s.format = format == D3DFMT_UNKNOWN || format == D3DFMT_FROM_FILE ? image.format : static_cast<PixelFormat>(format);
  if (!platform::IsSupportedFormat(s.format)) {
    ReportOnce("textures in " + platform::FormatName(s.format) + " are not supported");
    return std::nullopt;
  }
  return s;
}

void CheckUnsupported(D3DCOLOR colorKey, PALETTEENTRY* palette) {
  if (colorKey != 0) ReportOnce("colour keys are not supported (ignored)");
  if (palette) ReportOnce("palettes are not supported (ignored)");
}

/// Copies tightly packed rows into locked memory with its own pitch.
void CopyRows(std::span<const std::uint8_t> src, PixelFormat format, std::uint32_t width, std::uint32_t height,
              std::uint8_t* dst, INT pitch) {
  const std::size_t rowBytes = static_cast<std::size_t>(platform::RowPitch(format, width));
  const std::uint32_t rows = platform::RowCount(format, height);
  if (src.size() < rowBytes * rows) return;
  for (std::uint32_t r = 0; r < rows; ++r) std::memcpy(dst + std::ptrdiff_t{pitch} * r, src.data() + rowBytes * r, rowBytes);
}

// Levels are written whole: the locks discard, so the device reads nothing back. Each
// level goes to the texture as soon as it is made.

HRESULT Fill2D(IDirect3DTexture9* texture, const DdsImage& image, const TextureShape& shape) {
  HRESULT hr = D3D_OK;
  platform::ForEachFaceLevel(image, 0, shape, [&](std::uint32_t l, std::span<const std::uint8_t> bytes) {
    const TextureShape size = platform::LevelShape(shape, l);
    D3DLOCKED_RECT locked{};
    hr = texture->LockRect(l, &locked, nullptr, D3DLOCK_DISCARD);
    if (FAILED(hr)) return false;
    CopyRows(bytes, shape.format, size.width, size.height, static_cast<std::uint8_t*>(locked.pBits), locked.Pitch);
    texture->UnlockRect(l);
    return true;
  });
  return hr;
}

HRESULT FillCube(IDirect3DCubeTexture9* texture, const DdsImage& image, const TextureShape& shape) {
  HRESULT hr = D3D_OK;
  for (std::uint32_t face = 0; face < 6 && SUCCEEDED(hr); ++face) {
    const auto f = static_cast<D3DCUBEMAP_FACES>(face);
    platform::ForEachFaceLevel(image, face, shape, [&](std::uint32_t l, std::span<const std::uint8_t> bytes) {
      const TextureShape size = platform::LevelShape(shape, l);
      D3DLOCKED_RECT locked{};
      hr = texture->LockRect(f, l, &locked, nullptr, D3DLOCK_DISCARD);
      if (FAILED(hr)) return false;
      CopyRows(bytes, shape.format, size.width, size.height, static_cast<std::uint8_t*>(locked.pBits), locked.Pitch);
      texture->UnlockRect(f, l);
      return true;
    });
  }
  return hr;
}

HRESULT FillVolume(IDirect3DVolumeTexture9* texture, const DdsImage& image, const TextureShape& shape) {
  HRESULT hr = D3D_OK;
  platform::ForEachFaceLevel(image, 0, shape, [&](std::uint32_t l, std::span<const std::uint8_t> bytes) {
    const TextureShape size = platform::LevelShape(shape, l);
    D3DLOCKED_BOX locked{};
    hr = texture->LockBox(l, &locked, nullptr, D3DLOCK_DISCARD);
    if (FAILED(hr)) return false;
    const std::size_t slice = static_cast<std::size_t>(platform::SurfaceBytes(shape.format, size.width, size.height));
    for (std::uint32_t z = 0; z < size.depth && slice * (z + 1) <= bytes.size(); ++z) {
      CopyRows(bytes.subspan(slice * z, slice), shape.format, size.width, size.height,
               static_cast<std::uint8_t*>(locked.pBits) + std::ptrdiff_t{locked.SlicePitch} * z, locked.RowPitch);
    }
    texture->UnlockBox(l);
    return true;
  });
  return hr;
}

/// Loads the file and checks it holds the kind of texture asked for.
std::optional<DdsImage> LoadKind(LPCSTR file, ImageKind kind, D3DXIMAGE_INFO* srcInfo, HRESULT& hr) {
  auto image = LoadFile(file);
  hr = D3DXERR_INVALIDDATA;
  if (!image) return std::nullopt;
  FillInfo(*image, srcInfo);
  if (image->kind != kind) return std::nullopt;
  hr = D3D_OK;
  return image;
}

/// Creates the texture; when the device refuses a DXT format (no S3TC, or none for
/// volumes) the levels are decoded into A8R8G8B8 instead, as D3DX picks the nearest
/// format the device takes. `shape` then names the format used.
template <typename CreateFn>
HRESULT CreateInSupportedFormat(TextureShape& shape, CreateFn create) {
  HRESULT hr = create(shape);
  if (FAILED(hr) && platform::IsBlockCompressed(shape.format)) {
    ReportOnce("the device refused " + platform::FormatName(shape.format) + " textures: using A8R8G8B8");
    shape.format = PixelFormat::A8R8G8B8;
    hr = create(shape);
  }
  return hr;
}

/// Fills a new texture; on failure releases it and clears the caller's pointer.
template <typename Texture, typename FillFn>
HRESULT Finish(Texture*& made, Texture** out, HRESULT hr, FillFn fill) {
  if (SUCCEEDED(hr)) hr = fill(made);
  if (FAILED(hr)) {
    if (made) made->Release();
    made = nullptr;
  }
  *out = made;
  return hr;
}

}  // namespace

HRESULT D3DXGetImageInfoFromFileA(LPCSTR file, D3DXIMAGE_INFO* info) {
  const auto image = LoadFile(file);
  if (!image) return D3DXERR_INVALIDDATA;
  FillInfo(*image, info);
  return D3D_OK;
}

HRESULT D3DXGetImageInfoFromFileInMemory(const void* data, UINT size, D3DXIMAGE_INFO* info) {
  if (!data) return D3DERR_INVALIDCALL;
  const auto image = Parse(std::string(static_cast<const char*>(data), size), "image in memory");
  if (!image) return D3DXERR_INVALIDDATA;
  FillInfo(*image, info);
  return D3D_OK;
}

HRESULT D3DXGetImageInfoFromResourceA(HMODULE, LPCSTR resource, D3DXIMAGE_INFO* info) {
  const auto image = LoadResource(resource);
  if (!image) return D3DXERR_INVALIDDATA;
  FillInfo(*image, info);
  return D3D_OK;
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT width, UINT height, UINT mipLevels,
                                     DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD, DWORD, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette, IDirect3DTexture9** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  CheckUnsupported(colorKey, palette);
  HRESULT hr;
  const auto image = LoadKind(file, ImageKind::Texture2D, srcInfo, hr);
  if (!image) return hr;
  auto shape = ShapeFor(*image, width, height, 1, mipLevels, format);
  if (!shape) return D3DERR_INVALIDCALL;
  IDirect3DTexture9* made = nullptr;
  hr = CreateInSupportedFormat(*shape, [&](const TextureShape& s) {
    return device->CreateTexture(s.width, s.height, s.levels, usage, static_cast<D3DFORMAT>(s.format), pool, &made,
                                 nullptr);
  });
  return Finish(made, texture, hr, [&](IDirect3DTexture9* t) { return Fill2D(t, *image, *shape); });
}

HRESULT D3DXCreateCubeTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT size, UINT mipLevels,
                                         DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD, DWORD,
                                         D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                         IDirect3DCubeTexture9** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  CheckUnsupported(colorKey, palette);
  HRESULT hr;
  const auto image = LoadKind(file, ImageKind::Cube, srcInfo, hr);
  if (!image) return hr;
  auto shape = ShapeFor(*image, size, size, 1, mipLevels, format);
  if (!shape) return D3DERR_INVALIDCALL;
  IDirect3DCubeTexture9* made = nullptr;
  hr = CreateInSupportedFormat(*shape, [&](const TextureShape& s) {
    return device->CreateCubeTexture(s.width, s.levels, usage, static_cast<D3DFORMAT>(s.format), pool, &made, nullptr);
  });
  return Finish(made, texture, hr, [&](IDirect3DCubeTexture9* t) { return FillCube(t, *image, *shape); });
}

HRESULT D3DXCreateVolumeTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT width, UINT height,
                                           UINT depth, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           DWORD, DWORD, D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo,
                                           PALETTEENTRY* palette, IDirect3DVolumeTexture9** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  CheckUnsupported(colorKey, palette);
  HRESULT hr;
  const auto image = LoadKind(file, ImageKind::Volume, srcInfo, hr);
  if (!image) return hr;
  auto shape = ShapeFor(*image, width, height, depth, mipLevels, format);
  if (!shape) return D3DERR_INVALIDCALL;
  IDirect3DVolumeTexture9* made = nullptr;
  hr = CreateInSupportedFormat(*shape, [&](const TextureShape& s) {
    return device->CreateVolumeTexture(s.width, s.height, s.depth, s.levels, usage, static_cast<D3DFORMAT>(s.format),
                                       pool, &made, nullptr);
  });
  return Finish(made, texture, hr, [&](IDirect3DVolumeTexture9* t) { return FillVolume(t, *image, *shape); });
}

HRESULT D3DXLoadSurfaceFromResourceA(IDirect3DSurface9* dest, const PALETTEENTRY* destPalette, const RECT* destRect,
                                     HMODULE, LPCSTR resource, const RECT* srcRect, DWORD, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* srcInfo) {
  if (!dest) return D3DERR_INVALIDCALL;
  if (destPalette || destRect || srcRect) {
    ReportOnce("surface loads take whole pictures only");
    return D3DERR_INVALIDCALL;
  }
  CheckUnsupported(colorKey, nullptr);
  const auto image = LoadResource(resource);
  if (!image) return D3DXERR_INVALIDDATA;
  FillInfo(*image, srcInfo);
  D3DSURFACE_DESC desc{};
  HRESULT hr = dest->GetDesc(&desc);
  if (FAILED(hr)) return hr;
  const auto target = static_cast<PixelFormat>(desc.Format);
  if (!platform::IsSupportedFormat(target)) {
    ReportOnce("surfaces in " + platform::FormatName(target) + " are not supported");
    return D3DERR_INVALIDCALL;
  }
  const platform::DdsSurface& top = image->Surface(0, 0);
  const auto picture = platform::Resample(platform::DecodeLevel(image->format, image->Bytes(0, 0), top.width, top.height),
                                          desc.Width, desc.Height);
  const auto bytes = platform::EncodeLevel(target, picture);
  D3DLOCKED_RECT locked{};
  hr = dest->LockRect(&locked, nullptr, 0);
  if (FAILED(hr)) return hr;
  CopyRows(bytes, target, desc.Width, desc.Height, static_cast<std::uint8_t*>(locked.pBits), locked.Pitch);
  return dest->UnlockRect();
}
