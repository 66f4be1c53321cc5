#include "player_host_run.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "text/open_file.h"
#include "text/wide_text_win32.h"

namespace tavio::test {

std::vector<std::string> PlayerHostRun::Dialogs() const {
  std::vector<std::string> out;
  for (const auto& line : log)
    if (line.rfind("dialog ", 0) == 0) out.push_back(line);
  return out;
}

bool PlayerHostRun::Contains(const std::string& line) const { return CountOf(line) > 0; }

int PlayerHostRun::CountOf(const std::string& line) const {
  return static_cast<int>(std::count(log.begin(), log.end(), line));
}

std::string ProductFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const std::string folder = Narrow(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string NewTempFolder(const std::string& tag) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  const std::string folder = Narrow(temp) + "tavio_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++counter) + "\\";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  return folder;
}

PlayerHostProcess::PlayerHostProcess(const std::vector<std::string>& script, const std::string& extraArgs,
                                     const std::string& folder) {
  run_.folder = folder.empty() ? NewTempFolder("run") : folder;
  const std::string scriptFile = run_.folder + "actions.txt";
  if (std::FILE* out = OpenFile(scriptFile, "wb")) {
    for (const auto& line : script) std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
  }
  std::string cmd = "\"" + ProductFolder() + "playerhost.exe\" --plugin \"" + ProductFolder() +
                    "vis_Tavio.dll\" --winamp-dir \"" + run_.folder.substr(0, run_.folder.size() - 1) +
                    "\" --log \"" + run_.folder + "player.log\" --actions \"" + scriptFile + "\" --close-dialogs " +
                    extraArgs;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring wideCmd = Widen(cmd);
  if (!CreateProcessW(nullptr, wideCmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    run_.log.push_back("error cannot start playerhost");
    return;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
}

PlayerHostProcess::~PlayerHostProcess() {
  if (process_) Finish();
}

bool PlayerHostProcess::WaitForPlayerWindow() {
  for (int i = 0; i < 200; ++i) {
    if (FindWindowW(L"Winamp v1.x", nullptr)) return true;
    Sleep(50);
  }
  return false;
}

void PlayerHostProcess::Close() {
  if (HWND player = FindWindowW(L"Winamp v1.x", nullptr)) PostMessageW(player, WM_CLOSE, 0, 0);
}

PlayerHostRun PlayerHostProcess::Finish() {
  if (!process_) return run_;
  const HANDLE process = static_cast<HANDLE>(process_);
  process_ = nullptr;
  if (WaitForSingleObject(process, 60000) == WAIT_TIMEOUT) {
    run_.timedOut = true;
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 5000);
  }
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  run_.exitCode = code;
  CloseHandle(process);
  std::string text;
  if (std::FILE* in = OpenFile(run_.folder + "player.log", "r")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, got);
    std::fclose(in);
  }
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) run_.log.push_back(line);
  return run_;
}

PlayerHostRun RunPlayerHost(const std::vector<std::string>& script, const std::string& extraArgs,
                            const std::string& folder) {
  return PlayerHostProcess(script, extraArgs, folder).Finish();
}

void WriteScriptedRunSettings(int32_t stepCount) {
  const auto store = OpenSettingsStore();
  using namespace settings;
  store->WriteInteger(kSettings, kCurrentIndex, 0);
  store->WriteInteger(kSettings, kStepCount, stepCount);
  store->WriteInteger(kSettings, kCurveA, 0);
  store->WriteInteger(kSettings, kCurveB, static_cast<int32_t>(kCurveScale));
  store->WriteInteger(kSettings, kCoverSize, kDefaultCoverSize);
  store->WriteFlag(kSettings, kControlPanel, false);
  store->WriteFlag(kSettings, kReverseScroll, false);
  store->WriteFlag(kSettings, kFollowPlaying, false);
}

}  // namespace tavio::test
