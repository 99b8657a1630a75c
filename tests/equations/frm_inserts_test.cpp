#include "equations/frm_inserts.h"

#include <gtest/gtest.h>
#include <QListWidget>
#include <QTest>

namespace cn {
namespace {

TEST(InsertList, HoldsTheFunctionsAndConstantsInOrder) {
  QStringList tokens;
  frmInserts inserts(nullptr, [&](const QString& token) { tokens << token; });
  auto* lstIns = inserts.findChild<QListWidget*>("lstIns");
  ASSERT_NE(lstIns, nullptr);
  ASSERT_EQ(lstIns->count(), 42);
  struct Entry {
    int row;
    const char* text;
    const char* token;
  };
  const Entry entries[] = {
      {0, "abs( - Absolute Value", "abs("},
      {10, "sgn( - Sine", "sgn("},
      {33, "asech( - inverse hyperbolic secant", "asech("},
      {34, "acoth( - inverse hyperbolic cotangent", "acoth("},
      {35, "rad( - Radiant Conversion", "rad("},
      {36, "deg( - Degree sess. Conversion", "deg("},
      {37, "grad( - Degree cent. Conversion", "grad("},
      {38, "pi# - PI", "pi#"},
      {39, "e# - Euler-Napier's (e)", "e#"},
      {41, "phi# - Euler's phi", "phi#"},
  };
  for (const Entry& e : entries) {
    EXPECT_EQ(lstIns->item(e.row)->text(), e.text) << e.row;
    tokens.clear();
    lstIns->setCurrentRow(e.row);
    inserts.lstIns_Click();
    EXPECT_EQ(tokens, QStringList{e.token}) << e.row;
  }
  // Every entry is "token - description" with a function or constant token.
  for (int row = 0; row < lstIns->count(); ++row) {
    const QString text = lstIns->item(row)->text();
    const QString token = text.section(' ', 0, 0);
    EXPECT_TRUE(text.startsWith(token + " - ")) << text.toStdString();
    EXPECT_TRUE(row < 38 ? token.endsWith('(') : token.endsWith('#')) << text.toStdString();
  }
}

TEST(InsertList, EnterAppliesTheCurrentEntry) {
  QStringList tokens;
  frmInserts inserts(nullptr, [&](const QString& token) { tokens << token; });
  auto* lstIns = inserts.findChild<QListWidget*>("lstIns");
  inserts.show();
  lstIns->setCurrentRow(11);
  QTest::keyClick(lstIns, Qt::Key_Return);
  EXPECT_EQ(tokens, QStringList{"sqrt("});
}

}  // namespace
}  // namespace cn
