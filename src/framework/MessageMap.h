#pragma once
// Message maps: each entry names a message and a handler member function, and its cracker unpacks
// WPARAM/LPARAM into the handler's typed arguments. A handler returns nothing (the message's result
// is 0), or the result itself. Coordinates are unpacked signed (GET_X_LPARAM), as the platform packs
// them on multi-monitor systems.
//
//   const fw::MessageEntry<CChart> CChart::kMessageMap[] = {
//       fw::OnSize<&CChart::OnSize>(),                        // void OnSize(UINT type, int cx, int cy)
//       fw::OnTimer<&CChart::OnTimer>(fw::Platform::After),  // void OnTimer(UINT_PTR id)
//   };
//   bool CChart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
//     return Dispatch<CChart>(kMessageMap, message, wParam, lParam, result) || Base::HandleMessage(...);
//   }
#include <windows.h>
#include <windowsx.h>

#include <type_traits>

#include "framework/Dpi.h"

namespace fw {

// What becomes of the platform's own handling of a message that an entry handles: skipped (the
// handler's result is the answer), run after the handler (the message goes on as if unhandled), or
// run before the handler (whose result is then ignored; the platform's result is the answer).
enum class Platform { Skipped, After, Before };

template <class T>
struct MessageEntry {
  UINT message = 0;
  const wchar_t* registeredName = nullptr;  // for messages whose number is known only at run time
  bool matchesId = false;                   // the entry is for one control or command id only
  UINT id = 0;
  Platform platform = Platform::Skipped;
  LRESULT (*crack)(T& self, WPARAM wParam, LPARAM lParam) = nullptr;
};

// The control or command id a message refers to, for the messages whose entries may name one.
inline UINT MessageId(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: return LOWORD(wParam);
    case WM_DRAWITEM: return static_cast<UINT>(wParam);
    case WM_NOTIFY: return static_cast<UINT>(reinterpret_cast<const NMHDR*>(lParam)->idFrom);
    default: return 0;
  }
}

template <class T>
bool Matches(const MessageEntry<T>& entry, UINT message, WPARAM wParam, LPARAM lParam) {
  // Registered messages are numbered from 0xC000; the system gives the same number for a name every time.
  if (entry.registeredName) return message >= 0xC000 && message == RegisterWindowMessageW(entry.registeredName);
  return entry.message == message && (!entry.matchesId || entry.id == MessageId(message, wParam, lParam));
}

namespace detail {

template <class M>
struct MemberOf;
template <class T, class R, class... A>
struct MemberOf<R (T::*)(A...)> {
  using Class = T;
};
template <class T, class R, class... A>
struct MemberOf<R (T::*)(A...) const> {
  using Class = T;
};
template <auto Handler>
using ClassOf = typename MemberOf<decltype(Handler)>::Class;

// Calls the handler and turns what it returns into the message's result.
template <auto Handler, class T, class... A>
LRESULT Call(T& self, A&&... args) {
  using R = decltype((self.*Handler)(static_cast<A&&>(args)...));
  if constexpr (std::is_void_v<R>) {
    (self.*Handler)(static_cast<A&&>(args)...);
    return 0;
  } else if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<LRESULT>((self.*Handler)(static_cast<A&&>(args)...));
  } else {
    return static_cast<LRESULT>((self.*Handler)(static_cast<A&&>(args)...));
  }
}

template <auto Handler, class Crack>
constexpr MessageEntry<ClassOf<Handler>> Entry(UINT message, Platform platform, Crack) {
  return {message, nullptr, false, 0, platform, +[](ClassOf<Handler>& self, WPARAM w, LPARAM l) {
            return Crack{}(self, w, l);
          }};
}

// The entry, restricted to messages that refer to one control or command id.
template <class T>
constexpr MessageEntry<T> ForId(MessageEntry<T> entry, UINT id) {
  entry.matchesId = true;
  entry.id = id;
  return entry;
}

}  // namespace detail

// A message without parameters (WM_CREATE, WM_DESTROY, WM_CLOSE, WM_QUERYENDSESSION, ...): Handler().
template <auto Handler>
constexpr auto OnMessage(UINT message, Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(message, platform, [](auto& self, WPARAM, LPARAM) {
    return detail::Call<Handler>(self);
  });
}

// A registered message (RegisterWindowMessage) named name, recognised when it comes:
// Handler(), or Handler(WPARAM, LPARAM) when the message's parameters are the registrant's own.
template <auto Handler>
constexpr auto OnRegistered(const wchar_t* name) {
  auto entry = detail::Entry<Handler>(0, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    if constexpr (std::is_invocable_v<decltype(Handler), decltype(self)>)
      return detail::Call<Handler>(self);
    else
      return detail::Call<Handler>(self, w, l);
  });
  entry.registeredName = name;
  return entry;
}

// WM_SIZE: Handler(UINT type, int cx, int cy).
template <auto Handler>
constexpr auto OnSize(Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(WM_SIZE, platform, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, static_cast<UINT>(w), GET_X_LPARAM(l), GET_Y_LPARAM(l));
  });
}

// WM_PAINT: Handler().
template <auto Handler>
constexpr auto OnPaint(Platform platform = Platform::Skipped) {
  return OnMessage<Handler>(WM_PAINT, platform);
}

// WM_ERASEBKGND: bool Handler(HDC dc), true when the background is erased.
template <auto Handler>
constexpr auto OnEraseBackground() {
  return detail::Entry<Handler>(WM_ERASEBKGND, Platform::Skipped, [](auto& self, WPARAM w, LPARAM) {
    return detail::Call<Handler>(self, reinterpret_cast<HDC>(w));
  });
}

// WM_TIMER: Handler(UINT_PTR timerId).
template <auto Handler>
constexpr auto OnTimer(Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(WM_TIMER, platform, [](auto& self, WPARAM w, LPARAM) {
    return detail::Call<Handler>(self, static_cast<UINT_PTR>(w));
  });
}

// WM_COMMAND for one command id: Handler(), or Handler(UINT notifyCode, HWND control).
template <auto Handler>
constexpr auto OnCommand(UINT commandId) {
  constexpr auto crack = [](auto& self, WPARAM w, LPARAM l) {
    if constexpr (std::is_invocable_v<decltype(Handler), decltype(self)>)
      return detail::Call<Handler>(self);
    else
      return detail::Call<Handler>(self, static_cast<UINT>(HIWORD(w)), reinterpret_cast<HWND>(l));
  };
  return detail::ForId(detail::Entry<Handler>(WM_COMMAND, Platform::Skipped, crack), commandId);
}

// WM_COMMAND for every id that no earlier entry took: Handler(UINT id, UINT notifyCode, HWND control).
template <auto Handler>
constexpr auto OnAnyCommand() {
  return detail::Entry<Handler>(WM_COMMAND, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, static_cast<UINT>(LOWORD(w)), static_cast<UINT>(HIWORD(w)),
                                 reinterpret_cast<HWND>(l));
  });
}

// WM_NOTIFY from one control: Handler(const NMHDR& header), returning the notification's result.
template <auto Handler>
constexpr auto OnNotify(UINT controlId) {
  return detail::ForId(detail::Entry<Handler>(WM_NOTIFY, Platform::Skipped, [](auto& self, WPARAM, LPARAM l) {
                         return detail::Call<Handler>(self, *reinterpret_cast<const NMHDR*>(l));
                       }),
                       controlId);
}

// WM_DRAWITEM for one owner-drawn control: Handler(const DRAWITEMSTRUCT&); the message's result is TRUE.
template <auto Handler>
constexpr auto OnDrawItem(UINT controlId) {
  constexpr auto crack = [](auto& self, WPARAM, LPARAM l) -> LRESULT {
    detail::Call<Handler>(self, *reinterpret_cast<const DRAWITEMSTRUCT*>(l));
    return TRUE;
  };
  return detail::ForId(detail::Entry<Handler>(WM_DRAWITEM, Platform::Skipped, crack), controlId);
}

// WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, ...: HBRUSH Handler(HDC dc, HWND control); null leaves the colours
// to the system.
template <auto Handler>
constexpr auto OnCtlColor(UINT message) {
  return detail::Entry<Handler>(message, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
  });
}

// WM_CONTEXTMENU: Handler(HWND clicked, POINT screen); the point is (-1, -1) when the keyboard asked.
template <auto Handler>
constexpr auto OnContextMenu() {
  return detail::Entry<Handler>(WM_CONTEXTMENU, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, reinterpret_cast<HWND>(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
  });
}

// A mouse button or move message (WM_LBUTTONDOWN, WM_MOUSEMOVE, ...): Handler(UINT keys, POINT client).
template <auto Handler>
constexpr auto OnMouse(UINT message, Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(message, platform, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, static_cast<UINT>(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
  });
}

// WM_SETFOCUS and WM_KILLFOCUS: Handler(HWND other), the window that loses or gains the focus.
template <auto Handler>
constexpr auto OnFocus(UINT message, Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(message, platform, [](auto& self, WPARAM w, LPARAM) {
    return detail::Call<Handler>(self, reinterpret_cast<HWND>(w));
  });
}

// WM_GETMINMAXINFO: Handler(MINMAXINFO& limits), which changes the limits it is given.
template <auto Handler>
constexpr auto OnGetMinMaxInfo() {
  return detail::Entry<Handler>(WM_GETMINMAXINFO, Platform::Skipped, [](auto& self, WPARAM, LPARAM l) {
    return detail::Call<Handler>(self, *reinterpret_cast<MINMAXINFO*>(l));
  });
}

// WM_ENDSESSION: Handler(bool ending).
template <auto Handler>
constexpr auto OnEndSession() {
  return detail::Entry<Handler>(WM_ENDSESSION, Platform::Skipped, [](auto& self, WPARAM w, LPARAM) {
    return detail::Call<Handler>(self, w != FALSE);
  });
}

// WM_SETTINGCHANGE: Handler(UINT flag, const wchar_t* section); section may be null.
template <auto Handler>
constexpr auto OnSettingChange() {
  return detail::Entry<Handler>(WM_SETTINGCHANGE, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, static_cast<UINT>(w), reinterpret_cast<const wchar_t*>(l));
  });
}

// WM_INITMENUPOPUP: Handler(HMENU popup, UINT position, bool windowMenu), before the menu opens.
template <auto Handler>
constexpr auto OnInitMenuPopup() {
  return detail::Entry<Handler>(WM_INITMENUPOPUP, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, reinterpret_cast<HMENU>(w), static_cast<UINT>(LOWORD(l)), HIWORD(l) != 0);
  });
}

// WM_DPICHANGED: Handler(UINT dpi, const RECT& suggested), the new DPI and the window rectangle that
// the system suggests for it.
template <auto Handler>
constexpr auto OnDpiChanged(Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(WM_DPICHANGED, platform, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, static_cast<UINT>(HIWORD(w)), *reinterpret_cast<const RECT*>(l));
  });
}

// WM_DPICHANGED_AFTERPARENT: Handler(UINT dpi). The system sends it with no parameter, and the
// window's DPI is then asked for; a parent that passes its new DPI on puts it in WPARAM.
template <auto Handler>
constexpr auto OnDpiChangedAfterParent(Platform platform = Platform::Skipped) {
  return detail::Entry<Handler>(kDpiChangedAfterParent, platform, [](auto& self, WPARAM w, LPARAM) {
    return detail::Call<Handler>(self, w != 0 ? static_cast<UINT>(w) : WindowDpi(self.Hwnd()));
  });
}

// The callback message of a notification-area icon: Handler(WPARAM, LPARAM), whose form depends on the
// version the icon asked the shell for.
template <auto Handler>
constexpr auto OnNotifyIcon(UINT callbackMessage) {
  return detail::Entry<Handler>(callbackMessage, Platform::Skipped, [](auto& self, WPARAM w, LPARAM l) {
    return detail::Call<Handler>(self, w, l);
  });
}

}  // namespace fw
