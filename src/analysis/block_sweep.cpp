#include "analysis/block_sweep.h"

#include "engine/catalogue.h"

namespace cn {

bool DrawsRandom(const clsExprParser& parser) {
  if (!parser.Compiled()) return false;
  const auto& rows = parser.ET();
  for (std::size_t r = 0; r < rows.size() && static_cast<int>(r) <= parser.ETTop(); ++r)
    if (rows[r].FunTok == kRnd) return true;
  return false;
}

}  // namespace cn
