#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "library/directory_listing.h"
#include "library/wildcard_mask.h"

namespace tavio {

namespace {

struct TDirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

TSearchRec ToSearchRec(const std::string& name, const struct stat& info) {
  TSearchRec entry;
  entry.Name = name;
  if (S_ISDIR(info.st_mode)) entry.Attr |= ffDirectory;
  if ((info.st_mode & S_IWUSR) == 0) entry.Attr |= ffReadonly;
  if (name.starts_with('.')) entry.Attr |= ffHidden;
  entry.Size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
  entry.Time = static_cast<int64_t>(info.st_mtime);
  return entry;
}

}  // namespace

void ListDirectory(const std::string& folder, const std::string& mask,
                   const std::function<void(const TSearchRec&)>& onEntry) {
  const std::unique_ptr<DIR, TDirCloser> dir(opendir(folder.c_str()));
  if (!dir) return;
  while (const dirent* item = readdir(dir.get())) {
    const std::string name = item->d_name;
    if (!MatchesMask(name, mask)) continue;
    struct stat info {};
    const std::string path = folder + name;
    if (lstat(path.c_str(), &info) != 0) continue;
    // A link to a file stands for the file. A link to a folder is described
    // as the link itself, no folder, so no search follows it round a cycle
    // until the paths grow too long; so is a dangling link.
    struct stat target {};
    if (S_ISLNK(info.st_mode) && stat(path.c_str(), &target) == 0 && !S_ISDIR(target.st_mode)) info = target;
    onEntry(ToSearchRec(name, info));
  }
}

std::optional<TFolderIdentity> FolderIdentity(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) return std::nullopt;
  return TFolderIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

}  // namespace tavio
