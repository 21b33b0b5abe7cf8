#pragma once
// What a page shows where a list or tree would be when it has nothing to show ("No modems are
// installed."): a static text of the page in the control's place, growing with it. While the note
// shows, the control is hidden, so that neither paints over the other.
#include <windows.h>

#include <string>

namespace fw {

class ResizableDialog;

class EmptyNote {
 public:
  // Creates the note, hidden, in the place of the page's control, in the page's font; false when the
  // page has no such control or the note could not be created.
  bool Create(ResizableDialog& page, int controlId, const std::string& text);
  // The note instead of the control when empty, the control otherwise.
  void Show(bool empty);
  HWND Hwnd() const { return m_note; }

 private:
  HWND m_control = nullptr;
  HWND m_note = nullptr;  // a child of the page, destroyed with it
};

}  // namespace fw
