// WriteFileSafely: a file is written beside its old version and takes its
// place only once complete, so a failed or interrupted save loses nothing.
#pragma once
#include <functional>
#include <string>

#include "library/data_stream.h"

namespace tavio {

// Runs write on a new file next to path (a fresh name each time, created
// exclusively), puts it on the disk, then replaces path with it. On any
// failure the new file is removed, path is left as it was and the error is
// rethrown.
void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

}  // namespace tavio
