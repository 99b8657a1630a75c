// The one colour chooser of the program.
#pragma once

#include <cstdint>

class QWidget;

namespace cn {

class Host;

// Shows the desktop's colour chooser owned by `owner`, starting at `initial`.
// Returns the chosen packed RGB colour and sets `accepted`; 0 when the user
// cancels (pure black therefore reads as "no change" to the callers).
std::uint32_t ShowColorChooser(Host& host, QWidget* owner, bool& accepted, std::uint32_t initial = 0);

}  // namespace cn
