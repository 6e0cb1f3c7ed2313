#include "scene/SceneAccess.h"

N_SceneAccess g_scene;

void SceneLoadingProgress(float percent) {
  if (g_scene.loadingProgress) g_scene.loadingProgress(percent);
}
