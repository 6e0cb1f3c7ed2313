#include "race/ai/AiIdentificator.h"

namespace Ai {

const std::array<N_AiIdentificatorKind, 29> kFixedIdentificators = {{
    {"Trigger_Mass2Normal", 3, 0x01, true},
    {"Trigger_Sprint2Normal", 3, 0x02, true},
    {"Trigger_Relay2Normal", 3, 0x04, true},
    {"Trigger_Normal2Ciel", 3, 0x08, true},
    {"Trigger_ShootArea", 1, 0x01, false},
    {"Trigger_PenaltyShow", 1, 0x02, false},
    {"Trigger_PenaltyPath", 3, 0x10, false},
    {"Trigger_StartMass", 2, 0x01, true},
    {"Trigger_StartSprint", 2, 0x02, true},
    {"Trigger_StartHunting", 2, 0x04, true},
    {"Trigger_StartRelay", 2, 0x08, true},
    {"Trigger_Ciel", 2, 0x10, true},
    {"Trigger_PenaltyResult", 1, 0x04, false},
    {"Trigger_ShortCutArcadeStart", 4, 0x01, false},
    {"Trigger_ShortCutArcadeEnd", 4, 0x02, false},
    {"Trigger_ShortCutShootAreaStart", 4, 0x04, false},
    {"Trigger_ShortCutShootAreaEnd", 4, 0x08, false},
    {"Trigger_RoundCount", 6, 0x01, true},
    {"Trigger_Penalty_Count", 1, 0x08, true},
    {"Trigger_ShowSipkaCiel", 6, 0x02, true},
    {"Trigger_RoundTime", 6, 0x04, true},
    {"Trigger_RelayAiChange", 6, 0x08, true},
    {"Trigger_RoundCount2", 6, 0x40, true},
    {"Trigger_GoToNormalPath", 6, 0x20, true},
    {"Trigger_ShowRelayPlayer", 6, 0x10, true},
    {"Trigger_Com_Trainer_01", 7, 0x01, true},
    {"Trigger_Com_Trainer_02", 7, 0x02, true},
    {"Trigger_Com_Trainer_03", 7, 0x04, true},
    {"Trigger_Kampfgeist", 6, 0x80, true},
}};

}  // namespace Ai
