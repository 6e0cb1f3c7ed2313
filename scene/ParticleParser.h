#pragma once
// Reader of one particle script ("scripts\*.particle"): blocks "name { attribute lines }"
// whose attributes fill a new N_ParticleShader each. The particle manager makes one
// parser per file (N_ParticleMng::ParseScript); Parse hands every complete new template
// to the manager and returns the number of templates begun in the file.
//
// Keywords (and the emitter type words) compare without case and take their values
// from their own line only; a missing value is reported and reads as 0. A block name
// that the manager already holds is reported and its whole block skipped (the first
// file read keeps it). Every fault is logged with file, line and template name and
// counted; none stops the parse.
#include "core/Tokenizer.h"
#include "core/Vector3.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

class N_ParticleMng;
class N_ParticleShader;

class N_ParticleParser : public N_Tokenizer {
 public:
  N_ParticleParser() = default;
  ~N_ParticleParser() override;

  /// Parses the file into the manager; returns the templates begun (a block still open
  /// at the end of the file is counted but not kept).
  int Parse(const char* fileName, N_ParticleMng& manager);
  /// Logs " !    file(line) - error in 'name': message" and counts it. A null
  /// template gives an empty name.
  [[gnu::format(printf, 3, 4)]] void ReportError(const N_ParticleShader* shader, const char* format, ...);

  int ErrorCount() const { return m_errors; }

 private:
  /// A keyword's handler; false when the name buffer keeps its text (a "type" without
  /// its word).
  using Handler = bool (N_ParticleParser::*)(N_ParticleShader&);
  struct Keyword {
    std::string_view name;
    Handler handler;
  };
  static std::span<const Keyword> Keywords();
  static const Keyword* FindKeyword(const char* token);

  void OpenBlock(N_ParticleMng& manager);
  void CloseBlock(N_ParticleMng& manager);
  void HandleKeyword(const Keyword& keyword, const char* token);
  /// Passes over a duplicate's block after its "{"; false when the file ends first.
  bool SkipBlock();
  /// A word outside a block that turned out to name no block is said (once a file).
  void DropStray();

  // Values come from the keyword's line only: once it has ended, Arg keeps answering null.
  const char* Arg();
  void SkipLine();
  /// The next value of the line, or 0 with `missing` set.
  float Number(bool& missing);
  int Integer(bool& missing);
  /// Each missing value of the line reported on its own with the message.
  N_Vector3 ReadVector(const char* message);

  bool Type(N_ParticleShader& shader);
  bool NumParticles(N_ParticleShader& shader);
  bool EmissionRate(N_ParticleShader& shader);
  bool Shader(N_ParticleShader& shader);
  bool Velocity(N_ParticleShader& shader);
  bool Size(N_ParticleShader& shader);
  bool TargetSize(N_ParticleShader& shader);
  bool Color(N_ParticleShader& shader);
  bool Rotate(N_ParticleShader& shader);
  bool Live(N_ParticleShader& shader);
  bool Restart(N_ParticleShader& shader);
  bool CopyVelocities(N_ParticleShader& shader);
  bool CopySizes(N_ParticleShader& shader);
  bool CopyColors(N_ParticleShader& shader);
  bool MoveWithParent(N_ParticleShader& shader);
  bool FadeOut(N_ParticleShader& shader);
  bool FadeIn(N_ParticleShader& shader);
  bool TrialSize(N_ParticleShader& shader);
  bool Gravity(N_ParticleShader& shader);
  bool KillIfUnseen(N_ParticleShader& shader);
  bool Detail(N_ParticleShader& shader);
  bool Light(N_ParticleShader& shader);
  /// "a [b]": a required (reported with the message when missing), b defaults to a.
  void ReadPair(const char* message, float& a, float& b);

  int m_errors = 0;
  int m_depth = 0;
  int m_created = 0;
  std::string m_name;                     ///< the last token handled: the next block's name
  std::unique_ptr<N_ParticleShader> m_open;  ///< the block being read, until its "}"
  N_ParticleShader* m_current = nullptr;  ///< the template made last (open or registered)
  bool m_lineEnded = false;
  int m_keywordLine = 1;  ///< where the keyword being handled stands (reports name it)
  bool m_ended = false;   ///< the file ended inside a skipped block
  int m_blocks = 0;       ///< blocks begun at depth 0, duplicates included
  std::string m_stray;    ///< a word outside a block that no "{" followed yet
  bool m_strayReported = false;  ///< one such word is said per file
};
