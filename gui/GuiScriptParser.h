#pragma once
// The reader of the GUI page scripts ("scripts\gui\*.gui" below "data"): pages with
// their attributes, elements and containers with their attribute lines, effects,
// templates, includes and "registershader" lines. Everything is created through the
// GUI manager and configured through the attribute tables. Reading never stops the
// game: each fault is logged ("!!! Bad ..." lines, or the manager's reports) and the
// reader goes on after it.
//
// A file is read in lines of at most 1023 characters (a longer line goes on as the
// next one), each trimmed of blanks, tabs and carriage returns; empty lines and lines
// starting "//" are skipped. Block openers are followed by their "{" somewhere later
// in the file: the reader skips to it character by character. Every message about a
// line ends with its place, "(data\scripts\gui\menu.gui:12)"; a file that ends
// inside a block is said once, with the line that opened the block, and what was read
// of the block is kept.
//
// Made by N_GuiMng::ParseGuiFile for one file (and what it includes); the record of
// files read lives in the manager.
#include "platform/win32/Files.h"

#include <string>
#include <vector>

class N_GuiElement;
class N_GuiMng;
class N_GuiPage;
class N_GuiScriptText;

/// The page-script files the manager has read, and those being read now.
struct N_GuiScriptFiles {
  std::vector<std::string> loaded;  ///< as their paths were built, in the order their parse ended
  /// Files compare as the disk holds them: a name spelt in two ways is one file.
  std::vector<platform::FileIdentity> loadedIds;
  std::vector<platform::FileIdentity> open;  ///< whose parse has begun and not ended
};

class N_GuiScriptParser {
 public:
  /// Element blocks nest at most this deep: the reader recurses once per block.
  static constexpr int kMaxDepth = 32;

  N_GuiScriptParser(N_GuiMng& mng, N_GuiScriptFiles& files) : m_mng(mng), m_files(files) {}

  /// One file: skipped (with a log line) when it was read already or is being read
  /// (an include cycle); reported when it cannot be read. It counts as read once its
  /// whole parse, includes included, has ended.
  void ParseGuiFile(const std::string& path);

  /// The next name of the unnamed elements: "AutoElem" and a counter of the program run.
  static std::string NextAutoName();

 private:
  /// The file being read now (an include has its own).
  struct OpenFile {
    N_GuiScriptText& text;
    std::string name;          ///< as messages give it: below the working directory
    bool cutReported = false;  ///< the end inside a block is said once
  };

  /// The next line that is neither empty nor a comment; it becomes the GUI's place.
  bool NextLine(std::string& line);
  /// Makes that line of the open file the GUI's place.
  void SetPlace(int line) const;
  /// Skips to the next "}" (a refused block); the end of the file there is a cut.
  void SkipBlock(int openedAt);
  /// The file ended inside a block, or before a block's "{": said once per file, with
  /// the line that opened the block.
  void ReportCut(const std::string& what, int openedAt);

  /// An element, container or effect line: true when it was one (also a faulty one).
  bool ParseElementBlock(const std::string& line, N_GuiPage* page, bool isTemplate, N_GuiElement* parent);
  /// An effect line (at k the keyword "effect"): its block is read or skipped.
  void ParseEffectLine(const std::string& line, const std::vector<std::string>& fields, std::size_t k,
                       N_GuiPage* page, bool isTemplate, N_GuiElement* parent);
  /// Creates one element, attaches it and reads its block (opened at that line).
  void ParseElementBody(const std::string& type, std::string name, N_GuiPage* page, bool isTemplate,
                        const std::string& templateName, N_GuiElement* parent, int openedAt);
  void ParseElementAttribute(const std::string& line, N_GuiPage* page, N_GuiElement* element);
  void ParseEffectBlock(const std::string& type, N_GuiPage* page, int openedAt);
  void ParsePageAttribute(const std::string& line, N_GuiPage* page);
  /// A bad element/container line, naming the parent (or the page, or a template) and
  /// what was expected or why the line cannot stand there.
  void ReportBadLine(const std::string& line, const std::string& why, N_GuiPage* page, N_GuiElement* parent) const;

  N_GuiMng& m_mng;
  N_GuiScriptFiles& m_files;
  OpenFile* m_file = nullptr;
  int m_depth = 0;  ///< element blocks open now
};
