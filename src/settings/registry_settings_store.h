// OpenRegistrySettingsStore: the settings store on a registry key of the
// current user (Windows only; natively there is no definition).
#pragma once
#include <memory>
#include <string>

#include "settings/settings_store.h"

namespace tavio {

// Opens keyPath under HKEY_CURRENT_USER with full access, creating it when
// missing; the key is closed when the store is destroyed.
std::unique_ptr<TSettingsStore> OpenRegistrySettingsStore(const std::string& keyPath);

}  // namespace tavio
