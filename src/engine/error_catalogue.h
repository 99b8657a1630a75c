// The engine's numbered messages and their placeholder filling.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace cn {

inline constexpr int kErrMsgTop = 50;

// ErrMsg(id): the template of message `id` (0..50); "" for unused ids.
std::string_view ErrMsg(int id);

// Replaces the first "$" of `text` by `value`; unchanged when there is none.
std::string FillPlaceholder(std::string_view value, std::string text);

// The template of `id` with its placeholders filled in order.
std::string ErrorMessage(int id, std::initializer_list<std::string_view> values = {});

}  // namespace cn
