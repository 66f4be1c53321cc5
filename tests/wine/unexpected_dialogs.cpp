// Every Wine test runs with a watcher that closes any dialog or message box
// our process opens and fails the run, so an unexpected modal box can never
// hang the suite. Tests that expect a box close it themselves first.
#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "text/wide_text_win32.h"

namespace {

std::mutex g_mutex;
std::vector<std::string> g_closed;
std::set<HWND> g_seen;
std::string g_currentTest;

BOOL CALLBACK CloseOwnDialog(HWND hwnd, LPARAM) {
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (std::wstring_view(cls) != L"#32770" || pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t title[256] = {}, text[1024] = {};
  GetWindowTextW(hwnd, title, 256);
  GetDlgItemTextW(hwnd, 0xFFFF, text, 1024);
  {
    std::lock_guard lock(g_mutex);
    if (!g_seen.insert(hwnd).second) return TRUE;
    g_closed.push_back(g_currentTest + ": " + tavio::Narrow(title) + ": " + tavio::Narrow(text));
  }
  PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

DWORD WINAPI Watch(void*) {
  for (;;) {
    Sleep(500);
    EnumWindows(CloseOwnDialog, 0);
  }
}

class DialogWatch : public ::testing::Environment {
 public:
  void SetUp() override { CloseHandle(CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr)); }
  void TearDown() override {
    std::lock_guard lock(g_mutex);
    for (const auto& line : g_closed) ADD_FAILURE() << "unexpected dialog closed: " << line;
  }
};

// Remembers which test is running, to name it in the report.
class CurrentTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& info) override {
    std::lock_guard lock(g_mutex);
    g_currentTest = std::string(info.test_suite_name()) + "." + info.name();
  }
};

const bool registered = [] {
  ::testing::AddGlobalTestEnvironment(new DialogWatch);
  ::testing::UnitTest::GetInstance()->listeners().Append(new CurrentTest);
  return true;
}();

}  // namespace
