// The equation list of the main window, without any desktop code: one row
// per equation with its expression, its condition on x and its colour. The
// window's lists only show it; every change goes through here, and listeners
// hear of each change (to refresh the lists and redraw the plane).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cn {

struct Equation {
  std::string expression;   // as entered, in the variable x
  std::string condition;    // "" or e.g. "x >= -2.5" (read by ParseCondition)
  std::uint32_t color = 0;  // packed RGB: red + 256 * green + 65536 * blue

  bool operator==(const Equation&) const = default;
};

class EquationModel {
 public:
  using Listener = std::function<void()>;

  std::size_t Size() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  const Equation& At(std::size_t row) const { return rows_.at(row); }
  const std::vector<Equation>& Rows() const { return rows_; }

  // Appends a row; rows are never reordered.
  void Append(Equation equation);
  // Replaces every row at once (opening a workspace); listeners hear one change.
  void Assign(std::vector<Equation> rows);
  // Each returns false (and changes nothing) for a row that does not exist.
  bool Remove(std::size_t row);
  bool SetExpression(std::size_t row, std::string expression);
  bool SetCondition(std::size_t row, std::string condition);
  bool SetColor(std::size_t row, std::uint32_t color);

  // Called after every change, in the order they were added.
  void AddListener(Listener listener) { listeners_.push_back(std::move(listener)); }

 private:
  void Changed();

  std::vector<Equation> rows_;
  std::vector<Listener> listeners_;
};

}  // namespace cn
