#include <windows.h>

#include "text/text_compare.h"
#include "text/wide_text_win32.h"

namespace tavio {

int32_t CompareTextIgnoringCase(std::string_view a, std::string_view b) {
  const std::wstring wa = Widen(a), wb = Widen(b);
  // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3.
  return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()), wb.data(),
                         static_cast<int>(wb.size()), nullptr, nullptr, 0) -
         CSTR_EQUAL;
}

}  // namespace tavio
