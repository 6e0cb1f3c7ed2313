#include "race/RelayTeam.h"

#include "race/Racer.h"
#include "scene/AnimSound.h"

N_RelayTeam::~N_RelayTeam() {
  if (Active && Active->BreathSlot != -1 && BodySounds) BodySounds->ReleaseSoundObj(Active->BreathSlot);
  for (N_Racer*& member : Members) {
    delete member;
    member = nullptr;
  }
}

void N_RelayTeam::HandOver(std::int32_t sex) {
  if (Active && Active->BreathSlot != -1) {
    if (BodySounds) BodySounds->ReleaseSoundObj(Active->BreathSlot);
    Active->BreathSlot = -1;
  }
  N_Racer* const outgoing = Active;
  Active = nullptr;
  Next = nullptr;
  for (std::int32_t leg = 0; leg + 1 < kLegs; ++leg) {
    if (outgoing && outgoing == Members[leg]) {
      Active = Members[leg + 1];
      Next = leg + 2 < kLegs ? Members[leg + 2] : nullptr;
      break;
    }
  }
  Flags &= ~kClearedByHandOver;
  if (PlayerTeam) {
    for (N_Racer* member : Members) {
      if (member) member->ControlKind = 1;
    }
  }
  if (Active && BodySounds) Active->BreathSlot = BodySounds->CreateSoundObj(sex != 0 ? 1 : 0);
}
