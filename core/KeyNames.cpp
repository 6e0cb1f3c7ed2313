#include "core/KeyNames.h"

#include <array>
#include <string_view>

namespace {

struct Named {
  std::uint8_t code;
  std::string_view name;
};

constexpr Named kNames[] = {
    {1, "Escape"},         {2, "1"},              {3, "2"},              {4, "3"},
    {5, "4"},              {6, "5"},              {7, "6"},              {8, "7"},
    {9, "8"},              {10, "9"},             {11, "0"},             {12, "Minus"},
    {13, "Equals"},        {14, "Backspace"},     {15, "Tab"},           {16, "Q"},
    {17, "W"},             {18, "E"},             {19, "R"},             {20, "T"},
    {21, "Y"},             {22, "U"},             {23, "I"},             {24, "O"},
    {25, "P"},             {26, "Left Bracket"},  {27, "Right Bracket"}, {28, "Enter"},
    {29, "Left Control"},  {30, "A"},             {31, "S"},             {32, "D"},
    {33, "F"},             {34, "G"},             {35, "H"},             {36, "J"},
    {37, "K"},             {38, "L"},             {39, "Semicolon"},     {40, "Apostrophe"},
    {41, "Grave"},         {42, "Left Shift"},    {43, "Backslash"},     {44, "Z"},
    {45, "X"},             {46, "C"},             {47, "V"},             {48, "B"},
    {49, "N"},             {50, "M"},             {51, "Comma"},         {52, "Period"},
    {53, "Slash"},         {54, "Right Shift"},   {55, "Num Multiply"},  {56, "Left Alt"},
    {57, "Space"},         {58, "Capslock"},      {59, "F1"},            {60, "F2"},
    {61, "F3"},            {62, "F4"},            {63, "F5"},            {64, "F6"},
    {65, "F7"},            {66, "F8"},            {67, "F9"},            {68, "F10"},
    {69, "Num Lock"},      {70, "Scroll Lock"},   {71, "Num 7"},         {72, "Num 8"},
    {73, "Num 9"},         {74, "Num Minus"},     {75, "Num 4"},         {76, "Num 5"},
    {77, "Num 6"},         {78, "Num Plus"},      {79, "Num 1"},         {80, "Num 2"},
    {81, "Num 3"},         {82, "Num 0"},         {83, "Num decimal"},   {84, "0x54"},
    {85, "0x55"},          {86, "0x56"},          {87, "F11"},           {88, "F12"},
    {100, "F13"},          {101, "F14"},          {102, "F15"},          {112, "Kana"},
    {121, "Convert"},      {123, "No Convert"},   {125, "Yen"},          {141, "Num Equals"},
    {144, "KEY_CIRCUMFLEX"}, {145, "At"},         {146, "Colon"},        {147, "Underline"},
    {148, "Kanji"},        {149, "Stop"},         {150, "Ax"},           {151, "Unlabeled"},
    {156, "Num Enter"},    {157, "Right Ctrl"},   {179, "Num Comma"},    {181, "Num Divide"},
    {183, "KEY_SYSRQ"},    {184, "Right Alt"},    {198, "Home1"},        {199, "Home"},
    {200, "Up"},           {201, "Page Up"},      {203, "Left"},         {205, "Right"},
    {207, "End"},          {208, "Down"},         {209, "Page Down"},    {210, "Insert"},
    {211, "Delete"},       {217, "Left System"},  {218, "Right System"}, {219, "Menu"},
};

constexpr N_KeyName Record(std::string_view name) {
  N_KeyName record{};
  for (std::size_t i = 0; i < name.size() && i + 1 < sizeof record.name; ++i) record.name[i] = name[i];
  return record;
}

constexpr std::array<N_KeyName, 256> MakeTable() {
  std::array<N_KeyName, 256> table{};
  for (int code = 0; code < 254; ++code) table[code] = Record("???");
  for (const Named& n : kNames) table[n.code] = Record(n.name);
  return table;
}

constexpr std::array<N_KeyName, 256> kTable = MakeTable();
constexpr N_KeyName kEmpty{};

static_assert(std::string_view(kTable[157].name) == "Right Ctrl");
static_assert(std::string_view(kTable[253].name) == "???" && kTable[254].name[0] == '\0');

}  // namespace

const N_KeyName& GetKeyName(int dik) { return dik >= 0 && dik < 256 ? kTable[dik] : kEmpty; }
