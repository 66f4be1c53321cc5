// tavio list [--json] FILE: the albums of a library data file in file order,
// as tab-separated lines or a JSON array; texts are printed as UTF-8.
#include <cstdio>
#include <exception>
#include <string>

#include "command.h"
#include "library/ol_saveable.h"

namespace tavio::tool {

// Tabs and line breaks inside a text would split the album's line.
static std::string LineField(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

static std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

static void PrintLines(const TOLSaveable& albums) {
  for (int32_t i = 0; i < albums.Count(); ++i) {
    const TAlbum& a = *albums.Items(i);
    std::printf("%s\t%s\t%d\t%s\t%s\t%s\n", LineField(a.CoverFile).c_str(),
                LineField(a.Title).c_str(), a.Year, LineField(a.Artist).c_str(),
                LineField(a.Album).c_str(), LineField(a.Genre).c_str());
  }
}

static void PrintJson(const TOLSaveable& albums) {
  std::printf("[");
  for (int32_t i = 0; i < albums.Count(); ++i) {
    const TAlbum& a = *albums.Items(i);
    std::printf(
        "%s\n  {\"CoverFile\": %s, \"Title\": %s, \"Year\": %d, \"Artist\": %s, \"Album\": %s, "
        "\"Genre\": %s}",
        i == 0 ? "" : ",", JsonString(a.CoverFile).c_str(), JsonString(a.Title).c_str(), a.Year,
        JsonString(a.Artist).c_str(), JsonString(a.Album).c_str(), JsonString(a.Genre).c_str());
  }
  std::printf("%s]\n", albums.Count() == 0 ? "" : "\n");
}

static int RunList(const Args& args) {
  bool json = false;
  std::string path;
  for (const std::string& arg : args) {
    if (arg == "--json")
      json = true;
    else if (path.empty() && !arg.empty() && arg[0] != '-')
      path = arg;
    else
      throw UsageError{"unexpected argument \"" + arg + "\""};
  }
  if (path.empty()) throw UsageError{"no data file given"};

  TOLSaveable albums;
  std::string failure;
  try {
    albums.LoadFromFile(path);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  json ? PrintJson(albums) : PrintLines(albums);
  if (failure.empty()) return 0;
  std::fprintf(stderr, "tavio list: %s does not load after %d album(s): %s\n", path.c_str(),
               albums.Count(), failure.c_str());
  return 1;
}

TAVIO_COMMAND("list", "list [--json] FILE", RunList);

}  // namespace tavio::tool
