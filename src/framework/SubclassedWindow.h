#pragma once
// A window of a class that is not ours (a control of a dialog template, a common control) driven by a
// message map: the object takes over the window's procedure and hands what its map leaves to the
// control's own procedure. The binding ends when the window goes or the object does.
#include "framework/Window.h"

namespace fw {

class SubclassedWindow : public Window {
 public:
  SubclassedWindow() = default;
  ~SubclassedWindow() override;

  // False when hwnd is not a window or either side is bound already.
  bool Attach(HWND hwnd);

 protected:
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The procedure is replaced directly rather than through the common controls' subclass chain,
  // which costs about a millisecond per message under Wine: too slow for a list of many rows.
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();

  WNDPROC m_controlProc = nullptr;
};

}  // namespace fw
