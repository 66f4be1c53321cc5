// StringField: the one lenient read the cover sources make of a service's
// JSON: a missing or non-string member is an empty text, never an error,
// since the services leave fields out freely.
#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace tavio {

inline std::string StringField(const nlohmann::json& object, const char* name) {
  const auto it = object.find(name);
  return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace tavio
