#include "engine/table.h"

#include <algorithm>
#include <numeric>

#include "engine/catalogue.h"

namespace cn {

void SortPriorities(std::vector<EtRow>& et, int n) {
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 1);
  // Equal levels keep their table order: that gives left-to-right evaluation.
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return et[a].PriLvl > et[b].PriLvl; });
  for (int k = 1; k <= n; ++k) et[k].PriIdx = order[static_cast<std::size_t>(k - 1)];
}

void LinkOperations(std::vector<EtRow>& et, int n) {
  const auto linkTo = [&](int a, int target, bool left) {
    et[a].ArgOf = target;
    et[a].ArgIdx = left ? std::min(et[target].ArgTop, 2) : 1;
  };
  for (int k = 1; k <= n; ++k) {
    const int a = et[k].PriIdx;
    int b = a - 1;
    while (b > 0 && et[b].ArgOf != 0) --b;
    int j = a + 1;
    while (j <= n && et[j].ArgOf != 0) ++j;
    const bool hasJ = j <= n;
    if (b == 0 && !hasJ) break;  // the root: always the last row of the order
    if (b != 0 && hasJ) {
      if (et[b].PriLvl < et[j].PriLvl)
        linkTo(a, j, false);
      else
        linkTo(a, b, true);
    } else if (b != 0) {
      linkTo(a, b, true);
    } else {
      linkTo(a, j, false);
    }
  }
}

int SetConditions(std::vector<EtRow>& et, int n) {
  struct Guard {
    int g;
    int consumer;
  };
  std::vector<Guard> guards;
  std::vector<int> marks(static_cast<std::size_t>(n) + 1, 0);
  for (int j = 1; j <= n; ++j) {
    if (!IsComparison(et[j].Fun)) continue;
    marks[j] = 2;
    auto same = std::find_if(guards.begin(), guards.end(), [&](const Guard& e) { return e.consumer == et[j].ArgOf; });
    if (same != guards.end()) {
      // Two comparisons feeding one row: that row becomes the guard.
      const int consumer = same->consumer;
      same->g = consumer;
      same->consumer = et[consumer].ArgOf;
      if (consumer >= 1 && consumer <= n) marks[consumer] = 2;
    } else {
      guards.push_back({j, et[j].ArgOf});
    }
  }
  if (guards.empty()) return 0;
  for (const Guard& entry : guards) {
    if (entry.consumer < 1 || entry.consumer > n || et[entry.consumer].Fun != "*") continue;
    std::vector<int> mark = marks;
    for (int l = 1; l <= n; ++l) {
      int e = l;
      for (int steps = 0; steps < n; ++steps) {
        if (mark[e] == -1 || et[e].ArgOf == 0) {
          mark[l] = -1;  // not in the guarded factor
          break;
        }
        if (mark[e] == 2) {
          et[l].PriLvl += 100;  // computes the guard: evaluate it first
          break;
        }
        if (mark[e] == 1 || et[e].ArgOf == entry.consumer) {
          mark[l] = 1;
          et[l].Cond = entry.g;
          break;
        }
        e = et[e].ArgOf;
      }
    }
  }
  return static_cast<int>(guards.size());
}

void ExpandMultiArgs(std::vector<EtRow>& et, int n) {
  for (int a = 1; a <= n; ++a) {
    const int argTop = et[a].ArgTop;
    if (argTop <= 2) continue;
    for (int m = 3; m <= argTop; ++m) {
      const int x = et[a].ArgOf;
      if (x < 1 || x > n) break;  // a well-formed call always has its next row here
      et[a].ArgOf = et[x].ArgOf;
      et[a].ArgIdx = et[x].ArgIdx;
      et[x].Fun = "@Right";
      et[x].FunTok = kRight;
      et[x].ArgTop = 2;
      et[x].ArgOf = a;
      et[x].ArgIdx = m;
      // The carrier must run before the call it feeds.
      for (int k = 1; k <= n; ++k) {
        if (et[k].PriIdx == a)
          et[k].PriIdx = x;
        else if (et[k].PriIdx == x)
          et[k].PriIdx = a;
      }
    }
  }
}

void ClearLinkedArgs(std::vector<EtRow>& et, int n) {
  for (int r = 1; r <= n; ++r) {
    if (et[r].ArgOf <= 0 || et[r].ArgIdx <= 0) continue;
    EtSlot& slot = et[et[r].ArgOf].Arg[static_cast<std::size_t>(et[r].ArgIdx)];
    slot.Idx = 0;
    slot.Name.clear();
  }
}

}  // namespace cn
