// Where each character and talk unit of a loaded script stands in its file,
// as the loader tells it while it loads: the lines a tool points an author
// at. Given to the load as its listener; like the load's records, only what
// was read whole is kept.
#pragma once

#include "murmex/script_syntax.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

class ScriptPlaces final : public SyntaxListener {
  public:
    // 1-based line of the name of character c; 0 when there is none.
    int32_t characterLine(int32_t c) const;
    // 1-based line of the '{' that opens unit u of character c; 0 for none.
    int32_t unitLine(int32_t c, int32_t u) const;
    // Lines on which the header's colour and text colour end; 0 before a load.
    int32_t colorLine() const { return colorEnd; }
    int32_t textColorLine() const { return textColorEnd; }

    // A header colour's component as the script writes it: the value's
    // text, which may hold a number the model keeps only part of, and its
    // line. Empty, on line 0, before a load.
    struct WrittenComponent {
        std::string text;
        int32_t line = 0;
    };
    // Component 0 to 2 of ScriptField::Color or ScriptField::TextColor.
    const WrittenComponent& colorComponent(ScriptField field, uint8_t component) const;

    // For a reader that loads one character again alone: character c takes
    // the places of `part`'s first character, `shift` lines further down,
    // and every character after it moves `addedLines` lines.
    void replaceCharacter(int32_t c, const ScriptPlaces& part, int32_t shift, int32_t addedLines);

    void field(const SyntaxFieldEvent& event) override;
    void open(ScriptBlock block, const SyntaxSpan& at) override;
    void close(ScriptBlock block, const SyntaxSpan& at) override;

  private:
    struct Character {
        int32_t line = 0;
        std::vector<int32_t> unitLines;
    };

    std::vector<Character> characters;
    // What is being read: kept when its block closes.
    Character character;
    int32_t openedOn = 0;
    int32_t nameLine = 0;
    int32_t colorEnd = 0;
    int32_t textColorEnd = 0;
    // The colour's components, then the text colour's.
    std::array<WrittenComponent, 6> components;
};

} // namespace murmex::tool
