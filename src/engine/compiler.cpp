#include "engine/compiler.h"

#include <algorithm>

#include "core/utf8.h"
#include "engine/catalogue.h"
#include "engine/error_catalogue.h"
#include "engine/operands.h"
#include "engine/table.h"

namespace cn {
namespace {

bool IsExponentSign(std::u32string_view pending) {
  if (pending.size() <= 1) return false;
  if (pending.back() != U'E' && pending.back() != U'e') return false;
  return IsNumber(pending.substr(0, pending.size() - 1));
}

// The last non-blank character before 1-based position i; 0 at the start.
char32_t PrevNonBlankChar(std::u32string_view s, int i) {
  for (int k = i - 1; k >= 1; --k)
    if (s[static_cast<std::size_t>(k - 1)] != U' ') return s[static_cast<std::size_t>(k - 1)];
  return 0;
}

// Number of arguments of a variable-argument call; `t` starts at its opening
// bracket. Only round brackets count.
int CountArguments(std::u32string_view t) {
  int level = 0;
  int separators = 0;
  for (char32_t c : t) {
    if (c == U'(') ++level;
    else if (c == U')') --level;
    else if (c == U',' && level == 1) ++separators;
    if (level == 0) return separators + 1;
  }
  return 1;
}

bool EndsOperand(char32_t c) {
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || c == U'_' ||
         c == U'.';
}

std::string PosText(int pos) { return std::to_string(pos); }

}  // namespace

bool Compiler::Fail(int id, std::string description, int pos) {
  p_.errorId_ = id;
  p_.errorDescription_ = std::move(description);
  p_.errorPos_ = pos;
  return false;
}

bool Compiler::FailAt(int id, std::initializer_list<std::string_view> values, int pos) {
  return Fail(id, ErrorMessage(id, values), pos);
}

void Compiler::NextRow() {
  // Rows are added as the text needs them; the row after the last one always
  // exists and stays empty (the last row's trailing slot is copied from it).
  ++p_.etTop_;
  if (p_.et_.size() < static_cast<std::size_t>(p_.etTop_) + 2) p_.et_.resize(static_cast<std::size_t>(p_.etTop_) + 2);
}

void Compiler::NewRow(int pos, std::string fun, int priLvl, int argTop) {
  NextRow();
  EtRow& row = p_.et_[static_cast<std::size_t>(p_.etTop_)];
  row.PosInExpr = pos;
  row.FunTok = FunctionCode(fun);
  row.Fun = std::move(fun);
  row.PriLvl = priLvl;
  row.ArgTop = argTop;
}

bool Compiler::AddVariable(const std::u32string& token, EtSlot& slot) {
  std::string name = U32ToUtf8(token);
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  int index = 0;
  if (auto it = p_.varIndex_.find(key); it != p_.varIndex_.end()) {
    index = it->second;
  } else {
    if (p_.varTop_ + 1 > kMaxVars) return FailAt(1, {}, p_.errorPos_);
    index = ++p_.varTop_;
    p_.vars_[static_cast<std::size_t>(index)] = VarRecord{name, 0.0, false};
    p_.varIndex_.emplace(std::move(key), index);
  }
  slot.Idx = index;
  slot.Name = std::move(name);
  slot.Value = 0;
  return true;
}

bool Compiler::StoreOperand(std::u32string token, int slotIndex) {
  const int pos = p_.errorPos_;
  if (token.empty()) return FailAt(8, {}, pos);
  EtSlot& slot = p_.et_[static_cast<std::size_t>(p_.etTop_)].Arg[static_cast<std::size_t>(slotIndex)];
  double value = 0;
  bool isValue = false;
  std::u32string unknown;
  switch (ConstantValue(token, value, unknown)) {
    case Recognised::kYes: isValue = true; break;
    case Recognised::kMalformed: return FailAt(19, {U32ToUtf8(unknown)}, pos);
    case Recognised::kNo: break;
  }
  if (!isValue && p_.opUnitConv_ && ParseUnitNumber(token, value)) isValue = true;
  if (!isValue && IsNumber(token)) {
    // A number too large for a double is no number we can compute with.
    if (!NumberValue(token, value)) return FailAt(12, {U32ToUtf8(token)}, pos);
    isValue = true;
  }
  if (!isValue && p_.opDMSConv_) {
    switch (ParseDMS(token, value)) {
      case Recognised::kYes: isValue = true; break;
      case Recognised::kMalformed: return FailAt(21, {}, pos);
      case Recognised::kNo: break;
    }
  }
  if (isValue) {
    slot = EtSlot{0, "", value};
  } else {
    if (!IsVariableName(token)) return FailAt(12, {U32ToUtf8(token)}, pos);
    if (!AddVariable(token, slot)) return false;
  }
  p_.errorDescription_.clear();
  p_.errorId_ = 0;
  pending_.clear();
  return true;
}

bool Compiler::OpenBracket(std::u32string_view s, int i) {
  ++depth_;
  if (pending_.empty()) return true;
  std::string name = U32ToUtf8(pending_);
  int argCount = 0;
  if (IsInList(name, FunListText(0))) {
    NewRow(i, name, depth_ * 10, 1);
  } else if (IsInList(name, FunListText(1))) {
    argCount = 2;
  } else if (IsInList(name, FunListText(2))) {
    argCount = 3;
  } else if (IsInList(name, FunListText(3))) {
    argCount = 4;
  } else if (IsInList(name, FunListText(4))) {
    argCount = CountArguments(s.substr(static_cast<std::size_t>(i - 1)));
    if (argCount > kMaxArgs) return FailAt(9, {PosText(i)}, i);
  } else if (IsNumber(pending_)) {
    return FailAt(5, {PosText(i)}, i);
  } else {
    const int p = i - static_cast<int>(pending_.size());
    return FailAt(6, {name, PosText(p)}, p);
  }
  if (argCount > 0) {
    // More than twenty calls with open argument lists: the table could not
    // hold their rows either, so report it as too many operations.
    if (funDepth_ >= kFunStackSize) return FailAt(20, {}, i);
    funStack_[static_cast<std::size_t>(funDepth_++)] = FunEntry{std::move(name), argCount, argCount - 1, i};
  }
  pending_.clear();
  return true;
}

bool Compiler::Comparison(char32_t c, int i) {
  if (pendingRelOp_.empty()) {
    if (p_.etTop_ > 0 && IsComparison(p_.et_[static_cast<std::size_t>(p_.etTop_)].Fun)) {
      // A chained comparison such as 0<x<1 joins its parts with a product.
      NewRow(i, "*", (depth_ - 1) * 10 + 3, 2);
      const std::u32string keep = pending_;
      if (!StoreOperand(keep, 1)) return false;
      pending_ = keep;
    }
    NextRow();
    operatorSeen_ = true;
    if (!StoreOperand(pending_, 1)) return false;
  }
  pendingRelOp_ += static_cast<char>(c);
  EtRow& row = p_.et_[static_cast<std::size_t>(p_.etTop_)];
  row.PosInExpr = i;
  row.Fun = pendingRelOp_;
  row.FunTok = FunctionCode(pendingRelOp_);
  row.PriLvl = depth_ * 10 + 1;
  row.ArgTop = 2;
  if (row.FunTok == kUnknown) return FailAt(5, {PosText(i)}, i);
  return true;
}

bool Compiler::HandleChar(std::u32string_view s, int i, bool& again) {
  const char32_t c = s[static_cast<std::size_t>(i - 1)];
  switch (c) {
    case U' ':
      return true;
    case U'(': case U'[': case U'{':
      return OpenBracket(s, i);
    case U')': case U']': case U'}':
      --depth_;
      closed_ = true;
      if (depth_ < 0) return FailAt(7, {PosText(i)}, i);
      return true;
    case U'+': case U'-': {
      if (IsExponentSign(pending_)) {
        pending_ += c;
        return true;
      }
      if (pending_.empty()) {
        const char32_t p = PrevNonBlankChar(s, i);
        if (p == 0 || p == U'(' || p == U'[' || p == U'{' || p == U'|' || p == U',') pending_ = U"0";
        else return FailAt(8, {}, i);
      }
      NewRow(i, c == U'+' ? "+" : "-", depth_ * 10 + 2, 2);
      operatorSeen_ = true;
      return StoreOperand(pending_, 1);
    }
    case U'*': case U'/': case U'\\':
      NewRow(i, c == U'*' ? "*" : c == U'/' ? "/" : "\\", depth_ * 10 + 3, 2);
      operatorSeen_ = true;
      return StoreOperand(pending_, 1);
    case U'^':
      NewRow(i, "^", depth_ * 10 + 4, 2);
      operatorSeen_ = true;
      return StoreOperand(pending_, 1);
    case U'!': case U'%': {
      NewRow(i, c == U'!' ? "!" : "%", depth_ * 10 + 9, 1);
      if (c == U'%') operatorSeen_ = true;
      const std::u32string keep = pending_;
      if (!StoreOperand(keep, 1)) return false;
      pending_ = keep;
      if (c == U'!') closed_ = true;
      return true;
    }
    case U',': {
      if (funDepth_ == 0 || funStack_[static_cast<std::size_t>(funDepth_ - 1)].Name.empty())
        return FailAt(9, {PosText(i)}, i);
      FunEntry& top = funStack_[static_cast<std::size_t>(funDepth_ - 1)];
      NewRow(top.PosInExpr, top.Name, depth_ * 10, top.ArgCount);
      operatorSeen_ = true;
      if (!StoreOperand(pending_, 1)) return false;
      if (--top.ArgsLeft == 0) {
        top = FunEntry{};
        --funDepth_;
      }
      return true;
    }
    case U'|':
      if (!pending_.empty()) {
        --depth_;
        closed_ = true;
        if (depth_ < 0) return FailAt(5, {PosText(i)}, i);
      } else {
        ++depth_;
        NewRow(i, "abs", depth_ * 10, 1);
      }
      return true;
    case U'=': case U'<': case U'>':
      return Comparison(c, i);
    case U'x': case U'y': case U'z': case U'X': case U'Y': case U'Z':
      if (IsNumber(pending_)) {
        // 2x: the product is implied; the letter is read again afterwards.
        NewRow(i, "*", depth_ * 10 + 3, 2);
        operatorSeen_ = true;
        if (!StoreOperand(pending_, 1)) return false;
        again = true;
        return true;
      }
      pending_ += c;
      return true;
    default:
      pending_ += c;
      return true;
  }
}

bool Compiler::ParseExpression(std::u32string_view s) {
  const int len = static_cast<int>(s.size());
  if (std::count(s.begin(), s.end(), U'|') % 2 != 0) return FailAt(4, {}, 1);

  for (int i = 1; i <= len;) {
    p_.errorPos_ = i;
    bool again = false;
    if (!HandleChar(s, i, again)) return false;
    if (p_.etTop_ > kMaxRows - 2) return FailAt(20, {}, 1);
    if (closed_ && EndsOperand(s[static_cast<std::size_t>(i - 1)])) return FailAt(5, {PosText(i)}, i);
    if (operatorSeen_) {
      operatorSeen_ = false;
      closed_ = false;
    } else {
      pendingRelOp_.clear();
    }
    if (!again) ++i;
  }

  if (depth_ > 0) return FailAt(11, {}, 1);
  auto& et = p_.et_;
  if (p_.etTop_ == 0) {
    // A single operand: 0 + operand.
    NewRow(1, "+", 1, 2);
  }
  const int top = p_.etTop_;
  for (int k = 1; k <= top; ++k)
    et[static_cast<std::size_t>(k)].Arg[static_cast<std::size_t>(std::min(et[static_cast<std::size_t>(k)].ArgTop, 2))] =
        et[static_cast<std::size_t>(k + 1)].Arg[1];
  if (pending_.empty()) return FailAt(8, {}, p_.errorPos_);
  if (!StoreOperand(pending_, std::min(et[static_cast<std::size_t>(top)].ArgTop, 2))) return false;
  if (funDepth_ > 0) return FailAt(8, {}, p_.errorPos_);

  et.resize(static_cast<std::size_t>(top) + 1);
  p_.vars_.resize(static_cast<std::size_t>(p_.varTop_) + 1);
  SortPriorities(et, top);
  LinkOperations(et, top);
  if (SetConditions(et, top) > 0) SortPriorities(et, top);
  ExpandMultiArgs(et, top);
  ClearLinkedArgs(et, top);
  return true;
}

}  // namespace cn
