#pragma once
// What the scene borrows from the world root (race/, above the scene): the world fills
// g_scene when it creates or replaces one of these members and clears the pointer
// before it deletes one; tests fill it directly. Plain borrowed pointers, null while
// the member does not exist. The texture manager is not here: it is g_textureMng.
class N_Frustum;
class N_ShaderMng;
class N_Level;
class N_Camera;
class N_LevelObjectList;
class N_ParticleMng;
class N_Game;
class N_FigureRoster;
class N_TextBatch;

struct N_SceneAccess {
  N_Frustum* frustum = nullptr;      ///< the view frustum of the current frame
  N_ShaderMng* shaderMng = nullptr;  ///< handles of the meshes' materials
  N_Level* level = nullptr;          ///< the ambient light and the sun of the figures
  N_Camera* camera = nullptr;        ///< the camera the frame is drawn from; null before the first
  N_LevelObjectList* levelObjects = nullptr;  ///< the level's drawables
  N_ParticleMng* particles = nullptr;  ///< templates, systems and emitters of every effect
  N_Game* game = nullptr;              ///< the running game mode; null while none runs
  N_FigureRoster* figureRoster = nullptr;  ///< the athletes the skier figures are made for
  N_TextBatch* textBatch = nullptr;    ///< the 2D quads of the frame (the mist overlay)
  /// The loading page's progress (a percentage), called by the level loader between its
  /// steps; null: nothing is shown.
  void (*loadingProgress)(float percent) = nullptr;
};

/// Hands the percentage to g_scene.loadingProgress when there is one.
void SceneLoadingProgress(float percent);

extern N_SceneAccess g_scene;
