#pragma once
// The glow of one highlighted athlete's figure: the race simulation and the relay draw
// that figure between AthleteGlowOn and AthleteGlowOff. Both switch the effect technique
// of the athlete's five gear materials (dress, gun, skis, start number, sticks, in that
// order) in the world's shader manager: "TGlowAndTexture" on, "TTextureOnly" off. A
// material without an effect is skipped. The technique belongs to the shared material,
// so every figure drawn in between with the same gear glows too.
struct N_AthletProfile;

void AthleteGlowOn(const N_AthletProfile& athlete);
void AthleteGlowOff(const N_AthletProfile& athlete);
