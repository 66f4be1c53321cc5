#include "library/genre_filter.h"

#include <algorithm>

#include "text/text_compare.h"

namespace tavio {

std::string GenreKey(const TAlbum& album) {
  if (album.Genre.find_first_not_of(' ') == std::string::npos) return std::string(kWithoutGenre);
  return album.Genre;
}

int32_t TGenreFilter::IndexOf(std::string_view genreKey) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (CompareTextIgnoringCase(entries_[i].Text, genreKey) == 0) return static_cast<int32_t>(i);
  return -1;
}

void TGenreFilter::AddGenres(const TOLSaveable& list, bool checked) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    std::string key = GenreKey(*list.Items(i));
    if (IndexOf(key) >= 0) continue;
    const auto place = std::find_if(entries_.begin(), entries_.end(), [&](const TGenreEntry& e) {
      return CompareTextIgnoringCase(e.Text, key) > 0;
    });
    entries_.insert(place, TGenreEntry{std::move(key), checked});
  }
}

void TGenreFilter::SetAlbums(TOLSaveable& list) {
  albums_ = &list;
  AddGenres(list, true);
}

void TGenreFilter::SetHiddenAlbums(TOLSaveable& list) {
  hiddenAlbums_ = &list;
  AddGenres(list, false);
}

void TGenreFilter::SetChecked(int32_t index, bool checked) {
  entries_.at(static_cast<size_t>(index)).Checked = checked;
  GenreFilterChanged = true;
}

void TGenreFilter::Toggle(int32_t index) { SetChecked(index, !Entry(index).Checked); }

void TGenreFilter::SetAllChecked(bool checked) {
  for (TGenreEntry& entry : entries_) entry.Checked = checked;
  GenreFilterChanged = true;
}

void TGenreFilter::ToggleAll() {
  for (TGenreEntry& entry : entries_) entry.Checked = !entry.Checked;
  GenreFilterChanged = true;
}

// A genre with no entry (none can arise while the lists were handed over)
// stays shown rather than vanish unasked.
bool TGenreFilter::IsShown(const TAlbum& album) const {
  const int32_t index = IndexOf(GenreKey(album));
  return index < 0 || entries_[static_cast<size_t>(index)].Checked;
}

// Moving must not release anything, so both lists stop owning their albums
// for the duration, and own them again even when an error cuts it short.
class TOwnershipPause {
 public:
  TOwnershipPause(TOLSaveable& a, TOLSaveable& b) : a_(a), b_(b) {
    a_.OwnsItems = false;
    b_.OwnsItems = false;
  }
  ~TOwnershipPause() {
    a_.OwnsItems = true;
    b_.OwnsItems = true;
  }
  TOwnershipPause(const TOwnershipPause&) = delete;
  TOwnershipPause& operator=(const TOwnershipPause&) = delete;

 private:
  TOLSaveable& a_;
  TOLSaveable& b_;
};

void TGenreFilter::ApplyGenreFilter() {
  if (!GenreFilterChanged || !albums_ || !hiddenAlbums_) return;
  TOLSaveable& shown = *albums_;
  TOLSaveable& hidden = *hiddenAlbums_;
  TOwnershipPause pause(shown, hidden);
  for (int32_t n = hidden.Count() - 1; n >= 0; --n) {
    TAlbum* album = hidden.Items(n);
    shown.Add(album);
    hidden.Remove(album);
  }
  for (int32_t n = shown.Count() - 1; n >= 0; --n) {
    TAlbum* album = shown.Items(n);
    if (IsShown(*album)) continue;
    hidden.Add(album);
    shown.Remove(album);
  }
}

}  // namespace tavio
