// The version text the windows must show, built from the generated version
// header, so a new release changes one number in CMakeLists.txt, not the tests.
#pragma once

#include <QString>

#include "curvenest_version.h"

namespace cn {

inline QString ExpectedVersion() { return QStringLiteral("Version %1 Build %2").arg(kVersionMajor).arg(kVersionBuild); }

}  // namespace cn
