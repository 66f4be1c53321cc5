// TGenreFilter: the genre check list of the settings dialog and the move of
// albums between the shown and hidden lists by its check marks.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/album.h"
#include "library/ol_saveable.h"

namespace tavio {

inline constexpr std::string_view kWithoutGenre = "Without Genre";

// The album's Genre, or "Without Genre" when it is empty or only blanks.
std::string GenreKey(const TAlbum& album);

struct TGenreEntry {
  std::string Text;
  bool Checked = false;
};

class TGenreFilter {
 public:
  // Entries in alphabetical order ignoring letter case; genre keys differing
  // only in case share the entry of the one added first.
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  const TGenreEntry& Entry(int32_t index) const { return entries_.at(static_cast<size_t>(index)); }
  // Index of the entry for a genre key (letter case ignored), or -1.
  int32_t IndexOf(std::string_view genreKey) const;

  // Adds the genre keys of the list that are missing, with that check mark;
  // existing entries keep theirs.
  void AddGenres(const TOLSaveable& list, bool checked);
  // The view's lists; shown albums' genres start checked, hidden ones not.
  void SetAlbums(TOLSaveable& list);
  void SetHiddenAlbums(TOLSaveable& list);

  // The user's clicks: each sets GenreFilterChanged.
  void SetChecked(int32_t index, bool checked);
  void Toggle(int32_t index);
  void SetAllChecked(bool checked);
  void ToggleAll();

  // Brings every hidden album back, then hides the albums whose genre is
  // unchecked; only when GenreFilterChanged is set and both lists are held.
  // Does not sort: returning albums are appended in reverse hidden order.
  void ApplyGenreFilter();

  bool GenreFilterChanged = false;

 private:
  bool IsShown(const TAlbum& album) const;

  std::vector<TGenreEntry> entries_;
  TOLSaveable* albums_ = nullptr;
  TOLSaveable* hiddenAlbums_ = nullptr;
};

}  // namespace tavio
