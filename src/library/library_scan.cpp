#include "library/library_scan.h"

#include <exception>
#include <memory>

#include "library/directory_listing.h"
#include "library/find_file.h"
#include "library/folder_path.h"
#include "library/library_files.h"
#include "library/target_search.h"
#include "raster/bevel_edges.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"

namespace tavio {

namespace {

constexpr TFileAttributeSet kFileAttributes = ffArchive | ffReadonly | ffHidden | ffSystem;

// Thrown out of the file search to end it at once.
struct TScanStopped {};

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// The first name the file system yields for mask in folder among ordinary
// files (hidden, system and folders do not count), or "" when there is none.
std::string FirstOrdinaryFile(const std::string& folder, const std::string& mask) {
  std::string first;
  ListDirectory(folder, mask, [&](const TSearchRec& entry) {
    if (first.empty() && (entry.Attr & (ffHidden | ffSystem | ffDirectory)) == 0) first = entry.Name;
  });
  return first;
}

// The cover candidate of an album folder: the masks are listed from the last
// to the first, each in file-system order, and every file replaces the one
// before, so the last file of the first mask with any match remains. The
// folder is listed directly rather than handed to the file search as a start
// folder, which would split a name like "Artist; Album" at its ";".
std::string PictureCandidate(const std::string& folder, const std::string& pictureMasks) {
  std::vector<std::string> masks = SplitSearchList(pictureMasks);
  if (masks.empty()) masks.emplace_back("*.*");
  std::string candidate;
  for (auto mask = masks.rbegin(); mask != masks.rend(); ++mask) {
    ListDirectory(folder, *mask, [&](const TSearchRec& entry) {
      if (!IsDotEntry(entry.Name) && (entry.Attr & ffDirectory) == 0) candidate = folder + entry.Name;
    });
  }
  return candidate;
}

}  // namespace

std::string AlbumsFoundText(int32_t count) { return std::to_string(count) + " albums found."; }

void TLibraryScan::Execute() {
  if (OnScanStart) OnScanStart();
  std::unique_ptr<TOLSaveable> ownList;
  TOLSaveable* list = Albums;
  if (list == nullptr) {
    ownList = std::make_unique<TOLSaveable>();
    list = ownList.get();
  }
  list->Clear();
  if (HiddenAlbums != nullptr) HiddenAlbums->Clear();
  Collect(*list);

  try {
    list->SaveToFile(PluginFolder + kAlbumsFileName);
  } catch (const std::exception&) {
    // The view writes both data files again when the dialog closes.
  }
  Report(AlbumsFoundText(list->Count()));
  if (OnScanDone) OnScanDone();
  if (Genres != nullptr) Genres->AddGenres(*list, true);
}

bool TLibraryScan::Collect(TOLSaveable& list) {
  foldersVisited_ = 0;
  keptBytes_ = 0;
  try {
    for (const std::string& path : SearchPaths) {
      if (ScanAll)
        ScanFolders(path, list);
      else
        ScanPictures(path, list);
    }
  } catch (const TScanStopped&) {
    return false;
  }
  return true;
}

void TLibraryScan::ScanFolders(const std::string& searchPath, TOLSaveable& list) {
  TFindFile find;
  find.Criteria.Files.FileName = "*.*";
  find.Criteria.Files.Folders = {searchPath};
  find.Criteria.Files.Subfolders = true;
  find.Criteria.Attribute.Attributes = ffDirectory;
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& entry) {
    // The folder filter also lets through files that carry no attribute at
    // all (every plain file natively); they hold no album, so skip the work.
    if ((entry.Attr & ffDirectory) == 0) return;
    EndIfStopRequested();
    ScanFolder(folder + entry.Name, list);
  };
  find.Execute();
}

void TLibraryScan::ScanFolder(const std::string& folder, TOLSaveable& list) {
  ++foldersVisited_;
  // The MP3 test comes first: listing pictures in a folder that makes no
  // album has no effect to keep.
  const std::string mp3 = FirstOrdinaryFile(folder + kPathDelimiter, "*.mp3");
  if (!mp3.empty()) {
    const std::string candidate = PictureCandidate(folder + kPathDelimiter, PictureMasks);
    auto album = std::make_unique<TAlbum>();
    album->CoverFile = candidate.empty() ? folder + kPathDelimiter + kNoPictureName : candidate;
    LoadCover(*album, candidate);
    album->ReadTags(folder + kPathDelimiter + mp3);
    KeepWithinLimit(*album);
    list.Add(album.get());
    album.release();
  }
  ReportProgress(folder, list.Count());
}

void TLibraryScan::ScanPictures(const std::string& searchPath, TOLSaveable& list) {
  TFindFile find;
  find.Criteria.Files.FileName = PictureMasks;
  find.Criteria.Files.Folders = {searchPath};
  find.Criteria.Files.Subfolders = true;
  find.Criteria.Attribute.Attributes = kFileAttributes;
  find.OnFolderSearch = [&](const std::string& folder) {
    EndIfStopRequested();
    ++foldersVisited_;
    ReportProgress(folder, list.Count());
  };
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& entry) {
    EndIfStopRequested();
    ScanPicture(folder, entry.Name, list);
  };
  find.Execute();
}

void TLibraryScan::ScanPicture(const std::string& folder, const std::string& name, TOLSaveable& list) {
  auto album = std::make_unique<TAlbum>();
  album->CoverFile = folder + name;
  // Decoded before the MP3 test, so a broken picture is reported even where
  // it makes no album.
  LoadCover(*album, album->CoverFile);
  const std::string mp3 = FirstOrdinaryFile(folder, "*.mp3");
  if (!mp3.empty()) {
    album->ReadTags(folder + mp3);
    KeepWithinLimit(*album);
    list.Add(album.get());
    album.release();
  }
  ReportProgress(folder, list.Count());
}

// The picture, or the default cover without title when there is none;
// bevelled and claimed, so no loader prepares it again. A picture that fails
// to load leaves the album unprepared: the view's loaders give it the default
// cover with its title.
void TLibraryScan::LoadCover(TAlbum& album, const std::string& pictureFile) {
  try {
    if (pictureFile.empty())
      LoadFromResourceName(album.Cover, "MOSSEL");
    else
      LoadFromFile(album.Cover, pictureFile);
  } catch (const std::exception&) {
    Report("Error loading " + pictureFile);
    return;
  }
  BevelEdges(album.Cover, album.Cover.BoundsRect());
  album.CoverReady = true;
}

void TLibraryScan::KeepWithinLimit(TAlbum& album) {
  const int64_t bytes = album.Cover.OwnPixelBytes();
  if (CoverMemoryLimit > 0 && keptBytes_ + bytes > CoverMemoryLimit)
    album.ReleaseCover();
  else
    keptBytes_ += bytes;
}

void TLibraryScan::Report(const std::string& text) const {
  if (OnMessage) OnMessage(text);
}

void TLibraryScan::ReportProgress(const std::string& folder, int32_t albumsFound) const {
  if (OnProgress) OnProgress({foldersVisited_, albumsFound, folder});
}

void TLibraryScan::EndIfStopRequested() const {
  if (StopRequested && StopRequested()) throw TScanStopped{};
}

}  // namespace tavio
