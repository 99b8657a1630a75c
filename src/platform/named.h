// Widgets carry their program name as objectName, so that tests and the
// windows themselves find them by it.
#pragma once

#include <QString>

namespace cn {

template <class W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace cn
