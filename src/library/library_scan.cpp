#include "library/library_scan.h"

#include <exception>
#include <memory>

#include "library/directory_listing.h"
#include "library/embedded_picture.h"
#include "library/file_access.h"
#include "library/file_tags.h"
#include "library/find_file.h"
#include "library/folder_path.h"
#include "library/library_files.h"
#include "library/target_search.h"
#include "raster/bevel_edges.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"
#include "raster/picture_limits.h"

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

// The picture the cover commands store, found whatever its letter case.
std::string StoredCover(const std::string& folder) {
  std::string stored;
  ListDirectory(folder, kStoredCoverName, [&](const TSearchRec& entry) {
    if (stored.empty() && (entry.Attr & ffDirectory) == 0) stored = folder + entry.Name;
  });
  return stored;
}

}  // namespace

std::string AlbumsFoundText(int32_t count) { return std::to_string(count) + " albums found."; }

std::string ScanSummaryText(int32_t albumCount, const std::vector<std::string>& loadErrors) {
  std::string text = AlbumsFoundText(albumCount);
  for (size_t i = 0; i < loadErrors.size() && i < kMaxErrorLines; ++i) text += "\nError loading " + loadErrors[i];
  if (loadErrors.size() > kMaxErrorLines)
    text += "\n\u2026 and " + std::to_string(loadErrors.size() - kMaxErrorLines) + " more";
  return text;
}

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
  Report(ScanSummaryText(list->Count(), loadErrors_));
  if (OnScanDone) OnScanDone();
  if (Genres != nullptr) Genres->AddGenres(*list, true);
}

bool TLibraryScan::Collect(TOLSaveable& list) {
  foldersVisited_ = 0;
  keptBytes_ = 0;
  lastFolder_.clear();
  loadErrors_.clear();
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
    ++foldersVisited_;
    ScanAlbumFolder(folder + entry.Name + kPathDelimiter, true, list);
  };
  find.Execute();
}

// A folder is one album. Its tags come from its first MP3 file, and so does
// its cover when it has no picture file: read in one pass over the tag.
void TLibraryScan::ScanAlbumFolder(const std::string& folder, bool defaultCover, TOLSaveable& list) {
  const std::string mp3 = FirstOrdinaryFile(folder, "*.mp3");
  if (mp3.empty()) return ReportProgress(folder, list.Count());
  std::string picture = StoredCover(folder);
  if (picture.empty()) picture = PictureCandidate(folder, PictureMasks);
  const bool wantEmbedded = picture.empty() && EmbeddedArt;
  TID3v2Tag v2;
  TID3v1Tag v1;
  TFileTags tags(folder + mp3, v2, v1, wantEmbedded ? TTagParts::TextsAndPicture : TTagParts::Texts);
  auto album = std::make_unique<TAlbum>();
  if (!picture.empty()) {
    album->CoverFile = picture;
    LoadPicture(*album, nullptr);
  } else if (const std::vector<uint8_t> embedded = wantEmbedded ? EmbeddedPicture(tags.V2()) : std::vector<uint8_t>();
             !embedded.empty()) {
    album->CoverFile = tags.FileName();
    LoadPicture(*album, &embedded);
  } else if (defaultCover) {
    album->CoverFile = folder + kNoPictureName;
    LoadDefaultCover(*album);
  } else {
    return ReportProgress(folder, list.Count());
  }
  album->ReadTags(tags);
  KeepWithinLimit(*album);
  list.Add(album.get());
  album.release();
  ReportProgress(folder, list.Count());
}

// Every folder that holds an MP3 file is found through its MP3 files and
// examined once, at its first; the search path's own files count.
void TLibraryScan::ScanPictures(const std::string& searchPath, TOLSaveable& list) {
  lastFolder_.clear();
  TFindFile find;
  find.Criteria.Files.FileName = "*.mp3";
  find.Criteria.Files.Folders = {searchPath};
  find.Criteria.Files.Subfolders = true;
  find.Criteria.Attribute.Attributes = kFileAttributes;
  find.OnFolderSearch = [&](const std::string& folder) {
    EndIfStopRequested();
    ++foldersVisited_;
    ReportProgress(folder, list.Count());
  };
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec&) {
    if (folder == lastFolder_) return;
    lastFolder_ = folder;
    EndIfStopRequested();
    ScanAlbumFolder(folder, false, list);
  };
  find.Execute();
}

// The picture file named by CoverFile, or the embedded picture's bytes; a
// failed load is noted for the summary.
void TLibraryScan::LoadPicture(TAlbum& album, const std::vector<uint8_t>* embedded) {
  try {
    if (embedded != nullptr) {
      album.Cover.TakePixels(DecodePicture(*embedded, album.CoverFile));
    } else {
      album.Cover.TakePixels(DecodePicture(ReadRegularFile(album.CoverFile, kMaxPictureFileBytes), album.CoverFile));
    }
  } catch (const std::exception&) {
    // Left unprepared: the view's loaders give it the default cover with its title.
    NoteLoadError(album.CoverFile);
    return;
  }
  FinishCover(album);
}

// Without the title: the loaders write it at a later start.
void TLibraryScan::LoadDefaultCover(TAlbum& album) {
  try {
    LoadFromResourceName(album.Cover, "MOSSEL");
  } catch (const std::exception&) {
    NoteLoadError(album.CoverFile);
  }
  FinishCover(album);
}

// Bevelled either way, and claimed, so no loader prepares it again.
void TLibraryScan::FinishCover(TAlbum& album) {
  BevelEdges(album.Cover, album.Cover.BoundsRect());
  album.CoverReady = true;
}

void TLibraryScan::NoteLoadError(const std::string& coverFile) {
  loadErrors_.push_back(coverFile);
  if (OnLoadError) OnLoadError(coverFile);
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
