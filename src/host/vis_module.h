// The player's visualization plug-in records: the exported header, the module
// record and the embedded-frame state block, with their layouts pinned (the
// player's 32-bit one, and the natural 64-bit one of the test build).
#pragma once
#include <windows.h>

#include <cstddef>

namespace tavio::host {

struct VisModule;

using VisConfigFn = void(__cdecl*)(VisModule*);
using VisInitFn = int(__cdecl*)(VisModule*);

struct VisModule {
  const char* description;
  HWND hwndParent;
  HINSTANCE hDllInstance;
  int sRate;
  int nCh;
  int latencyMs;
  int delayMs;
  int spectrumNch;
  int waveformNch;
  unsigned char spectrumData[2][576];
  unsigned char waveformData[2][576];
  VisConfigFn Config;
  VisInitFn Init;
  VisInitFn Render;
  VisConfigFn Quit;
  void* userData;
};

struct VisHeader {
  int version;
  const char* description;
  VisModule*(__cdecl* getModule)(int index);
};

// The host's embedded-window record; only its first 24 bytes are ours to read.
struct EmbedWindowState {
  HWND me;
  int flags;
  RECT r;
  unsigned char hostPrivate[288 - 24];
};

using EmbedWindowFn = HWND(__cdecl*)(EmbedWindowState*);

constexpr int kVisHeaderVersion = 0x101;
constexpr LPARAM kIpcGetEmbedIf = 505;
constexpr LPARAM kIpcSetVisWnd = 611;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(VisHeader) == 12);
static_assert(offsetof(VisHeader, version) == 0);
static_assert(offsetof(VisHeader, description) == 4);
static_assert(offsetof(VisHeader, getModule) == 8);
static_assert(sizeof(VisModule) == 2360);
static_assert(offsetof(VisModule, description) == 0);
static_assert(offsetof(VisModule, hwndParent) == 4);
static_assert(offsetof(VisModule, hDllInstance) == 8);
static_assert(offsetof(VisModule, sRate) == 12);
static_assert(offsetof(VisModule, nCh) == 16);
static_assert(offsetof(VisModule, latencyMs) == 20);
static_assert(offsetof(VisModule, delayMs) == 24);
static_assert(offsetof(VisModule, spectrumNch) == 28);
static_assert(offsetof(VisModule, waveformNch) == 32);
static_assert(offsetof(VisModule, spectrumData) == 36);
static_assert(offsetof(VisModule, waveformData) == 1188);
static_assert(offsetof(VisModule, Config) == 2340);
static_assert(offsetof(VisModule, Init) == 2344);
static_assert(offsetof(VisModule, Render) == 2348);
static_assert(offsetof(VisModule, Quit) == 2352);
static_assert(offsetof(VisModule, userData) == 2356);
static_assert(sizeof(EmbedWindowState) == 288);
static_assert(offsetof(EmbedWindowState, me) == 0);
static_assert(offsetof(EmbedWindowState, flags) == 4);
static_assert(offsetof(EmbedWindowState, r) == 8);
#elif defined(_WIN64)
static_assert(sizeof(VisHeader) == 24);
static_assert(offsetof(VisHeader, description) == 8);
static_assert(offsetof(VisHeader, getModule) == 16);
static_assert(sizeof(VisModule) == 2392);
static_assert(offsetof(VisModule, hwndParent) == 8);
static_assert(offsetof(VisModule, sRate) == 24);
static_assert(offsetof(VisModule, latencyMs) == 32);
static_assert(offsetof(VisModule, waveformNch) == 44);
static_assert(offsetof(VisModule, spectrumData) == 48);
static_assert(offsetof(VisModule, Config) == 2352);
static_assert(offsetof(VisModule, userData) == 2384);
static_assert(offsetof(EmbedWindowState, r) == 12);
#endif

}  // namespace tavio::host
