// A library whose folders, files and tags use every script a user's may:
// Cyrillic, Greek, Japanese, Chinese, Hebrew, Arabic, emoji and Western
// accents, with tags in UTF-16, UTF-8, the code page and ID3v1. For the scan
// tests natively and under Wine; all texts here are UTF-8.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "library/id3_test_files.h"
#include "library/library_scan_files.h"
#include "text/code_page.h"

namespace tavio::test {

enum class TTagForm { Utf16, Utf8, CodePage, Id3v1 };

struct TScriptAlbum {
  std::string Folder;
  std::string Song;
  std::string Artist;
  std::string Album;
  std::string Cover;  // empty: none
  TTagForm Tags;
};

inline const std::vector<TScriptAlbum>& ScriptAlbums() {
  static const std::vector<TScriptAlbum> albums = {
      {"Кино", "01 Группа крови.mp3", "Кино", "Группа крови", "обложка.jpg", TTagForm::Utf16},
      {"Μάνος Χατζιδάκις", "Το χαμόγελο.mp3", "Μάνος Χατζιδάκις", "Το χαμόγελο της Τζοκόντας", "folder.jpg",
       TTagForm::Utf8},
      {"東京事変", "教育.mp3", "東京事変", "教育", "", TTagForm::Utf16},
      {"周杰伦", "范特西.mp3", "周杰伦", "范特西", "封面.JPG", TTagForm::Utf16},
      {"אביב גפן", "שיר.mp3", "אביב גפן", "ימים של שקט", "", TTagForm::Utf8},
      {"فيروز", "أغنية.mp3", "فيروز", "وحدن", "", TTagForm::Utf16},
      {"🎵 Mix", "🎶 01.mp3", "DJ 🎧", "🎵 Mix", "🎵.jpg", TTagForm::Utf16},
      {"Café del Mar", "01 Été.mp3", "Motörhead", "Ace of Spädes", "", TTagForm::CodePage},
      {"Ärzte", "Schrei nach Liebe.mp3", "Die Ärzte", "Die Bestie in Menschengestalt", "", TTagForm::Id3v1},
  };
  return albums;
}

// A path from UTF-8 text, also where the narrow form is the ANSI code page.
inline std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string ScriptMp3(const TScriptAlbum& a) {
  switch (a.Tags) {
    case TTagForm::Utf16:
      return Mp3WithFrames(Utf16TextFrame("TPE1", a.Artist) + Utf16TextFrame("TALB", a.Album) +
                           TextFrame("TYER", "2001") + TextFrame("TCON", "Pop"));
    case TTagForm::Utf8: {
      const auto frame = [](const std::string& id, const std::string& text) {
        return id + BigEndian32(static_cast<uint32_t>(text.size() + 1)) + std::string("\x00\x00", 2) + "\x03" + text;
      };
      return Mp3WithFrames(frame("TPE1", a.Artist) + frame("TALB", a.Album) + TextFrame("TYER", "2001") +
                           TextFrame("TCON", "Pop"));
    }
    case TTagForm::CodePage:
      return Mp3WithTags(Utf8ToAnsi(a.Artist), Utf8ToAnsi(a.Album), "2001", "Pop");
    case TTagForm::Id3v1:
      return "audio" + Id3v1Tag("", Utf8ToAnsi(a.Artist), Utf8ToAnsi(a.Album), "2001", "", 13);  // 13: Pop
  }
  return {};
}

inline void WriteScriptLibrary(const std::filesystem::path& root) {
  for (const TScriptAlbum& a : ScriptAlbums()) {
    const std::filesystem::path folder = root / Utf8Path(a.Folder);
    WriteBytes(folder / Utf8Path(a.Song), ScriptMp3(a));
    if (!a.Cover.empty()) WriteJpeg(folder / Utf8Path(a.Cover), 16, 16);
  }
}

}  // namespace tavio::test
