// make_hostile_files DIR: writes every hostile file into DIR/<target>/ for
// each fuzz target that takes it (a picture target's copy ends in the byte
// that picks its extension).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/hostile_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_hostile_files DIR\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  for (const tavio::test::THostileFile& file : tavio::test::HostileFiles()) {
    for (const std::string& target : file.Targets) {
      std::filesystem::create_directories(root / target);
      const std::string path = (root / target / file.Name).string();
      file.Write(path);
      if (target == "picture") std::ofstream(path, std::ios::binary | std::ios::app).put(file.PictureSelector);
    }
  }
  return 0;
}
