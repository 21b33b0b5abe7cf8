#pragma once
// A top-level frame loaded from a resource id (its icon, menu and title string). Commands the frame
// does not handle go on to the application object, which also decides the check marks of the menus
// the frame opens; destroying the application's main frame ends the message loop.
#include "framework/Window.h"

namespace fw {

// Frame style bit of the framework: add the document name to the title (no effect here).
inline constexpr DWORD kFwsAddToTitle = 0x00008000;

class Application;

class FrameWindow : public Window {
 public:
  // Commands the frame does not handle go to app; when app's main window goes, the loop ends.
  explicit FrameWindow(Application& app) : m_app(app) {}

  bool LoadFrame(UINT resourceId, DWORD style, const wchar_t* className);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // WM_CLOSE: the default destroys the frame.
  virtual void OnClose();
  void OnWindowGone() override;

 private:
  void OnAnyCommand(UINT commandId, UINT notifyCode, HWND control);
  void OnInitMenuPopup(HMENU popup, UINT position, bool windowMenu);

  static const MessageEntry<FrameWindow> kMessageMap[];

  Application& m_app;
};

}  // namespace fw
