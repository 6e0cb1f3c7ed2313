#include "render/ShaderMng.h"

#include "core/FileFinder.h"
#include "platform/win32.h"
#include "render/RenderShaderHost.h"
#include "render/ShaderHost.h"
#include "render/ShaderLog.h"
#include "render/ShaderParser.h"

#include <algorithm>
#include <string>

N_ShaderMng::N_ShaderMng(int capacity) : N_ShaderMng(capacity, N_RenderShaderHost::Instance()) {}

N_ShaderMng::N_ShaderMng(int capacity, N_ShaderHost& host)
    : m_entries(static_cast<std::size_t>(std::max(capacity, 0))), m_host(host) {}

N_ShaderMng::~N_ShaderMng() {
  for (const N_ShaderEntry& entry : m_entries) {
    if (entry.record) m_host.ForgetShader(entry.record.get());
  }
}

void N_ShaderMng::Grow() {
  // Entries move with their records, so handles and record addresses stay valid.
  m_entries.resize(std::max<std::size_t>(m_entries.size() * 2, 1));
}

int N_ShaderMng::AddShader(const char* name, std::uint32_t flags, std::uint32_t type) {
  if (!name) return kNoShader;
  if (m_count >= Capacity()) Grow();  // before the search, as the table always did
  const std::string_view wanted = name;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    N_ShaderEntry& entry = m_entries[i];
    if (entry.name && platform::EqualsNoCase(*entry.name, wanted)) {
      ++entry.refCount;
      return static_cast<int>(i);
    }
  }
  const auto free = std::find_if(m_entries.begin(), m_entries.end(),
                                 [](const N_ShaderEntry& e) { return e.IsFree(); });
  if (free == m_entries.end()) ShaderCritical(9, "AddShader function error");
  free->refCount = 1;
  free->name = std::string(wanted);
  free->flags = flags;
  free->type = type;
  ++m_count;
  return static_cast<int>(free - m_entries.begin());
}

const N_ShaderEntry* N_ShaderMng::GetEntry(int handle) const {
  if (handle < 0 || handle >= Capacity()) return nullptr;
  return &m_entries[static_cast<std::size_t>(handle)];
}

N_Shader* N_ShaderMng::GetShader(int handle) const {
  const N_ShaderEntry* entry = GetEntry(handle);
  return entry ? entry->record.get() : nullptr;
}

void N_ShaderMng::ReleaseShader(int handle) {
  if (!GetEntry(handle)) return;
  N_ShaderEntry& entry = m_entries[static_cast<std::size_t>(handle)];
  if (entry.refCount == 0) return;
  if (--entry.refCount == 0) FreeEntry(handle);
}

void N_ShaderMng::ResetRefCounts() {
  for (N_ShaderEntry& entry : m_entries) entry.refCount = 0;
}

void N_ShaderMng::FreeEntry(int handle) {
  N_ShaderEntry& entry = m_entries[static_cast<std::size_t>(handle)];
  if (entry.record) {
    N_Shader& shader = *entry.record;
    if (shader.flags & ShaderFlag::kEffect) m_host.DestroyEffect(&shader.effect);
    for (int i = 0; i < shader.stageCount; ++i) {
      for (TexInfo* texture : shader.stages[i]->textures) {
        if (texture) m_host.ReleaseTexture(texture);
      }
    }
    m_host.ForgetShader(&shader);  // the renderer must never bind a freed record
    entry.record.reset();
  }
  if (entry.name) {
    entry.name.reset();
    --m_count;
  }
}

void N_ShaderMng::LoadShaders() {
  LogLine("--- Reading shaders:\n");
  N_FileFinder finder("scripts\\*.shader");
  for (const char* path = finder.FindFirstScript(); path; path = finder.FindNextScript()) {
    const std::string file = path;  // the finder's buffer is reused by the next find
    LogLine("---  %s\n", file.c_str());
    ParseFile(file.c_str());
  }
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    N_ShaderEntry& entry = m_entries[i];
    if (entry.refCount > 0 && !entry.record) {
      MakeDefaultShader(static_cast<int>(i));
    } else if (entry.refCount == 0) {
      FreeEntry(static_cast<int>(i));
    }
  }
  LogLine("ShaderMng: %d shaders in memory\n", m_count);
}

void N_ShaderMng::ParseFile(const char* path) {
  N_ShaderParser parser(path, m_host);
  std::string name;
  for (const char* token = parser.NextToken(true); token; token = parser.NextToken(true)) {
    name = token;
    N_ShaderEntry* entry = FindPending(name.c_str());
    if (!entry) {
      // Nobody asked for it, or an earlier block already built it.
      parser.SkipBlock();
      continue;
    }
    LogLine(" +    %s\n", name.c_str());
    auto shader = std::make_unique<N_Shader>();
    shader->surfaceParm = entry->flags;
    parser.ParseShader(*shader);
    MarkMultipliedPairs(*shader);
    entry->record = std::move(shader);
  }
  if (parser.EndedInsideBlock()) {
    ShaderReport(12, "%s ends inside the block of '%s': cut short? The shaders after it are missing\n", path,
                 name.c_str());
  }
}

N_ShaderEntry* N_ShaderMng::FindPending(const char* name) {
  for (N_ShaderEntry& entry : m_entries) {
    if (!entry.record && entry.refCount > 0 && entry.name && platform::EqualsNoCase(*entry.name, name)) return &entry;
  }
  return nullptr;
}

void N_ShaderMng::MarkMultipliedPairs(N_Shader& shader) {
  // A stage that multiplies the colour under it (dst x src) can be folded into the
  // stage before it on one pass; the renderer draws such pairs together.
  for (int i = 1; i < shader.stageCount; ++i) {
    const N_ShaderStage& stage = *shader.stages[i];
    const bool multiplies = (stage.blendSrc == GlValue::kDstColor && stage.blendDst == GlValue::kZero) ||
                            (stage.blendSrc == GlValue::kZero && stage.blendDst == GlValue::kSrcColor);
    if (!multiplies) continue;
    shader.stages[i - 1]->flags |= StageFlag::kMultiplied;
    shader.flags |= ShaderFlag::kMultiplied;
  }
}

void N_ShaderMng::AddEntryTexture(N_ShaderStage& stage, const std::string& name) {
  stage.AddTexture(m_host.AddTexture(name.c_str(), stage.flags, 0), 0.0f);
}

void N_ShaderMng::MakeDefaultShader(int handle) {
  N_ShaderEntry& entry = m_entries[static_cast<std::size_t>(handle)];
  auto shader = std::make_unique<N_Shader>();
  shader->surfaceParm = entry.flags;
  const std::string& name = *entry.name;  // a referenced entry always has its name
  if (entry.type == kType2D) {
    // The text batcher's quads are wound clockwise on screen, which back-face culling
    // would drop: a 2D default draws both sides.
    shader->cull = Cull::None;
    N_ShaderStage& stage = *shader->AddStage();
    stage.depthWrite = true;
    stage.blendSrc = GlValue::kOne;
    stage.blendDst = GlValue::kZero;
    stage.SetRgbGen(RgbGen::Identity);
    AddEntryTexture(stage, name);
  } else {
    // The texture named like the shader, multiplied by the surface's lightmap.
    shader->flags = ShaderFlag::kLightmap | ShaderFlag::kMultiplied;
    N_ShaderStage& base = *shader->AddStage();
    base.flags = StageFlag::kMultiplied;
    AddEntryTexture(base, name);
    base.blendSrc = GlValue::kOne;
    base.blendDst = GlValue::kZero;
    N_ShaderStage& lightmap = *shader->AddStage();
    lightmap.flags = StageFlag::kLightmap | StageFlag::kClamp | StageFlag::kNoPicmip;
    lightmap.blendSrc = GlValue::kDstColor;
    lightmap.blendDst = GlValue::kZero;
    lightmap.depthWrite = true;
    lightmap.tcGen = TcGen::Lightmap;
    lightmap.SetRgbGen(RgbGen::Identity);
    lightmap.AddTexture(nullptr, 0.0f);
  }
  entry.record = std::move(shader);
}
