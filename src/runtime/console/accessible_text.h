// Text beside the screen, for a player who cannot see it: a short text that belongs to the
// current screen (the corridor in words). The window presents it (a live region, a terminal's
// screen-reader mode) or ignores it; it never changes the cells, the picture, a save, or the trace
// unless the trace is asked to carry it.
//
// What the window is told: every PbSetAccessibleText reaches it as a new text, also one that reads
// like the text before (a step between like walls is news to a listener). The text describes the
// picture, so a CLS that clears the picture (modes 0 and 5) takes it away: the window is told an
// empty text, once. Nothing else changes it.
#pragma once

#include <string_view>

namespace kestran {

struct Runtime;

// Hands the window `sjisText` (Shift-JIS) as the current screen's text. Not a statement of the
// program: it neither counts toward the message pump nor checks the break, so a game that
// describes its screens runs exactly as one that does not.
void PbSetAccessibleText(Runtime& rt, std::string_view sjisText);

// The clearing CLS does: tells the window the screen has no text any more, when it had one.
void ClearAccessibleText(Runtime& rt);

}  // namespace kestran
