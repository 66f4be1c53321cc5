#include "ui/window.h"

#include <exception>
#include <stdexcept>

namespace tavio::ui {

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
  return module;
}

void ShowErrorMessage(HWND owner, const std::string& message) {
  MessageBoxA(owner, message.c_str(), "Marquelle", MB_OK | MB_ICONERROR);
}

TWindow::~TWindow() { DestroyHandle(); }

void TWindow::CreateHandle(const char* className, DWORD style, DWORD exStyle, HWND parent, int x, int y, int w,
                           int h, const char* title, UINT classStyle) {
  const HINSTANCE instance = ModuleInstance();
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(instance, className, &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!RegisterClassExA(&wc)) throw std::runtime_error(std::string("Cannot register window class ") + className);
  }
  handle_ = CreateWindowExA(exStyle, className, title, style, x, y, w, h, parent, nullptr, instance, this);
  if (!handle_) throw std::runtime_error(std::string("Cannot create window ") + className);
}

void TWindow::DestroyHandle() {
  if (!handle_) return;
  const HWND h = handle_;
  SetWindowLongPtrA(h, GWLP_USERDATA, 0);
  handle_ = nullptr;
  DestroyWindow(h);
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(handle_, msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return Guarded(hwnd, [&] { return self->HandleMessage(msg, wParam, lParam); }, LRESULT{0});
}

}  // namespace tavio::ui
