#pragma once
// The world root: created once by the application's start-up, reached through
// g_world, updated and rendered once per pass of the main loop.
//
// For now it holds only the shader manager and the text batcher the application
// uses (both stand-ins) and the texture manager it is given; the level, cameras,
// game modes, particles, athletes and GUI join it as they are built. Until then
// Init and Update have nothing to do, and Render opens and presents an empty frame.
#include "race/ShaderMng.h"
#include "race/TextBatch.h"

#include <memory>

class N_TextureMng;

class N_World {
 public:
  /// Keeps the texture manager (may be null while textures do not exist).
  explicit N_World(N_TextureMng* textureMng);
  virtual ~N_World();
  N_World(const N_World&) = delete;
  N_World& operator=(const N_World&) = delete;

  /// Sets the world up after construction; the application ignores the result.
  bool Init();
  /// Per frame, with the frame time in seconds.
  void Update(float frameTime);
  void Render(float frameTime);

  N_ShaderMng& ShaderMng() { return *m_shaderMng; }
  N_TextBatch& TextBatch() { return *m_textBatch; }
  N_TextureMng* TextureMng() const { return m_textureMng; }

 private:
  std::unique_ptr<N_TextBatch> m_textBatch;
  std::unique_ptr<N_ShaderMng> m_shaderMng;
  N_TextureMng* m_textureMng;
};

/// The world, while it exists.
extern N_World* g_world;
