#pragma once
// The names shown for keys on the control options page, by DIK code: one 20-byte
// record (a NUL-terminated name) per code. Unnamed codes read "???", except 254 and
// 255, whose name is empty.
#include <cstdint>

struct N_KeyName {
  char name[20];
};
static_assert(sizeof(N_KeyName) == 20);

/// The record of a DIK code (0-255); an empty record for any other value.
const N_KeyName& GetKeyName(int dik);
