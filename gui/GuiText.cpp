#include "gui/GuiText.h"

#include "core/Font.h"
#include "core/Tokenizer.h"
#include "gui/GuiServices.h"
#include "platform/win32.h"
#include "render/TextBatch.h"

#include <algorithm>

namespace {

/// The word that forces a line break in a wrapped caption: a backslash and an n.
bool IsLineBreakWord(const char* word) { return platform::EqualsNoCase(word, "\\n"); }

}  // namespace

N_GuiText::N_GuiText(std::string name) : N_GuiElement(std::move(name)) {
  if (RegisterClass("N_GuiText")) N_GuiText::BuildAttributes();
}

const std::string& N_GuiText::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiText::SetEnabled(bool enabled) {
  N_GuiElement::SetEnabled(enabled);
  m_currentColour = !enabled && m_disabledColour >= 0 ? m_disabledColour : m_normalColour;
}

void N_GuiText::SetCaption(const std::string& caption) {
  N_GuiElement::SetCaption(caption);
  SplitLines();
  AutoSize();
}

void N_GuiText::SetMetricsMode(std::int32_t mode) {
  N_GuiElement::SetMetricsMode(mode);
  // A batcher scale: the default 0.015 gives 7.2.
  if (mode == kRelative) m_charHeight = m_relativeCharHeight * kScreenHeight;
}

int N_GuiText::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  if (event.type == N_GuiEventType::Enter && m_highlightColour >= 0) {
    m_currentColour = m_highlightColour;
  } else if (event.type == N_GuiEventType::Exit) {
    m_currentColour = m_normalColour;
  }
  return N_GuiElement::HandleEvent(event);
}

void N_GuiText::SetFontName(const std::string& name) {
  // An empty name (copied from an element without a font) keeps the font.
  if (name.empty()) return;
  m_fontName = name;
  m_fontShader = GuiAddShader(name);
  m_font = g_guiServices.fonts ? LoadFont(*g_guiServices.fonts, name.c_str()) : nullptr;
}

void N_GuiText::SetCharHeightAttribute(float height) {
  if (GetMetricsMode() == kPixels) {
    m_charHeight = height;
  } else {
    m_relativeCharHeight = height;
  }
}

void N_GuiText::SetColor(std::int32_t colour) {
  m_normalColour = colour;
  m_currentColour = colour;
}

void N_GuiText::SetMultiline(bool multiline) {
  m_multiline = multiline;
  SplitLines();
}

void N_GuiText::SetAutoSize(bool autosize) {
  m_autosize = autosize;
  AutoSize();
}

void N_GuiText::Measure(const std::string& text, float& width, float& height) const {
  width = 0.0f;
  height = 0.0f;
  if (g_guiServices.textBatch) g_guiServices.textBatch->MeasureText(text.c_str(), m_font, m_charHeight, &width, &height);
}

void N_GuiText::SplitLines() {
  if (!m_multiline) return;
  m_lines.clear();
  std::string line;
  const std::string caption = StoredCaption();
  N_Tokenizer words;
  words.OpenString(caption.c_str());
  while (const char* word = words.NextToken(true)) {
    // Every appended word brings its blank, the first of a line too.
    const std::string candidate = line + " " + word;
    float width = 0.0f, height = 0.0f;
    Measure(candidate, width, height);
    const bool lineBreak = IsLineBreakWord(word);
    if (width <= GetWidth() && !lineBreak) {
      line = candidate;
    } else {
      m_lines.push_back(line);
      line = lineBreak ? std::string() : std::string(word);
    }
  }
  if (!line.empty()) m_lines.push_back(line);
}

void N_GuiText::AutoSize() {
  if (!m_autosize) return;
  float width = 0.0f, height = 0.0f;
  if (!m_multiline) {
    Measure(StoredCaption(), width, height);
    SetPixelSize(width, height);
    return;
  }
  float widest = 0.0f;
  for (const std::string& line : m_lines) {
    Measure(line, width, height);
    widest = std::max(widest, width);
  }
  // One line's height; with no lines the height stays.
  SetPixelSize(widest, m_lines.empty() ? GetHeight() : height);
}

void N_GuiText::QueueLine(const std::string& text, float x, float y, std::int32_t valign, std::int32_t colour) const {
  if (!g_guiServices.textBatch) return;
  g_guiServices.textBatch->AddFontText(text.c_str(), m_fontShader, m_font, x, y, m_alignment, valign, m_charHeight,
                                       colour, GetAlpha());
}

void N_GuiText::TextAnchor(float& x, float& y) {
  x = GetScreenX();
  y = GetScreenY();
  if (m_alignment == kAlignRight) {
    x += GetWidth();
  } else if (m_alignment == kAlignCenter) {
    x += GetWidth() * 0.5f;
  }
  if (m_valignment == kAlignBottom) {
    y += GetHeight();
  } else if (m_valignment == kAlignMiddle) {
    y += GetHeight() * 0.5f;
  }
}

void N_GuiText::Render() {
  float x = 0.0f, y = 0.0f;
  TextAnchor(x, y);
  const std::string& caption = StoredCaption();
  if (!IsVisible() || caption.empty()) return;
  if (!m_multiline) {
    if (m_shadow != 0.0f) QueueLine(caption, x + m_shadow, y + m_shadow, m_valignment, m_shadowColour);
    QueueLine(caption, x, y, m_valignment, m_currentColour);
    return;
  }
  if (m_lines.empty()) return;
  float width = 0.0f, lineHeight = 0.0f;
  Measure(m_lines.front(), width, lineHeight);
  for (const std::string& line : m_lines) {
    if (m_shadow != 0.0f) QueueLine(line, x + m_shadow, y + m_shadow, kAlignTop, m_shadowColour);
    QueueLine(line, x, y, kAlignTop, m_currentColour);
    y += lineHeight;
  }
}

namespace {

using X = N_GuiText;
using T = N_GuiAttributeType;

constexpr N_GuiWords kAlignmentWords{{"left", "center", "right"}, N_GuiElement::kAlignLeft};
constexpr N_GuiWords kVAlignmentWords{{"top", "center", "bottom"}, N_GuiElement::kAlignTop};

const N_GuiAttributeRow kTextRows[] = {
    {"charheight", "Sets the height of the characters in relation to the screen.", T::Number,
     NumberAccessor<X, &X::GetCharHeight, &X::SetCharHeightAttribute>()},
    {"fontname", "Sets the name of the font to use.", T::Text, TextAccessor<X, &X::GetFontName, &X::SetFontName>()},
    {"alignment", "Sets the horizontal alignment of the text.", T::Text,
     WordsAccessor<X, &X::GetAlignment, &X::SetAlignment, kAlignmentWords>()},
    {"valignment", "Sets the vertical alignment of the text.", T::Text,
     WordsAccessor<X, &X::GetVAlignment, &X::SetVAlignment, kVAlignmentWords>()},
    {"color", "Sets the color of the font.", T::Integer, IntegerAccessor<X, &X::GetColor, &X::SetColor>()},
    {"disabledcolor", "Sets the caption's font color when disabled.", T::Integer,
     IntegerAccessor<X, &X::GetDisabledColor, &X::SetDisabledColor>()},
    {"highlightcolor", "Sets the caption's font color when highlighted.", T::Integer,
     IntegerAccessor<X, &X::GetHighlightColor, &X::SetHighlightColor>()},
    {"multiline", "Allows the text to be splitted in multiple lines.", T::Boolean,
     BoolAccessor<X, &X::GetMultiline, &X::SetMultiline>()},
    {"autosize", "Compute the width and height of an element automaticaly based on the caption.", T::Boolean,
     BoolAccessor<X, &X::GetAutoSize, &X::SetAutoSize>()},
    {"shadow", "Sets the offset of the text shadow.", T::Number, NumberAccessor<X, &X::GetShadow, &X::SetShadow>()},
    {"shadowcolor", "Sets the color of the shadow.", T::Integer,
     IntegerAccessor<X, &X::GetShadowColor, &X::SetShadowColor>()},
};

}  // namespace

void N_GuiText::BuildAttributes() {
  N_GuiElement::BuildAttributes();
  AppendAttributes(kTextRows);
}
