// The user's country as the operating system knows it, and the store region
// the iTunes search is asked for: a region only goes into a URL once it is
// known to be two ASCII letters.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

// The user's two-letter region code in upper case, or "" when the system
// does not say (always "" natively).
std::string UserRegion();

// text in upper case when it is two ASCII letters, else "".
std::string TwoLetterRegion(std::string_view text);
// region in upper case when it is two ASCII letters, else "US".
std::string StoreCountryOf(std::string_view region);

}  // namespace tavio
