#include "render/TextureMngImpl.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "render/RendererTextureDevice.h"
#include "render/TextureName.h"

#include <string>

N_TextureMng* g_textureMng = nullptr;

namespace {

/// Names that stand for something bound where the stage is drawn, not for a file.
bool IsSpecialName(const std::string& name) {
  return platform::EqualsNoCase(name, "noname") || platform::EqualsNoCase(name, "$lightmap") ||
         platform::EqualsNoCase(name, "$whiteimage");
}

}  // namespace

N_TextureMngImpl::N_TextureMngImpl(std::int32_t capacity, N_TextureDevice* device)
    : m_entries(static_cast<std::size_t>(capacity > 0 ? capacity : 1)), m_device(device) {
  if (!m_device) {
    m_ownDevice = std::make_unique<RendererTextureDevice>();
    m_device = m_ownDevice.get();
  }
}

N_TextureMngImpl::~N_TextureMngImpl() {
  ResetRefCounts();
  N_TextureMngImpl::PurgeTextures();
  if (g_log) {
    g_log->Print("TextureMng: Total texture memory consumed: %d MB\n",
                 static_cast<int>(m_totalMemory / 1048576));
  }
}

const N_TextureEntry* N_TextureMngImpl::Entry(std::int32_t index) const {
  if (index < 0 || index >= Capacity()) return nullptr;
  return &m_entries[static_cast<std::size_t>(index)];
}

N_TextureEntry* N_TextureMngImpl::FindEntry(const std::string& name) {
  for (N_TextureEntry& e : m_entries) {
    if (e.record && platform::EqualsNoCase(e.name, name)) return &e;
  }
  return nullptr;
}

void N_TextureMngImpl::Enlarge() {
  // Records live on the heap, so moving the entries keeps every handed-out pointer valid.
  m_entries.resize(m_entries.size() * 2);
}

TexInfo* N_TextureMngImpl::AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) {
  const std::string_view given = name ? name : "";
  if (given.size() > kMaxNameLength) {
    if (g_errorLog) g_errorLog->Critical(9, "Texture name is longer than 512 characters!\n");
    return nullptr;
  }
  const std::string cut = CutTextureExtension(given);
  if (N_TextureEntry* found = FindEntry(cut)) {
    ++found->refCount;
    return found->record.get();
  }
  if (m_liveCount >= Capacity()) Enlarge();
  for (N_TextureEntry& e : m_entries) {
    if (!e.IsFree()) continue;
    e.name = cut;
    e.refCount = 1;
    e.parameter = parameter;
    e.record = std::make_unique<TexInfo>();
    e.record->kind = kind;
    ++m_liveCount;
    return e.record.get();
  }
  if (g_errorLog) g_errorLog->Report(12, "Returned NULL in Add TexInfo func!!\n");
  return nullptr;
}

void N_TextureMngImpl::ReleaseTexture(TexInfo* record) {
  if (!record) return;
  for (N_TextureEntry& e : m_entries) {
    if (e.record.get() != record) continue;
    if (e.refCount > 0) --e.refCount;
    return;
  }
}

void N_TextureMngImpl::ResetRefCounts() {
  for (N_TextureEntry& e : m_entries) e.refCount = 0;
}

void N_TextureMngImpl::PurgeTextures() {
  for (N_TextureEntry& e : m_entries) {
    if (e.refCount > 0) {
      if (e.record && e.record->texture == kTextureNotCreated) LoadTexture(&e);
      continue;
    }
    if (!e.record) continue;
    // A record still waiting for its first creation has nothing on the device.
    if (e.record->texture != kTextureNotCreated) m_device->ReleaseTexture(e.record.get());
    e.record.reset();
    e.name.clear();
    --m_liveCount;
  }
  if (g_log) g_log->Print("TextureMng: %d textures in memory\n", m_liveCount);
  m_device->LoadEffectTextures();
}

std::uint32_t N_TextureMngImpl::CreateWithFallback(const std::string& name, TexInfo* record,
                                                   std::uint32_t parameter, bool lightmap) {
  const std::string path = "data\\" + name + ".dds";
  std::uint32_t bytes = m_device->CreateTexture(path.c_str(), record, parameter);
  if (bytes == 0) {
    if (g_log && lightmap) g_log->Print("!!! Error loading lightmap '%s'\n", name.c_str());
    if (g_log && !lightmap) g_log->Print("!!! Error loading texture '%s'\n", name.c_str());
    bytes = m_device->CreateTexture(kDefaultTexture, record, parameter);
  }
  m_totalMemory += bytes;
  return bytes;
}

std::uint32_t N_TextureMngImpl::LoadTexture(N_TextureEntry* entry) {
  if (!entry || !entry->record || IsSpecialName(entry->name)) return 0;
  return CreateWithFallback(entry->name, entry->record.get(), entry->parameter, false);
}

std::uint32_t N_TextureMngImpl::LoadLightmap(const char* name, TexInfo* record, std::uint32_t parameter) {
  if (!record) return 0;
  record->kind = static_cast<std::uint32_t>(TexKind::Texture2D);
  return CreateWithFallback(name ? name : "", record, parameter, true);
}

void N_TextureMngImpl::ReleaseLightmap(TexInfo* record) {
  if (!record) return;
  if (record->texture != kTextureNotCreated) m_device->ReleaseTexture(record);
  // The device hands a freed handle to its next texture: the record must not keep it.
  *record = TexInfo{};
}

TexInfo* N_TextureMngImpl::FindTexture(const char* name) {
  N_TextureEntry* e = FindEntry(name ? name : "");
  return e ? e->record.get() : nullptr;
}
