// The engine's numbered messages and their placeholder filling.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace cn {

// The engine's message numbers, as ErrorID reports them.
enum class ErrId : int {
  kNone = 0,
  kTooManyVariables = 1,
  kVariableNotFound = 2,
  kAbsMismatch = 4,  // odd number of |
  kSyntaxAt = 5,     // with the position
  kUnknownFunction = 6,
  kTooManyClosing = 7,
  kMissingArgument = 8,
  kTooManyArguments = 9,
  kNotEnoughClosing = 11,
  kSyntax = 12,           // with the offending text
  kFunctionMissing = 13,  // known name, no routine behind it
  kEvalFunction1 = 14,    // f(a) failed
  kEvalFunction2 = 15,    // f(a, b) failed
  kEvalOperator = 16,     // a op b failed
  kEvalLibrary = 17,      // a library routine failed on its argument list
  kNotAssigned = 18,
  kConstantUnknown = 19,
  kTooManyOperations = 20,
  kWrongDms = 21,
  kNoDms = 22,
};

constexpr int Num(ErrId id) { return static_cast<int>(id); }

// ErrMsg(id): the template of message `id`; "" for unused and unknown ids.
std::string_view ErrMsg(int id);
inline std::string_view ErrMsg(ErrId id) { return ErrMsg(Num(id)); }

// The template of `id` with its placeholders filled in order.
std::string ErrorMessage(ErrId id, std::initializer_list<std::string_view> values = {});

}  // namespace cn
