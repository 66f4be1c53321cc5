// TOLSaveable: the ordered album list. It owns its records while OwnsItems is
// set, so the genre filter can move albums between lists without freeing them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "library/album.h"

namespace tavio {

class TStream;

class TOLSaveable {
 public:
  TOLSaveable() = default;
  ~TOLSaveable();
  TOLSaveable(const TOLSaveable&) = delete;
  TOLSaveable& operator=(const TOLSaveable&) = delete;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  TAlbum* Items(int32_t index) const { return items_.at(static_cast<size_t>(index)); }

  int32_t Add(TAlbum* album);
  void Insert(int32_t index, TAlbum* album);
  // Removes the first occurrence of that very record.
  void Remove(TAlbum* album);
  void Clear();
  // Order of records comparing equal is not defined.
  void Sort(const std::function<int32_t(const TAlbum&, const TAlbum&)>& compare);

  // The data-file form. Loading clears the list first; on a failure
  // (EDataFileError) the records read before it stay, in file order.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  // An existing file is replaced only once the new one is complete.
  void SaveToFile(const std::string& path) const;

  bool OwnsItems = true;

 private:
  std::vector<TAlbum*> items_;
};

}  // namespace tavio
