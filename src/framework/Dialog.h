#pragma once
// Dialogs built from dialog templates: run modally, or created as a child page of another window.
// The object is bound to its window from WM_INITDIALOG to WM_NCDESTROY.
#include "framework/Window.h"

namespace fw {

class Dialog : public Window {
 public:
  explicit Dialog(UINT templateId) : m_templateId(templateId) {}
  ~Dialog() override;

  // Runs the dialog modally; returns the value given to EndDialog, or -1 when it could not be created.
  INT_PTR DoModal(HWND owner);
  // Creates the dialog as a modeless child of parent (a page); true when created.
  bool CreateChild(HWND parent);
  void EndDialog(INT_PTR result);
  HWND Item(int controlId) const { return GetDlgItem(Hwnd(), controlId); }
  UINT TemplateId() const { return m_templateId; }

 protected:
  // Called from WM_INITDIALOG; true lets the dialog manager set the initial focus.
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // The default map: OK and Cancel of a modal dialog.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT DefaultProc(UINT, WPARAM, LPARAM) override { return 0; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  UINT m_templateId;
  bool m_modal = false;
};

}  // namespace fw
