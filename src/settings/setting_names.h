// SameSettingName: how the settings store compares section and value names,
// ignoring the letter case of A-Z as the registry does.
#pragma once
#include <string_view>

namespace tavio {

bool SameSettingName(std::string_view a, std::string_view b);

}  // namespace tavio
