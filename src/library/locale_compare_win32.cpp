#include <windows.h>

#include "library/locale_compare.h"

namespace tavio {

int32_t CompareTextIgnoringCase(std::string_view a, std::string_view b) {
  // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3.
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

}  // namespace tavio
