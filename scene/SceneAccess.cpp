#include "scene/SceneAccess.h"

N_SceneAccess g_scene;
