#include "library/target_search.h"

#include <algorithm>

#include "library/folder_path.h"
#include "library/trim_blanks.h"

namespace tavio {

std::vector<std::string> SplitSearchList(std::string_view text) {
  std::vector<std::string> pieces;
  while (true) {
    const size_t cut = text.find(';');
    const std::string_view piece = TrimBlanks(text.substr(0, cut));
    const bool known = std::any_of(pieces.begin(), pieces.end(),
                                   [piece](const std::string& p) { return SameFileName(p, piece); });
    if (!piece.empty() && !known) pieces.emplace_back(piece);
    if (cut == std::string_view::npos) return pieces;
    text.remove_prefix(cut + 1);
  }
}

TTargetFolder& TTargetFolderList::FolderFor(const std::string& folder) {
  for (TTargetFolder& item : items_) {
    if (SameFileName(item.Folder, folder)) return item;
  }
  return items_.emplace_back(folder);
}

TTargetSearch::TTargetSearch(const TSearchCriteria& criteria) {
  std::vector<std::string> masks = SplitSearchList(criteria.Files.FileName);
  if (masks.empty()) masks.emplace_back("*.*");
  std::vector<std::string> locations = SplitSearchList(criteria.Files.Location);
  for (const std::string& folder : criteria.Files.Folders) {
    const std::string_view whole = TrimBlanks(std::string_view(folder));
    if (!whole.empty()) locations.emplace_back(whole);
  }
  for (const std::string& location : locations) {
    TTargetFolder& target = TargetFolders.FolderFor(SearchFolderPath(location));
    target.FileMasks.insert(target.FileMasks.end(), masks.begin(), masks.end());
    target.Recursive = criteria.Files.Subfolders;
  }
}

}  // namespace tavio
