#include "workspace/model/equation_model.h"

namespace cn {

void EquationModel::Append(Equation equation) {
  rows_.push_back(std::move(equation));
  Changed();
}

void EquationModel::Assign(std::vector<Equation> rows) {
  rows_ = std::move(rows);
  Changed();
}

bool EquationModel::Remove(std::size_t row) {
  if (row >= rows_.size()) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  Changed();
  return true;
}

bool EquationModel::SetExpression(std::size_t row, std::string expression) {
  if (row >= rows_.size()) return false;
  rows_[row].expression = std::move(expression);
  Changed();
  return true;
}

bool EquationModel::SetCondition(std::size_t row, std::string condition) {
  if (row >= rows_.size()) return false;
  rows_[row].condition = std::move(condition);
  Changed();
  return true;
}

bool EquationModel::SetColor(std::size_t row, std::uint32_t color) {
  if (row >= rows_.size()) return false;
  rows_[row].color = color & 0xFFFFFF;
  Changed();
  return true;
}

void EquationModel::Changed() {
  for (const Listener& listener : listeners_) listener();
}

}  // namespace cn
