// TMissingCoversTally: what the search for missing covers has done so far, in
// the words the progress window shows while it runs and the summary at its end.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "coversearch/missing_covers.h"

namespace tavio {

class TMissingCoversTally {
 public:
  // The summary names at most this many failures; the rest are counted.
  static constexpr size_t kMaxListedFailures = 10;

  explicit TMissingCoversTally(int32_t total) : total_(total) {}
  // artist and album in the ANSI code page, as the window's texts are.
  void Add(const std::string& artist, const std::string& album, const TMissingCoverOutcome& outcome);
  // "3 of 40 albums: found 1, not found 1, failed 1"
  std::string Progress() const;
  // "Found 1, not found 1, failed 1." and, one a line, why each failed.
  std::string Summary(bool stopped) const;

 private:
  int32_t total_;
  int32_t found_ = 0;
  int32_t notFound_ = 0;
  int32_t failed_ = 0;
  std::vector<std::string> failures_;
};

}  // namespace tavio
