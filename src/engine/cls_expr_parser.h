// The expression engine: compiles an expression text once into an evaluation
// table, then evaluates it as often as the caller likes. No Qt here.
//
// Failures never throw: every method returns a neutral value (false, 0, an
// empty array) and leaves ErrorID / ErrorDescription / ErrorPos describing
// what went wrong. The evaluation methods also post a failure record
// (1001 for Eval and EvalMulti, 1002 for Eval1, source "ExprParser").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "engine/operands.h"

namespace cn {

enum class ErrId : int;

// One argument slot of a table row.
struct EtSlot {
  int Idx = 0;       // 0 for a constant or computed value, else a variable index
  std::string Name;  // the variable's name as written, or ""
  double Value = 0;
};

inline constexpr int kMaxArgs = 20;   // argument slots per row
inline constexpr int kMaxRows = 200;  // table capacity while compiling
inline constexpr int kMaxVars = 100;

// One row of the evaluation table.
struct EtRow {
  std::string Fun;
  int FunTok = 0;
  std::array<EtSlot, kMaxArgs + 1> Arg{};  // 1..20; element 0 unused
  int ArgTop = 0;
  int ArgOf = 0;
  int ArgIdx = 0;
  double Value = 0;
  int PosInExpr = 0;
  int PriLvl = 0;
  int PriIdx = 0;
  int Cond = 0;
};

// A cell of ET_Dump's table.
using EtCell = std::variant<std::monostate, std::string, int, double>;
using EtTable = std::vector<std::vector<EtCell>>;

// The record the evaluation methods post when they fail.
struct FailureRecord {
  int Number = 0;           // 1001 or 1002; 0 when nothing has been posted
  std::string Source;       // "ExprParser"
  std::string Description;  // the ErrorDescription at the failure
};

struct VarRecord {
  std::string Name;
  double Value = 0;
  bool Assigned = false;
};

class clsExprParser {
 public:
  clsExprParser();
  ~clsExprParser();
  clsExprParser(const clsExprParser&) = delete;
  clsExprParser& operator=(const clsExprParser&) = delete;

  // Trims blanks, compiles, returns Compiled. Text is UTF-8; positions count
  // characters, 1-based.
  bool StoreExpression(std::string_view strExpr);
  const std::string& Expression() const { return expression_; }
  bool Compiled() const { return compiled_; }

  int VarTop() const { return varTop_; }
  std::string VarName(int index) const;
  double VarValue(int index) const;
  void VarValue(int index, double varVal);
  double VarSymb(std::string_view name) const;
  void VarSymb(std::string_view name, double varVal);
  // Variable: by name (text) or by number.
  double Variable(std::string_view name) const { return VarSymb(name); }
  double Variable(int index) const { return VarValue(index); }
  void Variable(std::string_view name, double varVal) { VarSymb(name, varVal); }
  void Variable(int index, double varVal) { VarValue(index, varVal); }

  const std::string& AngleUnit() const { return angleUnit_; }
  void AngleUnit(std::string_view angleUM);
  double AngleFactor() const { return angleFactor_; }

  bool OpAssignExplicit() const { return opAssignExplicit_; }
  void OpAssignExplicit(bool assignEnable) { opAssignExplicit_ = assignEnable; }
  bool OpUnitConv() const { return opUnitConv_; }
  void OpUnitConv(bool convEnable) { opUnitConv_ = convEnable; }
  bool OpDMSConv() const { return opDMSConv_; }
  void OpDMSConv(bool convEnable) { opDMSConv_ = convEnable; }

  // Where DATE#, TIME# and NOW# read the time, as a date serial number (days
  // since 30 December 1899 with the time of day as fraction): the system
  // clock in local time unless set. Read when an expression is compiled.
  void SetClock(SerialClock now) { clock_ = std::move(now); }

  // The message of an evaluation failure is built when first read, so that a
  // failing sample costs no text formatting.
  const std::string& ErrorDescription() const;
  int ErrorID() const { return errorId_; }
  int ErrorPos() const { return errorPos_; }
  // The last posted failure record (Number 0 when none was posted yet).
  const FailureRecord& LastFailure() const;

  double Eval();
  double Eval1(double varValue);
  // Values at indices 1..n (element 0 is ignored); the result has indices
  // 0..n with element 0 = 0. The variable is chosen by number (default 1)
  // or by name.
  std::vector<double> EvalMulti(const std::vector<double>& varValue, int varIndex = 1);
  std::vector<double> EvalMulti(const std::vector<double>& varValue, std::string_view varName);

  // Evaluates at x[0..n) exactly as Eval1 would at each x in turn: y[i] is
  // the value Eval1(x[i]) returns, bit for bit, and failed[i] is 1 where
  // Eval1(x[i]) fails (y[i] is then 0), else 0. Returns the number of failed
  // samples. No text is formatted and, once warmed up, nothing allocated: for
  // a failed sample's message call Eval1 at its x and read ErrorDescription.
  // Afterwards ErrorID is 0 and nothing is posted, unless the whole call is
  // refused (nothing compiled, or more than one variable): then every sample
  // fails and the error fields and record are those Eval1 leaves. The three
  // arrays must not overlap.
  std::size_t EvalBlock(const double* x, double* y, std::uint8_t* failed, std::size_t n);

  void ET_Dump(EtTable& eTable) const;

  // The compiled table, rows 0..ETTop (for tests and tools).
  const std::vector<EtRow>& ET() const { return et_; }
  int ETTop() const { return etTop_; }

 private:
  struct Program;

  // An evaluation failure kept as numbers until its text is wanted.
  struct EvalFailure {
    int row = 0;
    bool missing = false;  // the row's function has no routine (no arguments kept)
    int argc = 0;
    std::array<double, kMaxArgs> args{};
  };

  void ResetError() {
    if (!errorDescription_.empty()) errorDescription_.clear();
    errorId_ = 0;
    errorPending_ = false;
  }
  void Post(int number);
  void Refuse(ErrId id, int record, std::string_view name = {});
  void Materialize() const;
  std::string DescribeFailure(const EvalFailure& f) const;
  int FindVar(std::string_view name) const;
  void SubstituteVariables();
  bool EvalTable(double& result);
  void PrepareBlock();
  std::size_t EvalLanes(const double* x, double* y, std::uint8_t* failed, std::size_t m);
  std::size_t EvalSampleBySample(const double* x, double* y, std::uint8_t* failed, std::size_t n);
  void BuildProgram();

  std::string expression_;
  bool compiled_ = false;
  std::vector<EtRow> et_;
  int etTop_ = 0;
  std::vector<VarRecord> vars_;  // 0..VarTop, record 0 unused
  int varTop_ = 0;
  std::unordered_map<std::string, int> varIndex_;  // lower-cased name -> index

  mutable std::string errorDescription_;
  int errorId_ = 0;
  int errorPos_ = 0;
  mutable bool errorPending_ = false;  // errorDescription_ is still to be built from pendingFail_
  EvalFailure pendingFail_;
  mutable FailureRecord failure_;
  mutable bool failurePending_ = false;  // failure_.Description is still to be built from recordFail_
  EvalFailure recordFail_;

  std::string angleUnit_ = "RAD";
  double angleFactor_ = 1.0;
  bool opAssignExplicit_ = false;
  bool opUnitConv_ = true;
  bool opDMSConv_ = true;
  SerialClock clock_ = NowSerial;

  std::unique_ptr<Program> program_;
  double* x1Cell_ = nullptr;  // the cell of variable 1, where Eval1 puts its value
};

}  // namespace cn
