#pragma once
// Inside the layer: the OpenGL device's resources. Textures and buffers live in GL: a
// lock gives them system memory for its length (read back from GL unless it discards)
// and the unlock uploads what a writing lock changed. Only dynamic ones, which are
// written often, keep their system-memory copy. Render targets are renderbuffers;
// vertex programs are GLSL programs.
#include "platform/d3d9/CpuBuffers.h"
#include "platform/d3d9/CpuTextures.h"
#include "platform/d3d9/gl/GlFormats.h"
#include "platform/d3d9/gl/GlImage.h"

#include <memory>
#include <string>

namespace platform::d3d9 {

/// What the device needs to know of a GL texture of any kind.
class GlTextureObject {
 public:
  virtual GLuint GlName() const = 0;
  virtual GLenum GlTarget() const = 0;
  virtual bool IsRenderTarget() const = 0;
  virtual UINT LevelTotal() const = 0;

 protected:
  ~GlTextureObject() = default;
};

/// Shared by the three texture kinds: the GL texture and its uploads.
class GlTextureData {
 public:
  GlTextureData(std::shared_ptr<GlContext> context, GLenum target, const GlFormat& format);
  ~GlTextureData();
  GlTextureData(const GlTextureData&) = delete;
  GlTextureData& operator=(const GlTextureData&) = delete;

  /// Allocates every level of every face from the storage (at creation).
  void Allocate(const TextureStorage& storage);
  /// Allocates (first time) or updates one level of one face from the storage (a level
  /// without bytes allocates GL storage with undefined contents).
  void Upload(const TextureStorage& storage, UINT face, UINT level, bool allocate);
  /// Reads one level of one face back into its bytes.
  void Read(UINT face, TextureStorage::Level& level, UINT levelIndex);
  GLuint Name() const { return m_name; }
  GLenum Target() const { return m_target; }

 private:
  std::shared_ptr<GlContext> m_context;
  GLenum m_target;
  GlFormat m_format;
  GLuint m_name = 0;
};

class GlTexture final : public CpuTexture, public GlTextureObject {
 public:
  GlTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT levels, DWORD usage,
            D3DFORMAT format, D3DPOOL pool, const GlFormat& glFormat);
  ~GlTexture() override;

  GLuint GlName() const override { return m_gl.Name(); }
  GLenum GlTarget() const override { return GL_TEXTURE_2D; }
  bool IsRenderTarget() const override { return (m_usage & D3DUSAGE_RENDERTARGET) != 0; }
  UINT LevelTotal() const override { return m_storage.LevelCount(); }

 protected:
  void OnLevelWritten(UINT face, UINT level) override { m_gl.Upload(m_storage, face, level, false); }
  void ReadLevel(UINT face, UINT level, TextureStorage::Level& image) override { m_gl.Read(face, image, level); }

 private:
  GlTextureData m_gl;
};

class GlCubeTexture final : public CpuCubeTexture, public GlTextureObject {
 public:
  GlCubeTexture(std::shared_ptr<GlContext> context, UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                D3DPOOL pool, const GlFormat& glFormat);
  ~GlCubeTexture() override;

  GLuint GlName() const override { return m_gl.Name(); }
  GLenum GlTarget() const override { return GL_TEXTURE_CUBE_MAP; }
  bool IsRenderTarget() const override { return false; }
  UINT LevelTotal() const override { return m_storage.LevelCount(); }

 protected:
  void OnLevelWritten(UINT face, UINT level) override { m_gl.Upload(m_storage, face, level, false); }
  void ReadLevel(UINT face, UINT level, TextureStorage::Level& image) override { m_gl.Read(face, image, level); }

 private:
  GlTextureData m_gl;
};

class GlVolumeTexture final : public CpuVolumeTexture, public GlTextureObject {
 public:
  GlVolumeTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT depth, UINT levels,
                  DWORD usage, D3DFORMAT format, D3DPOOL pool, const GlFormat& glFormat);
  ~GlVolumeTexture() override;

  GLuint GlName() const override { return m_gl.Name(); }
  GLenum GlTarget() const override { return GL_TEXTURE_3D; }
  bool IsRenderTarget() const override { return false; }
  UINT LevelTotal() const override { return m_storage.LevelCount(); }

 protected:
  void OnLevelWritten(UINT face, UINT level) override { m_gl.Upload(m_storage, face, level, false); }
  void ReadLevel(UINT face, UINT level, TextureStorage::Level& image) override { m_gl.Read(face, image, level); }

 private:
  GlTextureData m_gl;
};

/// The image of a surface that stands for a level of a GL render-target texture; false
/// for other surfaces.
bool TextureLevelImage(IDirect3DSurface9* surface, GlImage& image);

/// A render-target surface: the back buffer and CreateRenderTarget's surfaces. Locks
/// read its pixels back (D3DLOCK_READONLY only).
class GlRenderTargetSurface final : public RefCounted<IDirect3DSurface9>, public TrackedResource {
 public:
  GlRenderTargetSurface(std::shared_ptr<GlContext> context, UINT width, UINT height, D3DFORMAT format,
                        GLsizei samples, D3DMULTISAMPLE_TYPE multiSample);
  ~GlRenderTargetSurface() override;

  /// Gives the surface new storage (the back buffer at Reset).
  void Allocate(UINT width, UINT height, D3DFORMAT format, GLsizei samples, D3DMULTISAMPLE_TYPE multiSample);
  bool Valid() const { return m_image.name != 0 && m_valid; }
  const GlImage& Image() const { return m_image; }
  /// Makes the surface the window's own back buffer, or its renderbuffer again (which
  /// stays, for when the window can no longer hold the frame).
  void SetInWindow(bool inWindow) { m_image.window = inWindow; }

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
  void PreLoad() override {}
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect() override;

 private:
  std::shared_ptr<GlContext> m_context;
  GlImage m_image;
  D3DMULTISAMPLE_TYPE m_multiSample = D3DMULTISAMPLE_NONE;
  bool m_valid = false;
  std::unique_ptr<TextureStorage> m_readBack;
};

template <class Interface>
class GlBuffer : public CpuBuffer<Interface> {
 public:
  GlBuffer(std::shared_ptr<GlContext> context, UINT length, DWORD usage, D3DPOOL pool)
      : CpuBuffer<Interface>(length, usage, pool, (usage & D3DUSAGE_DYNAMIC) != 0), m_context(std::move(context)) {
    m_context->MakeCurrent();
    glGenBuffers(1, &m_name);
    glBindBuffer(GL_ARRAY_BUFFER, m_name);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(length), nullptr, Hint());
  }
  ~GlBuffer() override {
    this->Link().NotifyDestroyed();
    if (m_context->MakeCurrent()) glDeleteBuffers(1, &m_name);
  }
  GLuint GlName() const { return m_name; }

 protected:
  void OnWritten(UINT offset, UINT size, DWORD flags) override {
    if (!m_context->MakeCurrent()) return;
    // Uploads go through GL_ARRAY_BUFFER, which every draw binds anew.
    glBindBuffer(GL_ARRAY_BUFFER, m_name);
    const auto& data = this->m_data;
    if ((flags & D3DLOCK_DISCARD) && offset == 0 && size == data.size()) {
      glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(size), data.data(), Hint());  // a fresh store: no stall
    } else {
      glBufferSubData(GL_ARRAY_BUFFER, GLintptr(offset), GLsizeiptr(size), data.data() + offset);
    }
  }
  void ReadBack(std::vector<BYTE>& bytes) override {
    if (!m_context->MakeCurrent()) return;
    glBindBuffer(GL_ARRAY_BUFFER, m_name);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(bytes.size()), bytes.data());
  }

 private:
  GLenum Hint() const { return (this->m_usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW; }

  std::shared_ptr<GlContext> m_context;
  GLuint m_name = 0;
};

class GlVertexBuffer final : public GlBuffer<IDirect3DVertexBuffer9> {
 public:
  GlVertexBuffer(std::shared_ptr<GlContext> context, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
      : GlBuffer(std::move(context), length, usage, pool), m_fvf(fvf) {}

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
  HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = {D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, m_usage, m_pool, m_length, m_fvf};
    return D3D_OK;
  }

 private:
  DWORD m_fvf;
};

class GlIndexBuffer final : public GlBuffer<IDirect3DIndexBuffer9> {
 public:
  GlIndexBuffer(std::shared_ptr<GlContext> context, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
      : GlBuffer(std::move(context), length, usage, pool), m_format(format) {}

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
  HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = {m_format, D3DRTYPE_INDEXBUFFER, m_usage, m_pool, m_length};
    return D3D_OK;
  }
  D3DFORMAT Format() const { return m_format; }

 private:
  D3DFORMAT m_format;
};

/// A vertex program: GLSL whose main is renamed and wrapped, so the layer can add the
/// half-pixel offset to gl_Position after it. `uniform vec4 c[N]` are the constants.
class GlVertexShader final : public RefCounted<IDirect3DVertexShader9>, public TrackedResource {
 public:
  /// Null with the compiler's log in error when the text does not compile or link.
  /// fragment: a fragment program linked in as well (effects), or null for the
  /// fixed-function fragment stage.
  static GlVertexShader* Create(std::shared_ptr<GlContext> context, const char* source, std::string& error,
                                const char* fragment = nullptr);
  ~GlVertexShader() override;

  GLuint Program() const { return m_program; }
  GLint ConstantsLocation() const { return m_constants; }
  GLsizei ConstantCount() const { return m_constantCount; }
  GLint PixelOffsetLocation() const { return m_pixelOffset; }

  /// Generic attribute location of the per-vertex point size ("inPointSize").
  static constexpr GLuint kPointSizeAttribute = 6;

 private:
  GlVertexShader(std::shared_ptr<GlContext> context, GLuint program);

  std::shared_ptr<GlContext> m_context;
  GLuint m_program;
  GLint m_constants = -1;
  GLsizei m_constantCount = 0;
  GLint m_pixelOffset = -1;
};

class GlQuery final : public RefCounted<IDirect3DQuery9>, public TrackedResource {
 public:
  explicit GlQuery(std::shared_ptr<GlContext> context);
  ~GlQuery() override;

  D3DQUERYTYPE GetType() override { return D3DQUERYTYPE_OCCLUSION; }
  DWORD GetDataSize() override { return sizeof(DWORD); }
  HRESULT Issue(DWORD flags) override;
  HRESULT GetData(void* data, DWORD size, DWORD flags) override;

 private:
  std::shared_ptr<GlContext> m_context;
  GLuint m_name = 0;
  bool m_active = false;
  bool m_ended = false;
};

}  // namespace platform::d3d9
