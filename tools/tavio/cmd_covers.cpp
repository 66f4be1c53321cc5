// tavio covers [--source itunes|musicbrainz] [--endpoint URL] [--art-endpoint URL]
// [--country CC] [--dry-run] DATA_DIR: finds covers for the library's albums that
// show the default one, one line per album and a summary; --dry-run writes
// nothing; the iTunes store is CC's, else "US".
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "command.h"
#include "coversearch/cover_source_choice.h"
#include "coversearch/cover_web.h"
#include "coversearch/missing_covers.h"
#include "coversearch/user_region.h"
#include "library/file_access.h"
#include "library/library_files.h"
#include "library/ol_saveable.h"
#include "test_ca_file.h"

namespace tavio::tool {

namespace {

constexpr const char* kUsage =
    "covers [--source itunes|musicbrainz] [--endpoint URL] [--art-endpoint URL] [--country CC] [--dry-run] DATA_DIR";

struct TCoversArgs {
  std::string Source = "itunes";
  std::string Endpoint;
  std::string ArtEndpoint;
  std::string Country;
  bool DryRun = false;
  std::string Folder;
};

TCoversArgs ParseArgs(const Args& args) {
  TCoversArgs parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 == args.size()) throw UsageError{arg + " needs a value"};
      return args[++i];
    };
    if (arg == "--source")
      parsed.Source = value();
    else if (arg == "--endpoint")
      parsed.Endpoint = value();
    else if (arg == "--art-endpoint")
      parsed.ArtEndpoint = value();
    else if (arg == "--country") {
      parsed.Country = TwoLetterRegion(value());
      if (parsed.Country.empty()) throw UsageError{"--country needs two letters such as DE"};
    } else if (arg == "--dry-run")
      parsed.DryRun = true;
    else if (parsed.Folder.empty() && !arg.empty() && arg[0] != '-')
      parsed.Folder = arg;
    else
      throw UsageError{"unexpected argument \"" + arg + "\""};
  }
  if (parsed.Source != "itunes" && parsed.Source != "musicbrainz")
    throw UsageError{"unknown source \"" + parsed.Source + "\""};
  if (parsed.Folder.empty()) throw UsageError{"no data folder given"};
  if (parsed.Folder.back() != '/') parsed.Folder += '/';
  return parsed;
}

// The settings' choice, with the command line's source and endpoints in their place.
TCoverSourceSettings SourceSettings(const TCoversArgs& args) {
  TCoverSourceSettings s = ReadCoverSourceSettings();
  s.Source = args.Source;
  if (!args.Endpoint.empty()) (args.Source == "musicbrainz" ? s.MusicBrainzUrl : s.ItunesUrl) = args.Endpoint;
  if (!args.ArtEndpoint.empty()) s.CoverArtUrl = args.ArtEndpoint;
  if (!args.Country.empty()) s.Country = args.Country;
  return s;
}

// Unlike the plug-in, which starts afresh from a broken data file, the tool
// refuses it and leaves it as it is.
void LoadLibrary(const std::string& folder, TOLSaveable& albums, TOLSaveable& hidden) {
  albums.LoadFromFile(folder + kAlbumsFileName);
  if (FileExists(folder + kHiddenAlbumsFileName)) hidden.LoadFromFile(folder + kHiddenAlbumsFileName);
}

const char* ResultText(TMissingCoverResult result) {
  switch (result) {
    case TMissingCoverResult::Found: return "found";
    case TMissingCoverResult::NotFound: return "not found";
    case TMissingCoverResult::Failed: return "failed";
  }
  return "";
}

int RunCovers(const Args& rawArgs) {
  TCoversArgs args;
  try {
    args = ParseArgs(rawArgs);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "tavio covers: %s\nusage: tavio %s\n", e.message.c_str(), kUsage);
    return 1;
  }
  TOLSaveable albums, hidden;
  try {
    LoadLibrary(args.Folder, albums, hidden);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tavio covers: the library in %s does not load: %s\n", args.Folder.c_str(), e.what());
    return 1;
  }
  std::vector<TAlbum*> all;
  for (const TOLSaveable* list : {&albums, &hidden})
    for (int32_t i = 0; i < list->Count(); ++i) all.push_back(list->Items(i));

  const TCoverSourceSettings sourceSettings = SourceSettings(args);
  const std::unique_ptr<TCoverSource> source = MakeCoverSource(sourceSettings);
  TCoverWeb web(CoverUserAgent(sourceSettings.Contact), nullptr, TestCaFile());
  TMissingCoversOptions options;
  options.RequestIntervalMs = RequestIntervalOf(sourceSettings);
  options.DryRun = args.DryRun;
  TMissingCoversEvents events;
  events.AlbumDone = [](const TAlbum& album, const TMissingCoverOutcome& outcome) {
    std::printf("%s - %s: %s%s%s\n", album.Artist.c_str(), album.Album.c_str(),
                ResultText(outcome.Result), outcome.Reason.empty() ? "" : ": ", outcome.Reason.c_str());
    std::fflush(stdout);
  };
  events.SaveLibrary = [&] { SaveLibraryFiles(args.Folder, albums, hidden); };
  const TMissingCoversSummary summary = TMissingCovers(*source, web, options).Run(all, events);
  std::printf("found %d, not found %d, failed %d%s\n", summary.Found, summary.NotFound, summary.Failed,
              args.DryRun ? " (dry run: nothing written)" : "");
  return 0;
}

}  // namespace

TAVIO_COMMAND("covers", kUsage, RunCovers);

}  // namespace tavio::tool
