#include "ui/window.h"

#include <exception>
#include <stdexcept>

#include "text/wide_text_win32.h"

namespace tavio::ui {

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

void ShowErrorMessage(HWND owner, const std::string& message) {
  ShowMessageBox(owner, message, "Marquelle", MB_OK | MB_ICONERROR);
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT flags) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

std::string ReadWindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void WriteWindowText(HWND window, std::string_view text) { SetWindowTextW(window, Widen(text).c_str()); }

TWindow::~TWindow() { DestroyHandle(); }

void TWindow::CreateHandle(const char* className, DWORD style, DWORD exStyle, HWND parent, int x, int y, int w,
                           int h, const char* title, UINT classStyle) {
  const HINSTANCE instance = ModuleInstance();
  const std::wstring wideClass = Widen(className);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, wideClass.c_str(), &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = wideClass.c_str();
    if (!RegisterClassExW(&wc)) throw std::runtime_error(std::string("Cannot register window class ") + className);
  }
  handle_ = CreateWindowExW(exStyle, wideClass.c_str(), Widen(title).c_str(), style, x, y, w, h, parent, nullptr,
                            instance, this);
  if (!handle_) throw std::runtime_error(std::string("Cannot create window ") + className);
}

void TWindow::DestroyHandle() {
  if (!handle_) return;
  const HWND h = handle_;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  handle_ = nullptr;
  DestroyWindow(h);
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(handle_, msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return Guarded(hwnd, [&] { return self->HandleMessage(msg, wParam, lParam); }, LRESULT{0});
}

}  // namespace tavio::ui
