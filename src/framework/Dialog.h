#pragma once
// Dialogs built from dialog templates: run modally, or created as a child page of another window.
// The object is bound to its window from WM_INITDIALOG to WM_NCDESTROY. A modal dialog sees the
// messages of its windows before the dialog manager does (PreTranslateMessage): keys go to the
// control with the focus, and keys that belong to the whole dialog are caught there.
#include "framework/Window.h"

namespace fw {

class CColorizedTheme;

// Every dialog, page or top-level, takes its face and text colours from the theme it is given; without
// one the system's colours apply.
class Dialog : public Window {
 public:
  explicit Dialog(UINT templateId, const CColorizedTheme* theme = nullptr)
      : m_templateId(templateId), m_theme(theme) {}
  ~Dialog() override;

  // Runs the dialog modally; returns the value given to EndDialog, or -1 when it could not be created.
  INT_PTR DoModal(HWND owner);
  // Creates the dialog as a modeless child of parent (a page); true when created.
  bool CreateChild(HWND parent);
  void EndDialog(INT_PTR result);
  HWND Item(int controlId) const { return GetDlgItem(Hwnd(), controlId); }
  UINT TemplateId() const { return m_templateId; }
  const CColorizedTheme* Theme() const { return m_theme; }

 protected:
  // Called from WM_INITDIALOG; true lets the dialog manager set the initial focus.
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // A message for the running modal dialog or one of its controls, before the dialog manager
  // translates it; true when the dialog took it.
  virtual bool PreTranslateMessage(const MSG& /*message*/) { return false; }
  // The default map: OK and Cancel of a modal dialog, and the theme's colours.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT DefaultProc(UINT, WPARAM, LPARAM) override { return 0; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ModalFilter(int code, WPARAM wParam, LPARAM lParam);
  void OnOkCommand(UINT notifyCode, HWND);
  void OnCancelCommand(UINT notifyCode, HWND);
  HBRUSH OnCtlColor(HDC dc, HWND) const;

  static const MessageEntry<Dialog> kMessageMap[];
  UINT m_templateId;
  const CColorizedTheme* m_theme;
  bool m_modal = false;
  static thread_local Dialog* s_innermostModal;  // the modal dialog whose loop runs on this thread
};

}  // namespace fw
