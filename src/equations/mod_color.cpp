#include "equations/mod_color.h"

#include "platform/host.h"

namespace cn {

std::uint32_t ShowColorChooser(Host& host, QWidget* owner, bool& accepted, std::uint32_t initial) {
  const auto chosen = host.ChooseColor(owner, initial);
  accepted = chosen.has_value();
  return chosen.value_or(0);
}

}  // namespace cn
