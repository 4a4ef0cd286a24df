// The window's texts for screen readers. The static texts paint themselves, so
// without this an assistive technology sees only empty areas: here the answer
// (and every other static text) is exposed as static text with what it shows,
// and the offered questions of the conversation window as a list of items in
// screen order, each with a press action that asks it.
#pragma once

#include <QString>

namespace kestrine::qt {

class StaticTextControl;

// Registers the accessible views of the player's controls; called before the
// first window is made. Calling it again does nothing.
void installAccessibility();

// What a static text control reads as: the text it shows, with mnemonic marks
// taken out unless the control shows ampersands as they are.
QString accessibleText(const StaticTextControl& control);

// Tells the accessibility layer that a control's text changed from `previous`
// (as it was set) to what it holds now: its name, its text and, for a question
// line that appears or empties, its place in the list of questions.
void announceTextChange(StaticTextControl* control, const QString& previous);

} // namespace kestrine::qt
