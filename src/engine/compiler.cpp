#include "engine/compiler.h"

#include <algorithm>

#include "core/ascii_text.h"
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
    if (c == U'(')
      ++level;
    else if (c == U')')
      --level;
    else if (c == U',' && level == 1)
      ++separators;
    if (level == 0) return separators + 1;
  }
  return 1;
}

bool EndsOperand(char32_t c) {
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || c == U'_' || c == U'.';
}

std::string PosText(int pos) { return std::to_string(pos); }

}  // namespace

bool Compiler::Fail(ErrId id, std::string description, int pos) {
  error_ = CompileError{id, pos, std::move(description)};
  return false;
}

bool Compiler::FailAt(ErrId id, std::initializer_list<std::string_view> values, int pos) {
  return Fail(id, ErrorMessage(id, values), pos);
}

void Compiler::NextRow() {
  // Rows are added as the text needs them; the row after the last one always
  // exists and stays empty (the last row's trailing slot is copied from it).
  ++t_.etTop;
  if (t_.et.size() < static_cast<std::size_t>(t_.etTop) + 2) t_.et.resize(static_cast<std::size_t>(t_.etTop) + 2);
}

void Compiler::NewRow(int pos, std::string fun, int priLvl, int argTop) {
  NextRow();
  EtRow& row = t_.et[static_cast<std::size_t>(t_.etTop)];
  row.PosInExpr = pos;
  row.FunTok = FunctionCode(fun);
  row.Fun = std::move(fun);
  row.PriLvl = priLvl;
  row.ArgTop = argTop;
}

bool Compiler::AddVariable(const std::u32string& token, EtSlot& slot) {
  std::string name = U32ToUtf8(token);
  std::string key = AsciiLower(name);
  int index = 0;
  if (auto it = t_.varIndex.find(key); it != t_.varIndex.end()) {
    index = it->second;
  } else {
    if (t_.varTop + 1 > kMaxVars) return FailAt(ErrId::kTooManyVariables, {}, pos_);
    index = ++t_.varTop;
    t_.vars[static_cast<std::size_t>(index)] = VarRecord{name, 0.0, false};
    t_.varIndex.emplace(std::move(key), index);
  }
  slot.Idx = index;
  slot.Name = std::move(name);
  slot.Value = 0;
  return true;
}

bool Compiler::StoreOperand(std::u32string token, int slotIndex) {
  const int pos = pos_;
  if (token.empty()) return FailAt(ErrId::kMissingArgument, {}, pos);
  EtSlot& slot = t_.et[static_cast<std::size_t>(t_.etTop)].Arg[static_cast<std::size_t>(slotIndex)];
  double value = 0;
  bool isValue = false;
  std::u32string unknown;
  switch (ConstantValue(token, value, unknown, options_.clock)) {
    case Recognised::kYes:
      isValue = true;
      break;
    case Recognised::kMalformed:
      return FailAt(ErrId::kConstantUnknown, {U32ToUtf8(unknown)}, pos);
    case Recognised::kNo:
      break;
  }
  if (!isValue && options_.unitConv && ParseUnitNumber(token, value)) isValue = true;
  if (!isValue && IsNumber(token)) {
    // A number too large for a double is no number we can compute with.
    if (!NumberValue(token, value)) return FailAt(ErrId::kSyntax, {U32ToUtf8(token)}, pos);
    isValue = true;
  }
  if (!isValue && options_.dmsConv) {
    switch (ParseDMS(token, value)) {
      case Recognised::kYes:
        isValue = true;
        break;
      case Recognised::kMalformed:
        return FailAt(ErrId::kWrongDms, {}, pos);
      case Recognised::kNo:
        break;
    }
  }
  if (isValue) {
    slot = EtSlot{0, "", value};
  } else {
    if (!IsVariableName(token)) return FailAt(ErrId::kSyntax, {U32ToUtf8(token)}, pos);
    if (!AddVariable(token, slot)) return false;
  }
  pending_.clear();
  return true;
}

bool Compiler::OpenBracket(std::u32string_view s, int i) {
  ++depth_;
  if (pending_.empty()) return true;
  std::string name = U32ToUtf8(pending_);
  int argCount = 0;
  const FunctionEntry* f = FindFunction(name);
  const Arity arity = f ? f->arity : Arity::kOperator;
  if (arity == Arity::kOne) {
    NewRow(i, name, depth_ * 10, 1);
  } else if (arity == Arity::kTwo) {
    argCount = 2;
  } else if (arity == Arity::kThree) {
    argCount = 3;
  } else if (arity == Arity::kFour) {
    argCount = 4;
  } else if (arity == Arity::kList) {
    argCount = CountArguments(s.substr(static_cast<std::size_t>(i - 1)));
    if (argCount > kMaxArgs) return FailAt(ErrId::kTooManyArguments, {PosText(i)}, i);
  } else if (IsNumber(pending_)) {
    return FailAt(ErrId::kSyntaxAt, {PosText(i)}, i);
  } else {
    const int p = i - static_cast<int>(pending_.size());
    return FailAt(ErrId::kUnknownFunction, {name, PosText(p)}, p);
  }
  if (argCount > 0) {
    // More than twenty calls with open argument lists: the table could not
    // hold their rows either, so report it as too many operations.
    if (funDepth_ >= kFunStackSize) return FailAt(ErrId::kTooManyOperations, {}, i);
    funStack_[static_cast<std::size_t>(funDepth_++)] = FunEntry{std::move(name), argCount, argCount - 1, i};
  }
  pending_.clear();
  return true;
}

bool Compiler::Comparison(char32_t c, int i) {
  if (pendingRelOp_.empty()) {
    if (t_.etTop > 0 && IsComparison(t_.et[static_cast<std::size_t>(t_.etTop)].Fun)) {
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
  EtRow& row = t_.et[static_cast<std::size_t>(t_.etTop)];
  row.PosInExpr = i;
  row.Fun = pendingRelOp_;
  row.FunTok = FunctionCode(pendingRelOp_);
  row.PriLvl = depth_ * 10 + 1;
  row.ArgTop = 2;
  if (row.FunTok == kUnknown) return FailAt(ErrId::kSyntaxAt, {PosText(i)}, i);
  return true;
}

bool Compiler::HandleChar(std::u32string_view s, int i, bool& again) {
  const char32_t c = s[static_cast<std::size_t>(i - 1)];
  switch (c) {
    case U' ':
      return true;
    case U'(':
    case U'[':
    case U'{':
      return OpenBracket(s, i);
    case U')':
    case U']':
    case U'}':
      --depth_;
      closed_ = true;
      if (depth_ < 0) return FailAt(ErrId::kTooManyClosing, {PosText(i)}, i);
      return true;
    case U'+':
    case U'-': {
      if (IsExponentSign(pending_)) {
        pending_ += c;
        return true;
      }
      if (pending_.empty()) {
        const char32_t p = PrevNonBlankChar(s, i);
        if (p == 0 || p == U'(' || p == U'[' || p == U'{' || p == U'|' || p == U',')
          pending_ = U"0";
        else
          return FailAt(ErrId::kMissingArgument, {}, i);
      }
      NewRow(i, c == U'+' ? "+" : "-", depth_ * 10 + 2, 2);
      operatorSeen_ = true;
      return StoreOperand(pending_, 1);
    }
    case U'*':
    case U'/':
    case U'\\':
      NewRow(i, c == U'*' ? "*" : c == U'/' ? "/" : "\\", depth_ * 10 + 3, 2);
      operatorSeen_ = true;
      return StoreOperand(pending_, 1);
    case U'^':
      NewRow(i, "^", depth_ * 10 + 4, 2);
      operatorSeen_ = true;
      return StoreOperand(pending_, 1);
    case U'!':
    case U'%': {
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
        return FailAt(ErrId::kTooManyArguments, {PosText(i)}, i);
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
        if (depth_ < 0) return FailAt(ErrId::kSyntaxAt, {PosText(i)}, i);
      } else {
        ++depth_;
        NewRow(i, "abs", depth_ * 10, 1);
      }
      return true;
    case U'=':
    case U'<':
    case U'>':
      return Comparison(c, i);
    case U'x':
    case U'y':
    case U'z':
    case U'X':
    case U'Y':
    case U'Z':
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

CompileResult Compile(std::u32string_view s, CompileOptions options) {
  Compiler compiler(options);
  if (!compiler.ParseExpression(s)) return std::move(compiler.error_);
  return std::move(compiler.t_);
}

Compiler::Compiler(CompileOptions options) : options_(options) {
  t_.et.assign(2, EtRow{});
  t_.vars.assign(static_cast<std::size_t>(kMaxVars) + 1, VarRecord{});
}

bool Compiler::ParseExpression(std::u32string_view s) {
  const int len = static_cast<int>(s.size());
  if (std::count(s.begin(), s.end(), U'|') % 2 != 0) return FailAt(ErrId::kAbsMismatch, {}, 1);

  for (int i = 1; i <= len;) {
    pos_ = i;
    bool again = false;
    if (!HandleChar(s, i, again)) return false;
    if (t_.etTop > kMaxRows - 2) return FailAt(ErrId::kTooManyOperations, {}, 1);
    if (closed_ && EndsOperand(s[static_cast<std::size_t>(i - 1)])) return FailAt(ErrId::kSyntaxAt, {PosText(i)}, i);
    if (operatorSeen_) {
      operatorSeen_ = false;
      closed_ = false;
    } else {
      pendingRelOp_.clear();
    }
    if (!again) ++i;
  }

  if (depth_ > 0) return FailAt(ErrId::kNotEnoughClosing, {}, 1);
  auto& et = t_.et;
  if (t_.etTop == 0) {
    // A single operand: 0 + operand.
    NewRow(1, "+", 1, 2);
  }
  const int top = t_.etTop;
  for (int k = 1; k <= top; ++k)
    et[static_cast<std::size_t>(k)].Arg[static_cast<std::size_t>(std::min(et[static_cast<std::size_t>(k)].ArgTop, 2))] =
        et[static_cast<std::size_t>(k + 1)].Arg[1];
  if (pending_.empty()) return FailAt(ErrId::kMissingArgument, {}, pos_);
  if (!StoreOperand(pending_, std::min(et[static_cast<std::size_t>(top)].ArgTop, 2))) return false;
  if (funDepth_ > 0) return FailAt(ErrId::kMissingArgument, {}, pos_);

  et.resize(static_cast<std::size_t>(top) + 1);
  t_.vars.resize(static_cast<std::size_t>(t_.varTop) + 1);
  SortPriorities(et, top);
  LinkOperations(et, top);
  if (SetConditions(et, top) > 0) SortPriorities(et, top);
  ExpandMultiArgs(et, top);
  ClearLinkedArgs(et, top);
  t_.lastPos = pos_;
  return true;
}

}  // namespace cn
