#pragma once
// A stand-in for the athlete manager, which is still to come: a small built-in roster
// whose athletes name all six skier models (three men, three women) with gear of their
// own, and the 31 start-number bibs. The world makes it before the figure factory and
// lends its roster to the scene (g_scene.figureRoster); the athlete manager takes its
// place, filling the same roster from the athlete profiles.
#include "scene/FigureRoster.h"

#include <vector>

class N_ShaderMng;

class N_FigureRosterStandIn {
 public:
  /// The built-in athletes in roster order.
  N_FigureRosterStandIn();
  /// ReleaseTextures.
  ~N_FigureRosterStandIn();
  N_FigureRosterStandIn(const N_FigureRosterStandIn&) = delete;
  N_FigureRosterStandIn& operator=(const N_FigureRosterStandIn&) = delete;

  /// Every athlete's dress, gun, ski and sticks shaders, then the bibs
  /// "textures\lyziari\startnum01" to "startnum31" (each a 2D shader of its texture).
  void LoadTextures(N_ShaderMng& shaders);
  /// Gives every shader of LoadTextures back to its manager.
  void ReleaseTextures();

  N_FigureRoster& Roster() { return m_roster; }
  const std::vector<N_FigureAthlete>& Athletes() const { return m_athletes; }

 private:
  std::vector<N_FigureAthlete> m_athletes;  ///< never resized: the roster points into it
  N_FigureRoster m_roster;
  N_ShaderMng* m_shaders = nullptr;  ///< the manager of the shaders held, null when none
};
