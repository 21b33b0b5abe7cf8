#include "framework/Dialog.h"

#include "framework/ColorizedTheme.h"

namespace fw {

Dialog::~Dialog() {
  // A window that outlives its object must not reach it any more.
  if (Hwnd()) SetWindowLongPtrA(Hwnd(), DWLP_USER, 0);
}

INT_PTR Dialog::DoModal(HWND owner) {
  m_modal = true;
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner, &Dialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateChild(HWND parent) {
  m_modal = false;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent, &Dialog::DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
  if (!Hwnd()) return;
  if (m_modal)
    ::EndDialog(Hwnd(), result);
  else
    DestroyWindow(Hwnd());
}

const MessageEntry<Dialog> Dialog::kMessageMap[] = {
    fw::OnCommand<&Dialog::OnOkCommand>(IDOK),
    fw::OnCommand<&Dialog::OnCancelCommand>(IDCANCEL),
    fw::OnCtlColor<&Dialog::OnCtlColor>(WM_CTLCOLORDLG),
    fw::OnCtlColor<&Dialog::OnCtlColor>(WM_CTLCOLORSTATIC),
    fw::OnCtlColor<&Dialog::OnCtlColor>(WM_CTLCOLORBTN),
};

bool Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<Dialog>(kMessageMap, message, wParam, lParam, result);
}

void Dialog::OnOkCommand(UINT notifyCode, HWND) {
  if (notifyCode == BN_CLICKED && m_modal) OnOK();
}

void Dialog::OnCancelCommand(UINT notifyCode, HWND) {
  if (notifyCode == BN_CLICKED && m_modal) OnCancel();
}

HBRUSH Dialog::OnCtlColor(HDC dc, HWND) const { return m_theme ? m_theme->CtlColor(dc, Hwnd()) : nullptr; }

// Messages whose dialog-procedure result is the value itself rather than DWLP_MSGRESULT.
static bool ReturnsValueDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
         message == WM_INITDIALOG;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->BindHwnd(hwnd);
    try {
      return self->OnInitDialog() ? TRUE : FALSE;
    } catch (...) {
      return TRUE;
    }
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  LRESULT result = 0;
  const bool handled = self->SafeHandleMessage(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->UnbindHwnd();
    self->OnWindowGone();
  }
  if (!handled) return FALSE;
  if (ReturnsValueDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace fw
