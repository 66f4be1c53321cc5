#include "library/find_file.h"

#include <algorithm>
#include <vector>

#include "library/directory_listing.h"
#include "library/folder_path.h"
#include "library/target_search.h"

namespace tavio {

namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

void TFindFile::Execute() {
  // Freed on the way out, also when a callback throws.
  const TTargetSearch search(Criteria);
  for (const TTargetFolder& target : search.TargetFolders.Items()) {
    walk_.clear();
    SearchFolder(target, target.Folder);
  }
}

void TFindFile::SearchFolder(const TTargetFolder& target, const std::string& folder) {
  // A junction may lead back up the tree, round and round until the paths
  // grow too long.
  std::optional<TFolderIdentity> identity;
  if (target.Recursive) {
    identity = FolderIdentity(folder);
    if (identity && std::find(walk_.begin(), walk_.end(), *identity) != walk_.end()) return;
  }
  if (OnFolderSearch) OnFolderSearch(folder);
  for (auto mask = target.FileMasks.rbegin(); mask != target.FileMasks.rend(); ++mask) {
    ReportMatches(folder, *mask);
  }
  if (!target.Recursive) return;
  if (identity) walk_.push_back(*identity);
  SearchSubfolders(target, folder);
  if (identity) walk_.pop_back();
}

void TFindFile::ReportMatches(const std::string& folder, const std::string& mask) {
  ListDirectory(folder, mask, [&](const TSearchRec& entry) {
    if (IsDotEntry(entry.Name) || !PassesAttributeTest(entry.Attr)) return;
    if (OnFileMatch) OnFileMatch(*this, folder, entry);
  });
}

void TFindFile::SearchSubfolders(const TTargetFolder& target, const std::string& folder) {
  // Names first, descent after: no listing stays open while a whole subtree
  // is walked.
  std::vector<std::string> subfolders;
  ListDirectory(folder, "*.*", [&](const TSearchRec& entry) {
    if ((entry.Attr & ffDirectory) != 0 && !IsDotEntry(entry.Name)) subfolders.push_back(entry.Name);
  });
  for (const std::string& name : subfolders) SearchFolder(target, folder + name + kPathDelimiter);
}

bool TFindFile::PassesAttributeTest(TFileAttributeSet attributes) const {
  return (attributes & kAllFileAttributes & ~Criteria.Attribute.Attributes) == 0;
}

}  // namespace tavio
