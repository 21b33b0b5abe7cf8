#include "framework/Dialog.h"

#include <utility>

#include "framework/ColorizedTheme.h"
#include "os/Owned.h"

namespace fw {

Dialog::~Dialog() {
  // A window that outlives its object must not reach it any more.
  if (Hwnd()) SetWindowLongPtrW(Hwnd(), DWLP_USER, 0);
}

thread_local Dialog* Dialog::s_innermostModal = nullptr;

// The dialog manager offers every message of a modal loop to the thread's message filter
// (MSGF_DIALOGBOX) before it translates it. The outermost modal dialog of the thread installs the
// filter; it hands the messages to the innermost one.
INT_PTR Dialog::DoModal(HWND owner) {
  m_modal = true;
  Dialog* const outer = std::exchange(s_innermostModal, this);
  const os::UniqueHook filter(outer ? nullptr
                                    : SetWindowsHookExW(WH_MSGFILTER, &Dialog::ModalFilter, nullptr, GetCurrentThreadId()));
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner,
                                         &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
  s_innermostModal = outer;
  return result;
}

LRESULT CALLBACK Dialog::ModalFilter(int code, WPARAM wParam, LPARAM lParam) {
  Dialog* const dialog = s_innermostModal;
  if (code == MSGF_DIALOGBOX && dialog && dialog->Hwnd()) {
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    // A message box runs a loop of its own; only the dialog's own windows are its business.
    const bool ours = message.hwnd == dialog->Hwnd() || IsChild(dialog->Hwnd(), message.hwnd);
    try {
      if (ours && dialog->PreTranslateMessage(message)) return 1;
    } catch (...) {
      // Nothing thrown crosses into the dialog manager: the message goes on as usual.
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Dialog::CreateChild(HWND parent) {
  m_modal = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent, &Dialog::DialogProc,
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
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->BindHwnd(hwnd);
    try {
      return self->OnInitDialog() ? TRUE : FALSE;
    } catch (...) {
      return TRUE;
    }
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  LRESULT result = 0;
  const bool handled = self->SafeHandleMessage(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->UnbindHwnd();
    self->OnWindowGone();
  }
  if (!handled) return FALSE;
  if (ReturnsValueDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace fw
