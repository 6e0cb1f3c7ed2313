#pragma once
// The world root: created once by the application's start-up, reached through
// g_world, updated and rendered once per pass of the main loop.
//
// For now it holds the shader manager, the text batcher the application uses (a
// stand-in) and the texture manager it is given; the level, cameras, game modes,
// particles, athletes and GUI join it as they are built. Init loads the shaders and
// creates their textures; Render opens and presents an empty frame; the destructor
// gives every shader and texture back.
#include "race/TextBatch.h"
#include "render/ShaderMng.h"

#include <memory>

class N_TextureMng;

class N_World {
 public:
  /// Keeps the texture manager (may be null while textures do not exist).
  explicit N_World(N_TextureMng* textureMng);
  /// Frees every shader and then every texture, while the renderer still exists.
  virtual ~N_World();
  N_World(const N_World&) = delete;
  N_World& operator=(const N_World&) = delete;

  /// Sets the world up after construction: reads the shader scripts for every shader
  /// added so far and creates their textures. The application ignores the result.
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
