#include "output/version_text.h"

namespace cn {

std::string VersionText(int major, int build) {
  return "Version " + std::to_string(major) + " Build " + std::to_string(build);
}

}  // namespace cn
