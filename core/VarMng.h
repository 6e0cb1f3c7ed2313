#pragma once
// The variable registry: every setting and much of the state exchanged between menus,
// configuration files and the race, by exact (case-sensitive) name.
//
// A hash table of 1000 buckets; each bucket is a chain in registration order. Records
// registered by callers stay theirs; records made by a Set on an unknown name belong
// to the registry (marked explicitly, never guessed from the flags).
#include "core/Var.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_VarMng {
 public:
  static constexpr std::uint32_t kBucketCount = 1000;

  N_VarMng();
  virtual ~N_VarMng();
  N_VarMng(const N_VarMng&) = delete;
  N_VarMng& operator=(const N_VarMng&) = delete;

  /// Assigns to an existing variable (its flags stay), or makes a new one with flags | 0x02.
  bool SetInt(const char* name, int value, std::uint32_t flags);
  bool SetFloat(const char* name, float value, std::uint32_t flags);
  bool SetString(const char* name, const char* text, std::uint32_t flags);

  /// Links a caller's record; a duplicate name is reported (code 13) and not added.
  void Register(N_Var* var);
  /// Unlinks the record with that name (the record itself is not destroyed).
  void Unregister(N_Var* var);

  /// Missing names are reported (code 13) and give null / 0.0 / 0.
  const char* GetString(const char* name);
  float GetFloat(const char* name);
  int GetInt(const char* name);

  /// Writes every 0x20 variable to the file in bucket order, each value cut to what the
  /// configuration reader takes back (1023 characters). The file is replaced whole or
  /// not at all; a failure is reported (code 9, also on the debugger output) and gives
  /// false.
  bool Save(const char* fileName);
  /// Logs every variable as " name = text ".
  void Dump();

  /// The first record of the name's bucket with exactly that name, or null.
  N_Var* Find(const char* name) const;

  /// The bucket of a name: from the last character down to the second (the first is not
  /// used), h = (h + the character as a signed byte) << 1, starting at 0; then modulo 1000.
  static std::uint32_t HashVarName(const char* name);

 private:
  /// Registers a record the registry made itself and keeps it.
  void Adopt(std::unique_ptr<N_Var> var, std::uint32_t flags);
  void ReportMissing(const char* name) const;

  std::vector<std::vector<N_Var*>> m_buckets;
  std::vector<std::unique_ptr<N_Var>> m_owned;  ///< records the registry made itself
};
