#include "coversearch/user_region.h"

namespace tavio {

// The tool takes its region from the command line instead.
std::string UserRegion() { return ""; }

}  // namespace tavio
