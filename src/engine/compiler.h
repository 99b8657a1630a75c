// The scanner that turns an expression text into evaluation-table rows.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/cls_expr_parser.h"

namespace cn {

class Compiler {
 public:
  explicit Compiler(clsExprParser& parser) : p_(parser) {}
  // `s` is the expression, already trimmed. True on success.
  bool ParseExpression(std::u32string_view s);

 private:
  struct FunEntry {
    std::string Name;
    int ArgCount = 0;
    int ArgsLeft = 0;
    int PosInExpr = 0;
  };
  static constexpr int kFunStackSize = 20;

  bool Fail(int id, std::string description, int pos);
  bool FailAt(int id, std::initializer_list<std::string_view> values, int pos);
  void NextRow();
  void NewRow(int pos, std::string fun, int priLvl, int argTop);
  bool StoreOperand(std::u32string token, int slot);
  bool AddVariable(const std::u32string& token, EtSlot& slot);
  bool HandleChar(std::u32string_view s, int i, bool& again);
  bool OpenBracket(std::u32string_view s, int i);
  bool Comparison(char32_t c, int i);

  clsExprParser& p_;
  std::u32string pending_;
  std::string pendingRelOp_;
  int depth_ = 0;
  std::array<FunEntry, kFunStackSize> funStack_{};
  int funDepth_ = 0;
  bool closed_ = false;
  bool operatorSeen_ = false;
};

}  // namespace cn
