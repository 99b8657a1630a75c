// The finishing steps that turn the compiler's rows into an evaluation order
// with links from each row's result to the slot that consumes it.
#pragma once

#include <vector>

#include "engine/cls_expr_parser.h"

namespace cn {

// Rows are et[1..n]; et[0] stays empty.
void SortPriorities(std::vector<EtRow>& et, int n);
void LinkOperations(std::vector<EtRow>& et, int n);
// Marks guarded products; returns the number of guard entries found.
int SetConditions(std::vector<EtRow>& et, int n);
void ExpandMultiArgs(std::vector<EtRow>& et, int n);
void ClearLinkedArgs(std::vector<EtRow>& et, int n);

}  // namespace cn
