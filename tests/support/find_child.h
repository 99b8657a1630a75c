// Finding a window's parts the way a user names them: every widget and action
// carries its name as objectName.
#pragma once

#include <gtest/gtest.h>
#include <QObject>

// The child of `parent` of type W named `name`, searched recursively. A
// missing child fails the test here, naming it, rather than as a crash later.
template <class W>
W* FindChild(const QObject* parent, const char* name) {
  W* child = parent ? parent->findChild<W*>(QString::fromLatin1(name)) : nullptr;
  EXPECT_NE(child, nullptr) << "no child named " << name;
  return child;
}
