// The version line of the About window: the major version and the build
// (revision) number; the minor version is not shown.
#pragma once

#include <string>

namespace cn {

std::string VersionText(int major, int build);

}  // namespace cn
