// The bridge from function codes to the numeric routines of the function
// library. A routine rejects its input, or an overflow, division by zero or
// invalid operation inside it, by returning NaN or an infinity; the evaluator
// turns any non-finite result into an evaluation error.
#pragma once

namespace cn {

using LibFn1 = double (*)(double);
using LibFn2 = double (*)(double, double);
using LibFn3 = double (*)(double, double, double);
using LibFn4 = double (*)(double, double, double, double);
// Aggregates: the argument values in the order written, count 2..20.
using LibFnList = double (*)(const double* values, int count);

// nullptr where no routine is wired for the code: evaluating it then fails
// with message 13, "Function < $ > missing?".
LibFn1 LibraryFunction1(int code);
LibFn2 LibraryFunction2(int code);
LibFn3 LibraryFunction3(int code);
LibFn4 LibraryFunction4(int code);
LibFnList LibraryFunctionList(int code);

}  // namespace cn
