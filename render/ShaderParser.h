#pragma once
// Reader of the shader scripts ("scripts\*.shader" below the data folder). A script is
// a sequence of "name { ... }" blocks; the shader manager reads each name and either
// has ParseShader fill a record or SkipBlock pass the block over. A block holds header
// keywords, stage blocks "{ ... }" and integer conditions on variables
// ("#if var value" / "#else" / "#endif").
//
// Keywords are looked up in two keyword -> handler tables (header and stage); keyword
// arguments come only from the keyword's own line. Every fault is reported with code
// 12 and the line, then answered with a fallback: a broken script never stops the
// game. One parser per file.
#include "core/Tokenizer.h"
#include "render/Shader.h"

#include <span>
#include <string_view>
#include <vector>

class N_ShaderHost;

class N_ShaderParser : public N_Tokenizer {
 public:
  /// Opens the file; a missing file reads as empty.
  N_ShaderParser(const char* fileName, N_ShaderHost& host);
  ~N_ShaderParser() override = default;

  /// Reads one block, the next token being its "{", into the record.
  void ParseShader(N_Shader& shader);
  /// Reads one stage block after its "{".
  void ParseStage(N_Shader& shader, N_ShaderStage& stage);
  /// Passes over the block whose "{" is the next brace.
  void SkipBlock();
  /// Whether the file ended inside a block (or after a name without its block): a
  /// script cut short.
  bool EndedInsideBlock() const { return m_cut; }

 private:
  using HeaderHandler = void (N_ShaderParser::*)(N_Shader&);
  using StageHandler = void (N_ShaderParser::*)(N_Shader&, N_ShaderStage&);
  struct HeaderKeyword {
    std::string_view name;
    HeaderHandler handler;
  };
  struct StageKeyword {
    std::string_view name;
    StageHandler handler;
  };
  static std::span<const HeaderKeyword> HeaderKeywords();
  static std::span<const StageKeyword> StageKeywords();

  // Token reading. A keyword takes its arguments with Arg(), which never leaves the
  // keyword's line: once the line has ended it keeps answering null.
  const char* NextWord();
  const char* Arg();
  void SkipLine();
  /// Reads numbers up to `limit` or the line end and keeps the first `keep` in `out`
  /// (the rest of `out` untouched); returns how many were read.
  int ReadNumbers(float* out, int keep, int limit);
  float ReadNumber();
  /// A wave: the function word, then base, amplitude, phase and frequency (read up to 5
  /// numbers); the function code goes to out[0]. Returns the numbers read.
  int ReadWave(float* out);
  WaveFunc ParseWaveFunc(const char* word);
  /// The line of the keyword being handled (where the fault is).
  int FaultLine() const { return m_wordLine; }

  // Conditions. Each returns after the condition and, when skipping, its skip.
  bool HandleCondition(const char* word);
  void ConditionIf();
  void ConditionElse();
  void ConditionEndif();
  void SkipConditional();
  bool PopCondition();  ///< false (with a report) when nothing is open
  bool TopCondition() const { return !m_conditions.empty() && m_conditions.back(); }

  void AddStageOrSkip(N_Shader& shader);
  void SkipStageBlock();
  void AddNamedTexture(N_ShaderStage& stage, const char* name, float frequency);

  // Header keywords (ShaderParserHeader.cpp).
  void ReadFx(N_Shader& shader);
  void ReadCull(N_Shader& shader);
  void ReadNoPicmip(N_Shader& shader);
  void ReadNoMipmaps(N_Shader& shader);
  void ReadNoCompress(N_Shader& shader);
  void ReadPolygonOffset(N_Shader& shader);
  void ReadPortal(N_Shader& shader);
  void ReadSort(N_Shader& shader);
  void ReadDeformVertexes(N_Shader& shader);
  void ReadDeformKind(const char* kind, N_ShaderDeform& deform);
  void ReadDeformNormal(N_ShaderDeform& deform);
  void ReadAmbient(N_Shader& shader);
  void ReadDiffuse(N_Shader& shader);
  void ReadEmissive(N_Shader& shader);
  void ReadSpecular(N_Shader& shader);
  void ReadSurfaceParm(N_Shader& shader);
  void SkipEditorLine(N_Shader& shader);

  // Stage keywords (ShaderParserStage.cpp).
  void ReadMap(N_Shader& shader, N_ShaderStage& stage);
  void ReadLightmap(N_Shader& shader, N_ShaderStage& stage);
  void ReadClampMap(N_Shader& shader, N_ShaderStage& stage);
  void ReadAnimMap(N_Shader& shader, N_ShaderStage& stage);
  void ReadAnimFrames(N_ShaderStage& stage, float frequency);
  void ParseIfl(const char* fileName, N_ShaderStage& stage);
  void ReadMipmapBias(N_Shader& shader, N_ShaderStage& stage);
  void ReadBlendFunc(N_Shader& shader, N_ShaderStage& stage);
  void ReadDepthFunc(N_Shader& shader, N_ShaderStage& stage);
  void ReadDepthWrite(N_Shader& shader, N_ShaderStage& stage);
  void ReadDepthWriteNone(N_Shader& shader, N_ShaderStage& stage);
  void ReadDetail(N_Shader& shader, N_ShaderStage& stage);
  void ReadAlphaFunc(N_Shader& shader, N_ShaderStage& stage);
  void ReadRgbGen(N_Shader& shader, N_ShaderStage& stage);
  void ReadAlphaGen(N_Shader& shader, N_ShaderStage& stage);
  void ReadTcGen(N_Shader& shader, N_ShaderStage& stage);
  void ReadTcMod(N_Shader& shader, N_ShaderStage& stage);

  N_ShaderHost& m_host;
  bool m_sortGiven = false;          ///< a "sort" was seen in the current block
  std::vector<bool> m_conditions;    ///< one per open "#if": whether it held
  bool m_skipping = false;           ///< ordinary tokens are ignored
  bool m_lineEnded = false;          ///< Arg() has reached the end of the keyword's line
  int m_wordLine = 1;                ///< line of the last token read with NextWord()
  bool m_cut = false;                ///< the file ended inside a block
};
