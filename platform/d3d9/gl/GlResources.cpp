#include "platform/d3d9/gl/GlResources.h"

#include "platform/d3dx9/DxtCodec.h"

#include <cstring>
#include <vector>

namespace platform::d3d9 {

GlTextureData::GlTextureData(std::shared_ptr<GlContext> context, GLenum target, const GlFormat& format)
    : m_context(std::move(context)), m_target(target), m_format(format) {
  m_context->MakeCurrent();
  glGenTextures(1, &m_name);
}

GlTextureData::~GlTextureData() {
  if (m_context->MakeCurrent()) glDeleteTextures(1, &m_name);
}

void GlTextureData::Allocate(const TextureStorage& storage) {
  if (!m_context->MakeCurrent()) return;
  glBindTexture(m_target, m_name);
  glTexParameteri(m_target, GL_TEXTURE_MAX_LEVEL, GLint(storage.LevelCount()) - 1);
  for (UINT face = 0; face < storage.FaceCount(); ++face) {
    for (UINT level = 0; level < storage.LevelCount(); ++level) Upload(storage, face, level, true);
  }
}

void GlTextureData::Upload(const TextureStorage& storage, UINT face, UINT level, bool allocate) {
  const TextureStorage::Level* image = storage.Find(face, level);
  if (!image || !m_context->MakeCurrent()) return;
  m_context->textureBindingsClobbered = true;
  glBindTexture(m_target, m_name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const GLint l = GLint(level);
  const auto w = GLsizei(image->width), h = GLsizei(image->height), d = GLsizei(image->depth);
  const void* bytes = image->bytes.empty() ? nullptr : image->bytes.data();
  const auto size = GLsizei(TextureStorage::LevelBytes(*image));
  if (m_target == GL_TEXTURE_3D) {
    if (allocate) {
      glTexImage3D(m_target, l, GLint(m_format.internalFormat), w, h, d, 0, m_format.format, m_format.type, bytes);
    } else {
      glTexSubImage3D(m_target, l, 0, 0, 0, w, h, d, m_format.format, m_format.type, bytes);
    }
    return;
  }
  const GLenum target = m_target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : m_target;
  std::vector<Rgba8> decoded;
  if (m_format.decodedDxt && bytes) {
    decoded.resize(std::size_t(image->width) * image->height);
    DecodeDxt(static_cast<PixelFormat>(storage.Format()), image->bytes, image->width, image->height, decoded);
    bytes = decoded.data();
  }
  if (m_format.compressed) {
    if (allocate) {
      glCompressedTexImage2D(target, l, m_format.internalFormat, w, h, 0, size, bytes);
    } else {
      glCompressedTexSubImage2D(target, l, 0, 0, w, h, m_format.internalFormat, size, bytes);
    }
  } else if (allocate) {
    glTexImage2D(target, l, GLint(m_format.internalFormat), w, h, 0, m_format.format, m_format.type, bytes);
  } else {
    glTexSubImage2D(target, l, 0, 0, w, h, m_format.format, m_format.type, bytes);
  }
}

void GlTextureData::Read(UINT face, TextureStorage::Level& level, UINT levelIndex) {
  if (!m_context->MakeCurrent()) return;
  m_context->textureBindingsClobbered = true;
  glBindTexture(m_target, m_name);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  const GLenum target = m_target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : m_target;
  if (m_format.compressed) {
    glGetCompressedTexImage(target, GLint(levelIndex), level.bytes.data());
  } else {
    glGetTexImage(target, GLint(levelIndex), m_format.format, m_format.type, level.bytes.data());
  }
}

namespace {

/// Dynamic textures are written often: they keep their bytes. So do textures that GL
/// keeps decoded, whose DXT blocks cannot be read back from GL.
TextureStorage::Residency ResidencyFor(DWORD usage, const GlFormat& format) {
  return (usage & D3DUSAGE_DYNAMIC) || format.decodedDxt ? TextureStorage::Residency::Always
                                                         : TextureStorage::Residency::WhileLocked;
}

}  // namespace

GlTexture::GlTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT levels, DWORD usage,
                     D3DFORMAT format, D3DPOOL pool, const GlFormat& glFormat)
    : CpuTexture(width, height, levels, usage, format, pool, ResidencyFor(usage, glFormat)),
      m_gl(std::move(context), GL_TEXTURE_2D, glFormat) {
  m_gl.Allocate(m_storage);
}

GlTexture::~GlTexture() { Link().NotifyDestroyed(); }

GlCubeTexture::GlCubeTexture(std::shared_ptr<GlContext> context, UINT edge, UINT levels, DWORD usage,
                             D3DFORMAT format, D3DPOOL pool, const GlFormat& glFormat)
    : CpuCubeTexture(edge, levels, usage, format, pool, ResidencyFor(usage, glFormat)),
      m_gl(std::move(context), GL_TEXTURE_CUBE_MAP, glFormat) {
  m_gl.Allocate(m_storage);
}

GlCubeTexture::~GlCubeTexture() { Link().NotifyDestroyed(); }

GlVolumeTexture::GlVolumeTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT depth,
                                 UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, const GlFormat& glFormat)
    : CpuVolumeTexture(width, height, depth, levels, usage, format, pool, ResidencyFor(usage, glFormat)),
      m_gl(std::move(context), GL_TEXTURE_3D, glFormat) {
  m_gl.Allocate(m_storage);
}

GlVolumeTexture::~GlVolumeTexture() { Link().NotifyDestroyed(); }

bool TextureLevelImage(IDirect3DSurface9* surface, GlImage& image) {
  auto* level = dynamic_cast<TextureLevelSurface*>(surface);
  if (!level) return false;
  auto* texture = dynamic_cast<GlTextureObject*>(&level->Texture());
  if (!texture) return false;
  D3DSURFACE_DESC desc{};
  // Only render-target textures are images GL can draw into or copy between.
  if (FAILED(level->GetDesc(&desc)) || !(desc.Usage & D3DUSAGE_RENDERTARGET)) return false;
  image = {};
  image.texture = true;
  image.name = texture->GlName();
  image.target = texture->GlTarget() == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + level->Face()
                                                            : GL_TEXTURE_2D;
  image.level = GLint(level->Level());
  image.width = desc.Width;
  image.height = desc.Height;
  image.format = desc.Format;
  return true;
}

GlRenderTargetSurface::GlRenderTargetSurface(std::shared_ptr<GlContext> context, UINT width, UINT height,
                                             D3DFORMAT format, GLsizei samples, D3DMULTISAMPLE_TYPE multiSample)
    : m_context(std::move(context)) {
  Allocate(width, height, format, samples, multiSample);
}

GlRenderTargetSurface::~GlRenderTargetSurface() {
  Link().NotifyDestroyed();
  if (m_image.name && m_context->MakeCurrent()) glDeleteRenderbuffers(1, &m_image.name);
}

void GlRenderTargetSurface::Allocate(UINT width, UINT height, D3DFORMAT format, GLsizei samples,
                                     D3DMULTISAMPLE_TYPE multiSample) {
  if (!m_context->MakeCurrent()) return;
  if (!m_image.name) glGenRenderbuffers(1, &m_image.name);
  m_image.width = width;
  m_image.height = height;
  m_image.format = format;
  m_image.samples = samples;
  m_multiSample = multiSample;
  const GLenum internal = RenderTargetFormatFor(format);
  while (glGetError() != GL_NO_ERROR) {
  }
  glBindRenderbuffer(GL_RENDERBUFFER, m_image.name);
  if (internal && samples > 0) {
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, internal, GLsizei(width), GLsizei(height));
  } else if (internal) {
    glRenderbufferStorage(GL_RENDERBUFFER, internal, GLsizei(width), GLsizei(height));
  }
  m_valid = internal != 0 && glGetError() == GL_NO_ERROR;
}

HRESULT GlRenderTargetSurface::GetDesc(D3DSURFACE_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = {};
  desc->Format = m_image.format;
  desc->Type = D3DRTYPE_SURFACE;
  desc->Usage = D3DUSAGE_RENDERTARGET;
  desc->Pool = D3DPOOL_DEFAULT;
  desc->MultiSampleType = m_multiSample;
  desc->Width = m_image.width;
  desc->Height = m_image.height;
  return D3D_OK;
}

HRESULT GlRenderTargetSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (!(flags & D3DLOCK_READONLY) || !Valid() || !m_context->MakeCurrent()) return D3DERR_INVALIDCALL;
  if (m_readBack && m_readBack->Find(0, 0)->locked) return D3DERR_INVALIDCALL;
  m_readBack = std::make_unique<TextureStorage>(m_image.format, m_image.width, m_image.height, 1, 1, 1);
  if (!ReadImage(*m_context, m_image, *m_readBack->Find(0, 0))) return D3DERR_INVALIDCALL;
  return m_readBack->LockRect(0, 0, rect, flags, locked);
}

HRESULT GlRenderTargetSurface::UnlockRect() {
  if (!m_readBack) return D3DERR_INVALIDCALL;
  return m_readBack->Unlock(0, 0, nullptr);
}

namespace {

std::string ShaderLog(GLuint object, bool program) {
  GLint length = 0;
  program ? glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length) : glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
  std::string log(std::size_t(length > 0 ? length : 0), '\0');
  if (length > 0) {
    program ? glGetProgramInfoLog(object, length, nullptr, log.data())
            : glGetShaderInfoLog(object, length, nullptr, log.data());
  }
  while (!log.empty() && (log.back() == '\0' || log.back() == '\n')) log.pop_back();
  return log;
}

GLuint Compile(const std::string& text, std::string& error, GLenum type = GL_VERTEX_SHADER) {
  const GLuint shader = glCreateShader(type);
  const char* source = text.c_str();
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    error += ShaderLog(shader, false);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

/// Splits off a leading "#version" line; returns the version line ("" when none) and the
/// number of lines it took.
std::string VersionLine(const std::string& source, std::string& rest, int& lines) {
  std::size_t start = source.find_first_not_of(" \t\r\n");
  lines = 0;
  if (start == std::string::npos || source.compare(start, 8, "#version") != 0) {
    rest = source;
    return "";
  }
  const std::size_t end = source.find('\n', start);
  for (std::size_t i = 0; i < (end == std::string::npos ? source.size() : end); ++i) lines += source[i] == '\n';
  ++lines;
  rest = end == std::string::npos ? "" : source.substr(end + 1);
  return source.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

GlVertexShader* GlVertexShader::Create(std::shared_ptr<GlContext> context, const char* source, std::string& error,
                                       const char* fragment) {
  if (!source || !context->MakeCurrent()) {
    error = "no program text";
    return nullptr;
  }
  std::string rest;
  int versionLines = 0;
  const std::string version = VersionLine(source, rest, versionLines);
  const std::string header = version.empty() ? "#version 120" : version;
  const std::string user = header + "\n#define main navo_user_main\n#line " + std::to_string(versionLines + 1) +
                           "\n" + rest;
  const std::string wrapper = header +
                              "\nvoid navo_user_main();\nuniform vec2 navo_pixelOffset;\n"
                              "void main() {\n  navo_user_main();\n"
                              "  gl_Position.xy += navo_pixelOffset * gl_Position.w;\n}\n";
  const GLuint userShader = Compile(user, error);
  const GLuint wrapperShader = userShader ? Compile(wrapper, error) : 0;
  const GLuint fragmentShader =
      wrapperShader && fragment ? Compile(fragment, error, GL_FRAGMENT_SHADER) : 0;
  if (!userShader || !wrapperShader || (fragment && !fragmentShader)) {
    if (userShader) glDeleteShader(userShader);
    if (wrapperShader) glDeleteShader(wrapperShader);
    return nullptr;
  }
  const GLuint program = glCreateProgram();
  glAttachShader(program, userShader);
  glAttachShader(program, wrapperShader);
  if (fragmentShader) glAttachShader(program, fragmentShader);
  glBindAttribLocation(program, kPointSizeAttribute, "inPointSize");
  glLinkProgram(program);
  glDeleteShader(userShader);
  glDeleteShader(wrapperShader);
  if (fragmentShader) glDeleteShader(fragmentShader);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    error += ShaderLog(program, true);
    glDeleteProgram(program);
    return nullptr;
  }
  return new GlVertexShader(std::move(context), program);
}

GlVertexShader::GlVertexShader(std::shared_ptr<GlContext> context, GLuint program)
    : m_context(std::move(context)), m_program(program) {
  m_pixelOffset = glGetUniformLocation(program, "navo_pixelOffset");
  GLint count = 0;
  glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  for (GLint i = 0; i < count; ++i) {
    char name[64] = {};
    GLint size = 0;
    GLenum type = 0;
    glGetActiveUniform(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
    if ((std::strcmp(name, "c") == 0 || std::strcmp(name, "c[0]") == 0) && type == GL_FLOAT_VEC4) {
      m_constants = glGetUniformLocation(program, "c");
      m_constantCount = size;
    }
  }
}

GlVertexShader::~GlVertexShader() {
  Link().NotifyDestroyed();
  if (m_context->MakeCurrent()) glDeleteProgram(m_program);
}

GlQuery::GlQuery(std::shared_ptr<GlContext> context) : m_context(std::move(context)) {
  m_context->MakeCurrent();
  glGenQueries(1, &m_name);
}

GlQuery::~GlQuery() {
  Link().NotifyDestroyed();
  if (!m_context->MakeCurrent()) return;
  if (m_active) glEndQuery(GL_SAMPLES_PASSED);
  glDeleteQueries(1, &m_name);
}

HRESULT GlQuery::Issue(DWORD flags) {
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  if (flags & D3DISSUE_BEGIN) {
    if (m_active) glEndQuery(GL_SAMPLES_PASSED);
    glBeginQuery(GL_SAMPLES_PASSED, m_name);
    m_active = true;
    m_ended = false;
  }
  if ((flags & D3DISSUE_END) && m_active) {
    glEndQuery(GL_SAMPLES_PASSED);
    m_active = false;
    m_ended = true;
  }
  return D3D_OK;
}

HRESULT GlQuery::GetData(void* data, DWORD size, DWORD flags) {
  if (!m_ended) return S_FALSE;
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  GLuint available = 0;
  glGetQueryObjectuiv(m_name, GL_QUERY_RESULT_AVAILABLE, &available);
  if (!available) {
    if (flags & D3DGETDATA_FLUSH) glFlush();
    return S_FALSE;
  }
  GLuint samples = 0;
  glGetQueryObjectuiv(m_name, GL_QUERY_RESULT, &samples);
  if (data && size >= sizeof(DWORD)) *static_cast<DWORD*>(data) = samples;
  return D3D_OK;
}

}  // namespace platform::d3d9
