#include "engine/cls_expr_parser.h"

#include <algorithm>

#include "core/ascii_text.h"
#include "core/pi.h"
#include "core/utf8.h"
#include "engine/compiler.h"
#include "engine/error_catalogue.h"
#include "engine/program.h"

namespace cn {
namespace {

constexpr const char* kSource = "ExprParser";

}  // namespace

clsExprParser::clsExprParser() = default;
clsExprParser::~clsExprParser() = default;

bool clsExprParser::StoreExpression(std::string_view strExpr) {
  // A failure still waiting for its text refers to the table about to go.
  Materialize();
  expression_ = std::string(Trim(strExpr, " "));
  compiled_ = false;
  program_.reset();
  x1Cell_ = nullptr;
  errorDescription_.clear();
  errorId_ = 0;
  errorPos_ = 0;
  errorPending_ = false;

  CompileResult result = Compile(Utf8ToU32(expression_), CompileOptions{opUnitConv_, opDMSConv_, clock_});
  if (auto* error = std::get_if<CompileError>(&result)) {
    errorId_ = Num(error->id);
    errorDescription_ = std::move(error->text);
    errorPos_ = error->pos;
    et_.clear();
    etTop_ = 0;
    vars_.assign(1, VarRecord{});
    varTop_ = 0;
    varIndex_.clear();
    return false;
  }
  CompiledTable& table = std::get<CompiledTable>(result);
  et_ = std::move(table.et);
  etTop_ = table.etTop;
  vars_ = std::move(table.vars);
  varTop_ = table.varTop;
  varIndex_ = std::move(table.varIndex);
  errorPos_ = table.lastPos;
  BuildProgram();
  compiled_ = true;
  return true;
}

std::string clsExprParser::VarName(int index) const {
  if (index < 1 || index > varTop_) return "";
  return vars_[static_cast<std::size_t>(index)].Name;
}

double clsExprParser::VarValue(int index) const {
  if (index < 1 || index > varTop_) return 0;
  return vars_[static_cast<std::size_t>(index)].Value;
}

void clsExprParser::VarValue(int index, double varVal) {
  if (index < 1 || index > varTop_) return;
  vars_[static_cast<std::size_t>(index)].Value = varVal;
  vars_[static_cast<std::size_t>(index)].Assigned = true;
}

int clsExprParser::FindVar(std::string_view name) const {
  const auto it = varIndex_.find(AsciiLower(name));
  return it == varIndex_.end() ? 0 : it->second;
}

double clsExprParser::VarSymb(std::string_view name) const { return VarValue(FindVar(name)); }

void clsExprParser::VarSymb(std::string_view name, double varVal) { VarValue(FindVar(name), varVal); }

void clsExprParser::AngleUnit(std::string_view angleUM) {
  const std::string unit = AsciiLower(angleUM);
  if (unit == "deg") {
    angleUnit_ = "DEG";
    angleFactor_ = kPi / 180;
  } else if (unit == "grad") {
    angleUnit_ = "GRAD";
    angleFactor_ = kPi / 200;
  } else if (unit == "rad") {
    angleUnit_ = "RAD";
    angleFactor_ = 1.0;
  }
}

const std::string& clsExprParser::ErrorDescription() const {
  if (errorPending_) {
    errorDescription_ = DescribeFailure(pendingFail_);
    errorPending_ = false;
  }
  return errorDescription_;
}

const FailureRecord& clsExprParser::LastFailure() const {
  if (failurePending_) {
    failure_.Description = DescribeFailure(recordFail_);
    failurePending_ = false;
  }
  return failure_;
}

void clsExprParser::Materialize() const {
  ErrorDescription();
  LastFailure();
}

void clsExprParser::Post(int number) {
  failure_.Number = number;
  failure_.Source = kSource;
  if (errorPending_) {
    recordFail_ = pendingFail_;
    failurePending_ = true;
  } else {
    failure_.Description = errorDescription_;
    failurePending_ = false;
  }
}

}  // namespace cn
