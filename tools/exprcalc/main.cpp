// exprcalc: a console evaluator over the expression engine, for people and
// for scripts. The line protocol is described in protocol.h.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string_view>

#include "protocol.h"

namespace {

constexpr const char* kUsage =
    "usage: exprcalc [--deg | --grad] [--no-units] [--no-dms] [--help]\n"
    "\n"
    "Reads expressions from standard input, one per line, and writes one\n"
    "result line for each:\n"
    "  EXPR          evaluates EXPR with every variable at 0\n"
    "  EXPR<TAB>X    evaluates EXPR with its variable at X (a decimal number)\n"
    "Output:\n"
    "  ok<TAB>VALUE\n"
    "  err<TAB>ERRORID<TAB>ERRORPOS<TAB>DESCRIPTION\n"
    "Options:\n"
    "  --deg       angles in degrees (default radians)\n"
    "  --grad      angles in grads\n"
    "  --no-units  refuse numbers with units of measure (5kg)\n"
    "  --no-dms    refuse angles in degrees-minutes-seconds (30d15m)\n"
    "  --help      show this text\n";

void Prompt() {
  std::fputs("> ", stderr);
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
  cn::exprcalc::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--deg") {
      options.angleUnit = "DEG";
    } else if (arg == "--grad") {
      options.angleUnit = "GRAD";
    } else if (arg == "--no-units") {
      options.unitConv = false;
    } else if (arg == "--no-dms") {
      options.dmsConv = false;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "exprcalc: unknown option '%s'\n\n%s", argv[i], kUsage);
      return 2;
    }
  }

  std::ios::sync_with_stdio(false);
  const bool interactive = isatty(STDIN_FILENO) != 0;
  if (interactive) {
    std::fprintf(stderr,
                 "exprcalc (Curvenest): type an expression, optionally TAB and an x value; "
                 "Ctrl-D ends.\n");
  }
  cn::exprcalc::RunProtocol(std::cin, std::cout, options, interactive ? &Prompt : nullptr);
  if (interactive) std::fputc('\n', stderr);
  return std::cout.fail() ? 1 : 0;
}
