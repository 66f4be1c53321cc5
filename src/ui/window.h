// TWindow: the base of every window of ours. Its one window procedure routes
// messages to HandleMessage and turns an escaping exception into a message box.
// Windows are wide; every text in and out of this toolkit is UTF-8.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tavio::ui {

class TWindow {
 public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return handle_; }

 protected:
  // Registers the class once per process (the name must be unique to the C++
  // class) and creates the window with this object behind it.
  void CreateHandle(const char* className, DWORD style, DWORD exStyle, HWND parent, int x, int y, int w,
                    int h, const char* title = "", UINT classStyle = 0);
  void DestroyHandle();

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};

// Shows an error's message the way every window of ours does.
void ShowErrorMessage(HWND owner, const std::string& message);
// MessageBoxW with UTF-8 texts; returns its answer.
int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT flags);

// A window's or control's text (GetWindowTextW / SetWindowTextW) in UTF-8.
std::string ReadWindowText(HWND window);
void WriteWindowText(HWND window, std::string_view text);

// Runs a handler; an exception leaving it is shown in a message box.
template <typename Fn>
auto Guarded(HWND owner, Fn&& fn, decltype(fn()) fallback) -> decltype(fn()) {
  try {
    return fn();
  } catch (const std::exception& e) {
    ShowErrorMessage(owner, e.what());
  } catch (...) {
    ShowErrorMessage(owner, "Unknown error");
  }
  return fallback;
}

// The module that contains our code: the DLL inside the player, the exe in tests.
HINSTANCE ModuleInstance();

}  // namespace tavio::ui
