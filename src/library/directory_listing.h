// The platform's directory listing: the entries of one folder that match a
// mask, in the order the file system gives them, with their attributes.
//
// Win32 lists with FindFirstFileA/FindNextFileA and reports the real
// attributes. Natively (opendir/readdir, masks as in wildcard_mask.h) an
// entry is ffDirectory when it is a folder (a link to a folder is not, so
// searches never follow one), ffReadonly when its owner may not write it,
// ffHidden when its name starts with a dot; ffSystem and ffArchive never
// occur, so plain files carry no attribute at all.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "library/search_rec.h"

namespace tavio {

// Calls onEntry for every matching entry of folder (which ends with the path
// separator), "." and ".." included. A folder that cannot be listed gives no
// calls. An exception from onEntry ends the listing and passes on.
void ListDirectory(const std::string& folder, const std::string& mask,
                   const std::function<void(const TSearchRec&)>& onEntry);

// Which folder a path leads to, whatever links or junctions it passes:
// the volume's serial number and the file index on Win32, device and inode
// natively.
struct TFolderIdentity {
  uint64_t Volume = 0;
  uint64_t Index = 0;
  bool operator==(const TFolderIdentity&) const = default;
};

// Nothing when the folder cannot be examined.
std::optional<TFolderIdentity> FolderIdentity(const std::string& folder);

}  // namespace tavio
