// TTargetSearch: a search of TFindFile prepared from its criteria, the start
// folders with their masks, in the order they were first named.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "library/find_file.h"

namespace tavio {

// Cuts at ";", trims each piece, drops empty pieces and pieces equal (letter
// case ignored) to an earlier one; the rest keep their order.
std::vector<std::string> SplitSearchList(std::string_view text);

class TTargetFolder {
 public:
  explicit TTargetFolder(std::string folder) : Folder(std::move(folder)) {}

  std::string Folder;  // absolute, ending with the path separator
  std::vector<std::string> FileMasks;
  bool Recursive = true;
};

class TTargetFolderList {
 public:
  // The folder's record; start folders differing only in letter case share one.
  TTargetFolder& FolderFor(const std::string& folder);
  const std::vector<TTargetFolder>& Items() const { return items_; }

 private:
  std::vector<TTargetFolder> items_;
};

class TTargetSearch {
 public:
  explicit TTargetSearch(const TSearchCriteria& criteria);

  TTargetFolderList TargetFolders;
};

}  // namespace tavio
