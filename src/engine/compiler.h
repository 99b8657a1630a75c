// The compiler: expression text in, evaluation table or first error out.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "engine/cls_expr_parser.h"
#include "engine/error_catalogue.h"
#include "engine/operands.h"

namespace cn {

// What a successful compile produces: the evaluation table and the variables
// it refers to.
struct CompiledTable {
  std::vector<EtRow> et;  // rows 0..etTop, row 0 unused
  int etTop = 0;
  std::vector<VarRecord> vars;  // 0..varTop, record 0 unused
  int varTop = 0;
  std::unordered_map<std::string, int> varIndex;  // lower-cased name -> index
  int lastPos = 0;                                // the last position scanned, which ErrorPos keeps after a compile
};

// The first error found; the compile stops there.
struct CompileError {
  ErrId id = ErrId::kNone;
  int pos = 0;
  std::string text;
};

using CompileResult = std::variant<CompiledTable, CompileError>;

struct CompileOptions {
  bool unitConv = true;           // 5km and the like are numbers
  bool dmsConv = true;            // 10d30'15" is a number
  SerialClock clock = NowSerial;  // what DATE#, TIME# and NOW# read
};

// Compiles `s`, the expression already trimmed.
CompileResult Compile(std::u32string_view s, CompileOptions options);

// The scanner that turns an expression text into evaluation-table rows.
class Compiler {
 public:
  explicit Compiler(CompileOptions options);
  // True on success; then the table is complete, else error_ says why.
  bool ParseExpression(std::u32string_view s);

 private:
  friend CompileResult Compile(std::u32string_view s, CompileOptions options);

  struct FunEntry {
    std::string Name;
    int ArgCount = 0;
    int ArgsLeft = 0;
    int PosInExpr = 0;
  };
  static constexpr int kFunStackSize = 20;

  bool Fail(ErrId id, std::string description, int pos);
  bool FailAt(ErrId id, std::initializer_list<std::string_view> values, int pos);
  void NextRow();
  void NewRow(int pos, std::string fun, int priLvl, int argTop);
  bool StoreOperand(std::u32string token, int slot);
  bool AddVariable(const std::u32string& token, EtSlot& slot);
  bool HandleChar(std::u32string_view s, int i, bool& again);
  bool OpenBracket(std::u32string_view s, int i);
  bool Comparison(char32_t c, int i);

  CompileOptions options_;
  CompiledTable t_;
  CompileError error_;
  int pos_ = 0;  // the character being scanned, 1-based
  std::u32string pending_;
  std::string pendingRelOp_;
  int depth_ = 0;
  std::array<FunEntry, kFunStackSize> funStack_{};
  int funDepth_ = 0;
  bool closed_ = false;
  bool operatorSeen_ = false;
};

}  // namespace cn
