#include "player_host_run.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

#include "settings/settings_keys.h"
#include "settings/settings_store.h"

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
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string NewTempFolder(const std::string& tag) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  const std::string folder = std::string(temp) + "tavio_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++counter) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

PlayerHostProcess::PlayerHostProcess(const std::vector<std::string>& script, const std::string& extraArgs,
                                     const std::string& folder) {
  run_.folder = folder.empty() ? NewTempFolder("run") : folder;
  const std::string scriptFile = run_.folder + "actions.txt";
  {
    std::ofstream out(scriptFile);
    for (const auto& line : script) out << line << "\n";
  }
  std::string cmd = "\"" + ProductFolder() + "playerhost.exe\" --plugin \"" + ProductFolder() +
                    "vis_Tavio.dll\" --winamp-dir \"" + run_.folder.substr(0, run_.folder.size() - 1) +
                    "\" --log \"" + run_.folder + "player.log\" --actions \"" + scriptFile + "\" --close-dialogs " +
                    extraArgs;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
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
    if (FindWindowA("Winamp v1.x", nullptr)) return true;
    Sleep(50);
  }
  return false;
}

void PlayerHostProcess::Close() {
  if (HWND player = FindWindowA("Winamp v1.x", nullptr)) PostMessageA(player, WM_CLOSE, 0, 0);
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
  std::ifstream in(run_.folder + "player.log");
  std::string line;
  while (std::getline(in, line)) run_.log.push_back(line);
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
