// TFindFile: walks folder trees and reports every entry that matches the
// file masks and the attribute filter of its criteria, synchronously.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "library/directory_listing.h"
#include "library/search_rec.h"

namespace tavio {

struct TFileCriteria {
  std::string FileName;  // masks separated by ";"; empty means "*.*"
  std::string Location;  // start folders separated by ";"
  // Start folders taken whole (a folder's name may hold ";"), searched after
  // those of Location.
  std::vector<std::string> Folders;
  bool Subfolders = true;
};

struct TAttributeCriteria {
  // An entry passes when it carries none of the five attributes outside this
  // set. The default lets every file through and no folder.
  TFileAttributeSet Attributes = ffArchive | ffReadonly | ffHidden | ffSystem;
};

struct TSearchCriteria {
  TFileCriteria Files;
  TAttributeCriteria Attribute;
};

class TFindFile;

// Folder is the entry's folder, ending with the path separator.
using TFileMatchEvent =
    std::function<void(TFindFile& Sender, const std::string& Folder, const TSearchRec& FileInfo)>;

class TTargetFolder;

class TFindFile {
 public:
  TSearchCriteria Criteria;
  TFileMatchEvent OnFileMatch;
  // Called with each folder (ending with the path separator) as its search
  // begins, start folders included.
  std::function<void(const std::string& folder)> OnFolderSearch;

  // Walks every start folder before returning. In each folder the masks are
  // listed from the last to the first, each in file-system order, then the
  // subfolders are searched depth first (hidden and read-only ones too). A
  // folder already on the way down from the start folder (a junction back up
  // the tree) is not searched again. The start folders themselves are never
  // reported; a missing one is silent. An exception from OnFileMatch ends the
  // search and passes on.
  void Execute();

 private:
  void SearchFolder(const TTargetFolder& target, const std::string& folder);
  void ReportMatches(const std::string& folder, const std::string& mask);
  void SearchSubfolders(const TTargetFolder& target, const std::string& folder);
  bool PassesAttributeTest(TFileAttributeSet attributes) const;

  std::vector<TFolderIdentity> walk_;  // the folders from the start folder down
};

}  // namespace tavio
