#pragma once
// The one way for a part of the program to tell the user something in a message box. The application
// provides it; pages and the tray receive it through their constructors.

namespace tfm {

// The title of every message box the program shows.
inline constexpr char kProgramName[] = "Telvaro Fax Server Monitor";

class IUserNotice {
 public:
  // Shows text to the user, titled with the program's name; returns once the user has read it.
  virtual void Tell(const char* text) = 0;

 protected:
  ~IUserNotice() = default;
};

}  // namespace tfm
