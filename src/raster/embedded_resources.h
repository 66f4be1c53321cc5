// The module bitmaps compiled into native builds as byte arrays (the .bmp
// files of resources/); Windows builds keep them as real resources instead.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tavio {

struct TEmbeddedResource {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
};

// The whole .bmp file of the named resource; Data is null when unknown.
TEmbeddedResource FindEmbeddedResource(const char* name);

}  // namespace tavio
