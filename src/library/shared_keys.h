// The process-wide key lists: FSORT (sort keys) and FANZEIGE (caption fields),
// comma lists set by the settings store and the settings dialog. UI thread only.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

// Both values keep at most their first 255 characters.
const std::string& SortKeys();
void SetSortKeys(std::string_view keys);
const std::string& CaptionKeys();
void SetCaptionKeys(std::string_view keys);

}  // namespace tavio
