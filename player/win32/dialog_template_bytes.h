// A dialog template from player/res turned into the in-memory DLGTEMPLATEEX
// that DialogBoxIndirectParamW reads, so the window and the About box need no
// second copy of their layout in a resource script.
#pragma once

#include "window/dialog_templates.h"

#include <windows.h>

#include <vector>

namespace kestrine::win32 {

class DialogTemplateBytes {
  public:
    explicit DialogTemplateBytes(const DialogTemplate& dialogTemplate);

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }

  private:
    void add(WORD word) { words.push_back(word); }
    void addDword(DWORD value);
    void addText(const char* text);
    void alignToDword();
    void addControl(const ControlTemplate& control);

    // Words keep the alignment the format asks for; the allocation is
    // aligned for any type, so DWORD offsets inside are aligned too.
    std::vector<WORD> words;
};

} // namespace kestrine::win32
