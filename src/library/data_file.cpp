// The album record's fields in the data file, and the list stream: a count,
// then class name and fields of each record.
#include <memory>
#include <string>

#include "library/album.h"
#include "library/data_file_error.h"
#include "library/ol_saveable.h"
#include "library/record_classes.h"
#include "library/safe_file_write.h"
#include "library/value_reader.h"
#include "library/value_writer.h"

namespace tavio {

void TAlbum::LoadFromReader(TReader& reader) {
  CoverFile = reader.ReadString();
  Title = reader.ReadString();
  Year = reader.ReadInteger();
  Artist = reader.ReadString();
  Album = reader.ReadString();
  Genre = reader.ReadString();
  reader.ReadInteger();  // reserved
}

void TAlbum::SaveToWriter(TWriter& writer) const {
  writer.WriteString(CoverFile);
  writer.WriteString(Title);
  writer.WriteInteger(Year);
  writer.WriteString(Artist);
  writer.WriteString(Album);
  writer.WriteString(Genre);
  writer.WriteInteger(0);  // reserved
}

std::unique_ptr<TAlbum> CreateRecord(std::string_view className) {
  if (className != kAlbumClassName)
    throw EDataFileError("Class " + std::string(className) + " not found");
  return std::make_unique<TAlbum>();
}

void TOLSaveable::LoadFromStream(TStream& stream) {
  Clear();
  TReader reader(stream);
  const int32_t count = reader.ReadInteger();
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TAlbum> album = CreateRecord(reader.ReadString());
    album->LoadFromReader(reader);
    Add(album.get());
    album.release();
  }
}

void TOLSaveable::SaveToStream(TStream& stream) const {
  TWriter writer(stream);
  writer.WriteInteger(Count());
  for (const TAlbum* album : items_) {
    writer.WriteString(kAlbumClassName);
    album->SaveToWriter(writer);
  }
  writer.Flush();
}

void TOLSaveable::LoadFromFile(const std::string& path) {
  TFileStream stream(path, TFileStream::Mode::Read);
  LoadFromStream(stream);
}

void TOLSaveable::SaveToFile(const std::string& path) const {
  WriteFileSafely(path, [this](TStream& stream) { SaveToStream(stream); });
}

}  // namespace tavio
