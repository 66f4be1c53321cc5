#include "coversearch/missing_covers_tally.h"

namespace tavio {

void TMissingCoversTally::Add(const std::string& artist, const std::string& album,
                              const TMissingCoverOutcome& outcome) {
  switch (outcome.Result) {
    case TMissingCoverResult::Found: ++found_; break;
    case TMissingCoverResult::NotFound: ++notFound_; break;
    case TMissingCoverResult::Failed:
      ++failed_;
      if (failures_.size() < kMaxListedFailures) failures_.push_back(artist + " - " + album + ": " + outcome.Reason);
      break;
  }
}

std::string TMissingCoversTally::Progress() const {
  return std::to_string(found_ + notFound_ + failed_) + " of " + std::to_string(total_) +
         " albums: found " + std::to_string(found_) + ", not found " + std::to_string(notFound_) + ", failed " +
         std::to_string(failed_);
}

std::string TMissingCoversTally::Summary(bool stopped) const {
  if (total_ == 0) return "Every album has a cover picture.";
  std::string text = stopped ? "Stopped after " + std::to_string(found_ + notFound_ + failed_) + " of " +
                                   std::to_string(total_) + " albums.\n"
                             : "";
  text += "Found " + std::to_string(found_) + ", not found " + std::to_string(notFound_) + ", failed " +
          std::to_string(failed_) + ".";
  if (failures_.empty()) return text;
  text += "\n\nFailed:";
  for (const std::string& line : failures_) text += "\n" + line;
  if (failed_ > static_cast<int32_t>(failures_.size()))
    text += "\n(and " + std::to_string(failed_ - static_cast<int32_t>(failures_.size())) + " more)";
  return text;
}

}  // namespace tavio
