// The one way to open a C stream by path: the path is UTF-8, which Win32's
// fopen would take as ANSI, so there it goes through the wide, long-path
// form; natively the bytes are the name.
#pragma once
#include <cstdio>
#include <string>

namespace tavio {

// fopen's modes and results: null when the file cannot be opened.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace tavio
