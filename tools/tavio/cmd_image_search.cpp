// tavio image-search: the image search dialog's search without the dialog.
// Prints the request URL and what became of each link, and writes the kept
// pictures as OUTDIR/01.jpg .. 20.jpg byte for byte.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "command.h"
#include "coversearch/http_client.h"
#include "coversearch/image_search.h"
#include "coversearch/page_search_source.h"
#include "raster/file_bytes.h"

namespace tavio::tool {

namespace {

const char* OutcomeText(TLinkOutcome outcome) {
  switch (outcome) {
    case TLinkOutcome::Kept:
      return "kept";
    case TLinkOutcome::NotJpeg:
      return "not a JPEG";
    default:
      return "failed";
  }
}

int32_t ParseStart(const std::string& text) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0 || v > 1000000) throw UsageError{"not an offset: \"" + text + "\""};
  return static_cast<int32_t>(v);
}

std::string CellFileName(const std::string& folder, int32_t cell) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d.jpg", cell + 1);
  const bool hasSlash = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
  return folder + (hasSlash ? "" : "/") + name;
}

int RunImageSearch(const Args& args) {
  std::string host;
  int32_t start = 0;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--host" || args[i] == "--start") && i + 1 == args.size())
      throw UsageError{args[i] + " needs a value"};
    if (args[i] == "--host")
      host = args[++i];
    else if (args[i] == "--start")
      start = ParseStart(args[++i]);
    else
      rest.push_back(args[i]);
  }
  if (rest.size() != 2) throw UsageError{"expected TEXT and OUTDIR"};
  auto source = std::make_unique<TPageSearchSource>(host.empty() ? ReadSearchEndpoint() : SearchEndpointFor(host));
  source->ContinueAt(rest[0], start);
  std::printf("%s\n", source->RequestUrl(rest[0]).c_str());
  TImageSearch search(std::move(source));
  TSearchEvents events;
  events.LinkTried = [](const std::string& link, TLinkOutcome outcome, const std::string& error) {
    std::printf("%s %s%s%s\n", link.c_str(), OutcomeText(outcome), error.empty() ? "" : ": ", error.c_str());
  };
  THttpClient client;
  events.CellFilled = [&](int32_t cell) {
    WriteFileBytes(CellFileName(rest[1], cell), search.PictureOf(cell, client).Jpeg);
  };
  search.Run(rest[0], "", client, events);
  return 0;
}

}  // namespace

TAVIO_COMMAND("image-search", "image-search [--host HOST[:PORT]] [--start N] TEXT OUTDIR", RunImageSearch);

}  // namespace tavio::tool
