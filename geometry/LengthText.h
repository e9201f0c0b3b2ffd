// Typed lengths checked before they are used: the value prompts and the
// calculator take a length only when the whole text reads as one in the
// work unit and the length stays within what a drawing can hold, so that
// no typing slip turns silently into 0 and no huge number overflows the
// point sums of a tool.
#pragma once

#include <string>

// The longest length a prompt accepts, in millimetres (10 m, beyond any
// sheet the program prints).
constexpr int kMaxTypedLengthMM = 10000;

enum class LengthTextStatus {
    Ok,          // the text is a length; `value` holds it
    NotANumber,  // empty, or more than a number in the work unit
    TooLarge,    // a number beyond kMaxTypedLengthMM either way
};

// Reads `text` in the work unit (ParseLength's units and forms, blanks
// around it allowed; inch fractions need a denominator other than 0) into
// page units. `value` is written only for Ok.
LengthTextStatus ReadLengthText(const std::string& text, int upm, int unit, int& value);

// The largest length in page units of `upm` units per millimetre.
int MaxTypedLength(int upm);
