#pragma once
// A light as the scene hands it to N_Render::SetLight. The level and the GUI's figure
// models own their records; the renderer keeps a copy of each light it set.
#include <cstdint>

struct N_RenderLight {
  std::int32_t type = 0;    ///< 0 point, 1 directional, 2 spot
  float position[3] = {};   ///< point and spot lights
  float direction[3] = {};  ///< directional and spot lights
  float ambient[3] = {};    ///< red, green, blue
  float diffuse[3] = {};
  float specular[3] = {};
  float attenuation[3] = {};  ///< constant, linear, quadratic (point and spot)
  float range = 0.0f;
  float theta = 0.0f;  ///< spot: inner cone angle, radians
  float phi = 0.0f;    ///< spot: outer cone angle, radians
  float falloff = 0.0f;
  std::uint8_t changed = 0;  ///< set by the owner when it edits the record; SetLight clears it
};
