#include "bench/FrameMeter.h"

#include "core/Globals.h"
#include "platform/d3d9.h"
#include "race/World.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/ShaderMng.h"

#include <time.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

std::uint64_t ClockNs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return std::uint64_t(t.tv_sec) * 1000000000u + std::uint64_t(t.tv_nsec);
}

double Ms(std::uint64_t ns) { return double(ns) / 1e6; }

/// The name of a material record, looked up in the world's shader manager.
std::string MaterialName(const N_Shader* shader) {
  static std::unordered_map<const N_Shader*, std::string> names;
  if (!shader) return "(no material)";
  auto found = names.find(shader);
  if (found == names.end() && g_world) {
    const N_ShaderMng& shaders = g_world->ShaderMng();
    for (int h = 0; h < shaders.Capacity(); ++h) {
      const N_ShaderEntry* entry = shaders.GetEntry(h);
      if (shaders.GetShader(h) == shader && entry && entry->name) found = names.emplace(shader, *entry->name).first;
    }
  }
  return found == names.end() ? "(unnamed material)" : found->second;
}

/// What a draw drew: the renderer's own passes by the device's state, else the material.
std::string DrawLabel() {
  IDirect3DDevice9* device = g_render ? g_render->Device() : nullptr;
  if (!device) return "(no device)";
  IDirect3DBaseTexture9* texture = nullptr;
  device->GetTexture(0, &texture);
  if (texture) texture->Release();
  if (texture && texture == g_render->OffscreenTexture()) return "post pass (the scene copied)";
  DWORD stencil = 0, colourWrite = 0;
  device->GetRenderState(D3DRS_STENCILENABLE, &stencil);
  device->GetRenderState(D3DRS_COLORWRITEENABLE, &colourWrite);
  if (stencil && colourWrite == 0) return "shadow volumes (stencil)";
  if (stencil) return "shadow overlay";
  return MaterialName(g_renderStateCache.currentShader);
}

void ChargeWork(const char* glName, std::uint64_t ns) {
  std::string label;
  if (std::strcmp(glName, "glClear") == 0) {
    label = "clears";
  } else if (std::strcmp(glName, "glBlitFramebuffer") == 0) {
    label = "blits (offscreen copy, present)";
  } else if (std::strcmp(glName, "SDL_GL_SwapWindow") == 0) {
    label = "swap (picture to the window)";
  } else if (std::strncmp(glName, "glDraw", 6) == 0) {
    label = DrawLabel();
  } else {
    label = glName;
  }
  ProfileSums()[label] += ns;
}

}  // namespace

std::map<std::string, std::uint64_t>& ProfileSums() {
  static std::map<std::string, std::uint64_t> sums;
  return sums;
}

FrameMeter::Reading FrameMeter::Now() {
  Reading r;
  const platform::DeviceWork work = platform::DeviceWorkSoFar();
  r.processNs = ClockNs(CLOCK_PROCESS_CPUTIME_ID);
  r.mainNs = ClockNs(CLOCK_THREAD_CPUTIME_ID);
  r.wallNs = ClockNs(CLOCK_MONOTONIC);
  r.workNs = work.workNs;
  r.draws = work.draws;
  r.glCalls = platform::DeviceGlCalls();
  return r;
}

void FrameMeter::Start() {
  platform::MeasureDeviceWork(true);
  m_started = false;
  Read();
}

void FrameMeter::Read() {
  const Reading now = Now();
  if (m_started) {
    Frame f;
    f.processMs = Ms(now.processNs - m_last.processNs);
    f.mainMs = Ms(now.mainNs - m_last.mainNs);
    f.workMs = Ms(now.workNs - m_last.workNs);
    f.wallMs = Ms(now.wallNs - m_last.wallNs);
    f.glCalls = now.glCalls - m_last.glCalls;
    f.draws = now.draws - m_last.draws;
    m_frames.push_back(f);
  }
  m_started = true;
  m_last = now;
}

void FrameMeter::Stop() {
  platform::MeasureDeviceWork(false);
  platform::ProfileDeviceWork(nullptr);
  // The sums are shared by the meters: each keeps its own phase's.
  if (m_profiling) m_profile = ProfileSums();
  m_profiling = false;
  m_started = false;
}

FrameMeter::Totals FrameMeter::Sum() const {
  Totals t;
  t.frames = m_frames.size();
  if (m_frames.empty()) return t;
  double wall = 0;
  std::vector<double> cpu;
  for (const Frame& f : m_frames) {
    t.cpuMs += f.processMs;
    // The main thread outside the working GL calls is the game's own; the rest (the
    // working calls and the renderer's threads) is the software renderer's.
    t.ownMs += std::max(0.0, f.mainMs - f.workMs);
    t.glCalls += double(f.glCalls);
    t.draws += double(f.draws);
    wall += f.wallMs;
    cpu.push_back(f.processMs);
  }
  const double n = double(m_frames.size());
  t.glMs = (t.cpuMs - t.ownMs) / n;
  t.cpuMs /= n;
  t.ownMs /= n;
  t.glCalls /= n;
  t.draws /= n;
  t.fps = wall > 0 ? n * 1000.0 / wall : 0;
  std::nth_element(cpu.begin(), cpu.begin() + std::ptrdiff_t(cpu.size() / 2), cpu.end());
  t.medianCpuMs = cpu[cpu.size() / 2];
  return t;
}

void FrameMeter::StartProfile() {
  ProfileSums().clear();
  m_profiling = true;
  platform::ProfileDeviceWork(&ChargeWork);
}

std::vector<std::pair<std::string, double>> FrameMeter::Profile() const {
  std::vector<std::pair<std::string, double>> rows;
  const double n = double(std::max<std::size_t>(1, m_frames.size()));
  for (const auto& [label, ns] : m_profile) rows.emplace_back(label, Ms(ns) / n);
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  return rows;
}
