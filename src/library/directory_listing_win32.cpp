#include <windows.h>

#include "library/directory_listing.h"
#include "text/wide_path_win32.h"

namespace tavio {

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochInFileTime = 116444736000000000;

TSearchRec ToSearchRec(const WIN32_FIND_DATAW& data) {
  TSearchRec entry;
  entry.Name = Narrow(data.cFileName);
  entry.Attr = data.dwFileAttributes & kAllFileAttributes;
  entry.Size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const int64_t fileTime = static_cast<int64_t>((uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                                data.ftLastWriteTime.dwLowDateTime);
  entry.Time = (fileTime - kUnixEpochInFileTime) / 10000000;
  return entry;
}

class TFindHandle {
 public:
  explicit TFindHandle(HANDLE handle) : handle_(handle) {}
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  ~TFindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

void ListDirectory(const std::string& folder, const std::string& mask,
                   const std::function<void(const TSearchRec&)>& onEntry) {
  WIN32_FIND_DATAW data;
  const TFindHandle find(FindFirstFileW(WidePath(folder + mask).c_str(), &data));
  if (find.Get() == INVALID_HANDLE_VALUE) return;
  do {
    onEntry(ToSearchRec(data));
  } while (FindNextFileW(find.Get(), &data));
}

std::optional<TFolderIdentity> FolderIdentity(const std::string& folder) {
  // A folder opens only with backup semantics; no access right is needed to
  // ask for its identity.
  std::string path = folder;
  if (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  const HANDLE handle = CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL known = GetFileInformationByHandle(handle, &info);
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return TFolderIdentity{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace tavio
