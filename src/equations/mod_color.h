// The one colour chooser of the program.
#pragma once

#include <cstdint>

class QWidget;

namespace cn {

class Host;

// Shows the desktop's colour chooser owned by `owner`, starting at `initial`.
// Returns the chosen packed RGB colour and sets `accepted`; 0 with `accepted`
// false when the user cancels, so only `accepted` tells Cancel from black.
std::uint32_t ShowColorChooser(Host& host, QWidget* owner, bool& accepted, std::uint32_t initial = 0);

}  // namespace cn
