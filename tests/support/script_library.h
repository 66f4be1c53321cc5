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
  std::string Title;
  std::string Artist;
  std::string Album;
  std::string Genre;
  std::string Cover;  // empty: none
  TTagForm Tags;
};

inline const std::vector<TScriptAlbum>& ScriptAlbums() {
  static const std::vector<TScriptAlbum> albums = {
      {"Кино", "01 Группа крови.mp3", "Группа крови", "Кино", "Группа крови", "Русский рок", "обложка.jpg",
       TTagForm::Utf16},
      {"Μάνος Χατζιδάκις", "Το χαμόγελο.mp3", "Χάρτινο το φεγγαράκι", "Μάνος Χατζιδάκις", "Το χαμόγελο της Τζοκόντας",
       "Έντεχνο", "folder.jpg", TTagForm::Utf8},
      {"東京事変", "教育.mp3", "林檎の唄", "東京事変", "教育", "ロック", "", TTagForm::Utf16},
      {"周杰伦", "范特西.mp3", "双截棍", "周杰伦", "范特西", "流行音乐", "封面.JPG", TTagForm::Utf16},
      {"אביב גפן", "שיר.mp3", "עכשיו מעונן", "אביב גפן", "ימים של שקט", "רוק ישראלי", "", TTagForm::Utf8},
      {"فيروز", "أغنية.mp3", "نسم علينا الهوى", "فيروز", "وحدن", "طرب", "", TTagForm::Utf16},
      {"🎵 Mix", "🎶 01.mp3", "🎶 Intro", "DJ 🎧", "🎵 Mix", "Électro 🎛", "🎵.jpg", TTagForm::Utf16},
      {"Café del Mar", "01 Été.mp3", "Été à Paris", "Motörhead", "Ace of Spädes", "Chanson française", "",
       TTagForm::CodePage},
      {"Ärzte", "Schrei nach Liebe.mp3", "Schrei nach Liebe", "Die Ärzte", "Die Bestie in Menschengestalt", "Pop", "",
       TTagForm::Id3v1},
  };
  return albums;
}

// A path from UTF-8 text, also where the narrow form is the ANSI code page.
inline std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string ScriptMp3(const TScriptAlbum& a) {
  // With a track number the song list takes the title from the tag.
  switch (a.Tags) {
    case TTagForm::Utf16:
      return Mp3WithFrames(Utf16TextFrame("TIT2", a.Title) + Utf16TextFrame("TPE1", a.Artist) +
                           Utf16TextFrame("TALB", a.Album) + TextFrame("TYER", "2001") + TextFrame("TRCK", "1") +
                           Utf16TextFrame("TCON", a.Genre));
    case TTagForm::Utf8: {
      const auto frame = [](const std::string& id, const std::string& text) {
        return id + BigEndian32(static_cast<uint32_t>(text.size() + 1)) + std::string("\x00\x00", 2) + "\x03" + text;
      };
      return Mp3WithFrames(frame("TIT2", a.Title) + frame("TPE1", a.Artist) + frame("TALB", a.Album) +
                           TextFrame("TYER", "2001") + TextFrame("TRCK", "1") + frame("TCON", a.Genre));
    }
    case TTagForm::CodePage:
      return Mp3WithFrames(TextFrame("TIT2", Utf8ToAnsi(a.Title)) + TextFrame("TPE1", Utf8ToAnsi(a.Artist)) +
                           TextFrame("TALB", Utf8ToAnsi(a.Album)) + TextFrame("TYER", "2001") +
                           TextFrame("TRCK", "1") + TextFrame("TCON", Utf8ToAnsi(a.Genre)));
    case TTagForm::Id3v1:  // genre 13: Pop; an empty comment ends in track 1 (version 1.1)
      return "audio" + Id3v1Tag(Utf8ToAnsi(a.Title), Utf8ToAnsi(a.Artist), Utf8ToAnsi(a.Album), "2001",
                                std::string(29, '\0') + "\x01", 13);
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
