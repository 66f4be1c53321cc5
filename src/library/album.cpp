#include "library/album.h"

namespace tavio {

TAlbum::TAlbum() : Cover(250, 250) { Cover.Clear(kOpaqueWhite); }

}  // namespace tavio
