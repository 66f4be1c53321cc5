// ERasterError: why a picture could not be loaded, decoded or written, or a
// bitmap could not be given the size asked for. Messages name the file.
#pragma once
#include <stdexcept>

namespace tavio {

class ERasterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tavio
