#include "library/ol_saveable.h"

#include <algorithm>
#include <stdexcept>

namespace tavio {

TOLSaveable::~TOLSaveable() { Clear(); }

int32_t TOLSaveable::Add(TAlbum* album) {
  items_.push_back(album);
  return Count() - 1;
}

void TOLSaveable::Insert(int32_t index, TAlbum* album) {
  if (index < 0 || index > Count()) throw std::out_of_range("List index out of bounds");
  items_.insert(items_.begin() + index, album);
}

void TOLSaveable::Remove(TAlbum* album) {
  const auto it = std::find(items_.begin(), items_.end(), album);
  if (it == items_.end()) return;
  items_.erase(it);
  if (OwnsItems) delete album;
}

void TOLSaveable::Clear() {
  std::vector<TAlbum*> old;
  old.swap(items_);
  if (OwnsItems)
    for (TAlbum* album : old) delete album;
}

// The album order is not a strict weak ordering (albums differing only in
// letter case compare equal, yet later keys can set one of them apart from a
// third), and std::sort may run past the range with such an order. The merge
// sort stays inside it whatever the comparison says.
void TOLSaveable::Sort(const std::function<int32_t(const TAlbum&, const TAlbum&)>& compare) {
  std::stable_sort(items_.begin(), items_.end(),
            [&](const TAlbum* a, const TAlbum* b) { return compare(*a, *b) < 0; });
}

}  // namespace tavio
