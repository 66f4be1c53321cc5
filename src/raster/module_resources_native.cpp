#include "raster/module_resources.h"

#include "raster/bmp_file.h"
#include "raster/embedded_resources.h"
#include "raster/raster_error.h"

namespace tavio {

void LoadFromResourceName(TBitmap32& bitmap, const std::string& name) {
  const TEmbeddedResource resource = FindEmbeddedResource(name.c_str());
  if (resource.Data == nullptr) throw ERasterError("No bitmap resource \"" + name + "\"");
  bitmap.TakePixels(DecodeBmpFile(resource.Data, resource.Size));
}

}  // namespace tavio
