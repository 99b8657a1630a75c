#include "engine/library_calls.h"

namespace cn {

// One-argument routines, codes up to 155.
LibFn1 LibraryFunction1(int code) {
  switch (code) {
    default: return nullptr;
  }
}

// Two-argument routines, codes up to 155.
LibFn2 LibraryFunction2(int code) {
  switch (code) {
    default: return nullptr;
  }
}

// Three-argument routines, codes 201..221.
LibFn3 LibraryFunction3(int code) {
  switch (code) {
    default: return nullptr;
  }
}

// Four-argument routines: hypgeom, wring, wam, wfm.
LibFn4 LibraryFunction4(int code) {
  switch (code) {
    default: return nullptr;
  }
}

// Aggregates over 2..20 arguments, codes from 301.
LibFnList LibraryFunctionList(int code) {
  switch (code) {
    default: return nullptr;
  }
}

}  // namespace cn
