#include "engine/cls_expr_parser.h"

#include <algorithm>
#include <cctype>

#include "core/utf8.h"
#include "engine/compiler.h"
#include "engine/error_catalogue.h"
#include "engine/program.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr const char* kSource = "ExprParser";

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

clsExprParser::clsExprParser() = default;
clsExprParser::~clsExprParser() = default;

bool clsExprParser::StoreExpression(std::string_view strExpr) {
  // A failure still waiting for its text refers to the table about to go.
  Materialize();
  expression_ = std::string(TrimBlanks(strExpr));
  compiled_ = false;
  program_.reset();
  et_.assign(static_cast<std::size_t>(kMaxRows) + 2, EtRow{});
  etTop_ = 0;
  vars_.assign(static_cast<std::size_t>(kMaxVars) + 1, VarRecord{});
  varTop_ = 0;
  varIndex_.clear();
  errorDescription_.clear();
  errorId_ = 0;
  errorPos_ = 0;
  errorPending_ = false;

  Compiler compiler(*this);
  if (!compiler.ParseExpression(Utf8ToU32(expression_))) {
    et_.clear();
    etTop_ = 0;
    vars_.assign(1, VarRecord{});
    varTop_ = 0;
    varIndex_.clear();
    return false;
  }
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
  const auto it = varIndex_.find(Lower(name));
  return it == varIndex_.end() ? 0 : it->second;
}

double clsExprParser::VarSymb(std::string_view name) const { return VarValue(FindVar(name)); }

void clsExprParser::VarSymb(std::string_view name, double varVal) { VarValue(FindVar(name), varVal); }

void clsExprParser::AngleUnit(std::string_view angleUM) {
  const std::string unit = Lower(angleUM);
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

void clsExprParser::ResetError() {
  errorDescription_.clear();
  errorId_ = 0;
  errorPending_ = false;
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

void clsExprParser::SubstituteVariables() {
  double* cells = program_->cells.data();
  for (int v = 1; v <= varTop_; ++v)
    cells[program_->varCell[static_cast<std::size_t>(v)]] = vars_[static_cast<std::size_t>(v)].Value;
}

double clsExprParser::Eval() {
  if (!compiled_) {
    Post(1001);
    return 0;
  }
  ResetError();
  if (varTop_ > 0) {
    if (opAssignExplicit_) {
      for (int v = 1; v <= varTop_; ++v) {
        if (!vars_[static_cast<std::size_t>(v)].Assigned) {
          errorId_ = 18;
          errorDescription_ = ErrorMessage(18, {vars_[static_cast<std::size_t>(v)].Name});
          errorPos_ = 1;
          Post(1001);
          return 0;
        }
      }
    }
    SubstituteVariables();
  }
  double result = 0;
  if (EvalTable(result)) return result;
  Post(1001);
  return 0;
}

double clsExprParser::Eval1(double varValue) {
  if (!compiled_) {
    Post(1002);
    return 0;
  }
  ResetError();
  if (varTop_ >= 2) {
    errorId_ = 1;
    errorDescription_ = ErrorMessage(1);
    errorPos_ = 1;
    Post(1002);
    return 0;
  }
  // The value goes straight into the slots; the variable table is not touched.
  if (varTop_ == 1) program_->cells[static_cast<std::size_t>(program_->varCell[1])] = varValue;
  double result = 0;
  if (EvalTable(result)) return result;
  Post(1002);
  return 0;
}

std::vector<double> clsExprParser::EvalMulti(const std::vector<double>& varValue, int varIndex) {
  if (!compiled_) {
    Post(1001);
    return {};
  }
  ResetError();
  if (varTop_ == 0 || varIndex < 1 || varIndex > varTop_) {
    errorId_ = 2;
    errorDescription_ = ErrorMessage(2);
    errorPos_ = 1;
    Post(1001);
    return {};
  }
  const std::size_t n = varValue.empty() ? 0 : varValue.size() - 1;
  std::vector<double> result(n + 1, 0.0);
  for (std::size_t i = 1; i <= n; ++i) {
    vars_[static_cast<std::size_t>(varIndex)].Value = varValue[i];
    SubstituteVariables();
    if (!EvalTable(result[i])) {
      Post(1001);
      return {};
    }
  }
  return result;
}

std::vector<double> clsExprParser::EvalMulti(const std::vector<double>& varValue, std::string_view varName) {
  if (compiled_ && varTop_ > 0 && FindVar(varName) == 0) {
    ResetError();
    errorId_ = 2;
    errorDescription_ = ErrorMessage(2);
    errorPos_ = 1;
    Post(1001);
    return {};
  }
  return EvalMulti(varValue, compiled_ ? FindVar(varName) : 0);
}

}  // namespace cn
