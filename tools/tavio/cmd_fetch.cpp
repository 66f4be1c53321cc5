// tavio fetch URL OUT: one GET with a fresh web client (http or https); the
// body goes to OUT only when the fetch succeeds, else the error (with its
// status) is printed.
#include <cstdio>

#include "command.h"
#include "coversearch/cover_web.h"
#include "coversearch/http_error.h"
#include "raster/file_bytes.h"
#include "test_ca_file.h"

namespace tavio::tool {

static int RunFetch(const Args& args) {
  if (args.size() != 2) throw UsageError{"expected URL and OUT"};
  TCoverWeb client(CoverUserAgent(""), nullptr, TestCaFile());
  std::vector<uint8_t> body;
  try {
    client.Get(args[0], body, kMaxPictureBytes);
  } catch (const EHttpError& e) {
    if (e.Code >= 0)
      std::fprintf(stderr, "tavio fetch: status %d %s\n", e.Code, e.StatusText.c_str());
    else
      std::fprintf(stderr, "tavio fetch: %s\n", e.what());
    return 1;
  }
  WriteFileBytes(args[1], body);
  return 0;
}

TAVIO_COMMAND("fetch", "fetch URL OUT", RunFetch);

}  // namespace tavio::tool
