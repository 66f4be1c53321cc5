// EDataFileError: why a library data file could not be read or written
// (truncated, wrong value tag, unknown record class, file not opened).
#pragma once
#include <stdexcept>

namespace tavio {

class EDataFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tavio
