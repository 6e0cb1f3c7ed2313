#include "render/OcclusionQuery.h"

#include "render/Render.h"
#include "render/RenderStateCache.h"

N_OcclusionQuery::N_OcclusionQuery(N_Render* render, IDirect3DDevice9* device)
    : m_entries(kEntries), m_render(render), m_device(device) {
  for (Entry& entry : m_entries) {
    if (m_device->CreateQuery(D3DQUERYTYPE_OCCLUSION, &entry.query) != D3D_OK) entry.query = nullptr;
  }
}

N_OcclusionQuery::~N_OcclusionQuery() { ReleaseQueries(); }

bool N_OcclusionQuery::IsMade() const {
  for (const Entry& entry : m_entries) {
    if (entry.query == nullptr) return false;
  }
  return true;
}

std::int32_t N_OcclusionQuery::Begin() {
  for (std::size_t i = m_scanStart; i < m_entries.size(); ++i) {
    Entry& entry = m_entries[i];
    if (entry.state != State::Free || entry.query == nullptr) continue;
    entry.state = State::Begun;
    entry.query->Issue(D3DISSUE_BEGIN);
    return 0;
  }
  return 1;
}

std::int32_t N_OcclusionQuery::End() {
  for (std::size_t i = m_scanStart; i < m_entries.size(); ++i) {
    Entry& entry = m_entries[i];
    if (entry.state != State::Begun) continue;
    entry.state = State::Ended;
    entry.query->Issue(D3DISSUE_END);
    return 0;
  }
  return 1;
}

// Colour and depth writes off, the depth test as the scene's (LESSEQUAL).
void N_OcclusionQuery::BeginInvisibleDraw() {
  m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  if (g_renderStateCache.depthFunction != D3DCMP_LESSEQUAL) {
    m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    g_renderStateCache.depthFunction = D3DCMP_LESSEQUAL;
  }
}

void N_OcclusionQuery::EndInvisibleDraw() {
  m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  g_renderStateCache.depthWrite = 1;
}

void N_OcclusionQuery::TestBox(const float* box) {
  static constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  Begin();
  BeginInvisibleDraw();
  m_render->DrawBox(box, kWhite);
  EndInvisibleDraw();
  End();
}

void N_OcclusionQuery::TestPoint(const float* position, float size) {
  static constexpr float kWhite[3] = {1.0f, 1.0f, 1.0f};
  Begin();
  BeginInvisibleDraw();
  m_render->DrawPoint(position, size, kWhite);
  EndInvisibleDraw();
  End();
}

bool N_OcclusionQuery::GetResult(DWORD* count, bool flush) {
  if (m_entries[m_scanStart].state != State::Ended) return false;
  bool read = false;
  for (std::size_t i = m_scanStart; i < m_entries.size() && m_entries[i].state == State::Ended; ++i) {
    DWORD pixels = 0;
    if (m_entries[i].query->GetData(&pixels, sizeof pixels, flush ? D3DGETDATA_FLUSH : 0) != S_OK) break;
    *count = pixels;
    m_entries[i].state = State::Free;
    read = true;
  }
  return read;
}

void N_OcclusionQuery::ReleaseQueries() {
  for (Entry& entry : m_entries) {
    if (entry.query != nullptr) entry.query->Release();
    entry.query = nullptr;
    entry.state = State::Free;
  }
}
