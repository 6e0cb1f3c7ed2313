#pragma once
// The front-end's callbacks, bound by name from the page scripts: the functions of
// the program's export table (GetProcAddress), each of its kind. An element callback
// ("onclick", "onmouseenter", "onmouseexit", "onmousedown") takes the element; a page
// callback ("onshow") takes the page. A name the table lacks, or holds as a callback
// of the other kind, binds nothing: it is said in the log with the attribute, the
// owner and, while a page script is read, the file and line.
#include <string>

class N_GuiElement;
class N_GuiPage;

using N_GuiElementCallback = void (*)(N_GuiElement* element);
using N_GuiPageCallback = void (*)(N_GuiPage* page);

/// The element callback of that name, or null (an empty name quietly).
N_GuiElementCallback FindElementCallback(const std::string& name, const char* attribute, const std::string& element);
/// The page callback of that name, or null (an empty name quietly).
N_GuiPageCallback FindPageCallback(const std::string& name, const std::string& page);
