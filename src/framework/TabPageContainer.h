#pragma once
// A tab-page container: a strip of tabs along one edge and, in the rest of its area, one page at a
// time. Pages are child windows of the container (dialogs created with CreateChild on it); the
// first page added is selected and shown, later ones are added hidden, and choosing a tab shows its
// page and hides the one before. The container lays its pages out in its page area, again whenever
// it is resized. The tab strip is painted in the colours of the theme the container is given, and
// shows the keyboard focus on the selected tab. Ctrl+Tab and Ctrl+PgDn choose the next tab,
// Ctrl+Shift+Tab and Ctrl+PgUp the one before, wherever the focus is in the dialog: the dialog hands
// its keys to SwitchOnKey.
//
// The container is a control of a dialog template, class kClassName; register the class before the
// dialog is created and attach the object to the control in the dialog's initialisation.
#include <string>
#include <vector>

#include "framework/ColorizedTheme.h"
#include "framework/SubclassedWindow.h"

namespace fw {

enum class TabEdge { Top, Bottom };

class TabPageContainer : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"TfmTabPages";
  static constexpr int kTabStripId = 100;

  explicit TabPageContainer(const CColorizedTheme* theme) : m_strip(theme) {}

  static bool RegisterWindowClass();

  // Binds to the container control and creates its tab strip.
  bool Attach(HWND control);
  void SetTabEdge(TabEdge edge);
  // Appends a page with its tab; false when the tab could not be added.
  bool AddPage(HWND page, const std::string& title);
  void SelectPage(int index);
  // Selects the tab `step` places on, wrapping around. A focus left on the hidden page moves to the
  // first control of the new one that takes it, or to the tab strip.
  void SelectNextPage(int step);
  // A key press that switches tabs selects the tab and makes the focus visible; true when it was one.
  bool SwitchOnKey(const MSG& message);

  int PageCount() const { return static_cast<int>(m_pages.size()); }
  int SelectedPage() const;
  HWND Page(int index) const { return m_pages.at(static_cast<size_t>(index)); }
  HWND TabStrip() const { return m_strip.Hwnd(); }
  std::string PageTitle(int index) const;
  // The rectangle (container client coordinates) in which the pages are laid out.
  RECT PageArea() const;
  // The keyboard's order inside the container: the tab strip, then the shown page's controls that take
  // the focus (visible, enabled tab stops) in their order on the page. The dialog manager cannot be left
  // to walk it: the pages lie above the strip, which must not paint over them.
  std::vector<HWND> FocusOrder() const;
  // Lays the strip and the pages out again, as after a change of the strip's font.
  void Layout();

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnWindowGone() override;

 private:
  // The platform's tab control, painted by us.
  class Strip : public SubclassedWindow {
   public:
    explicit Strip(const CColorizedTheme* theme) : m_theme(theme) {}

   protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

   private:
    void OnPaint();
    bool OnEraseBackground(HDC) { return true; }  // the paint covers the whole strip
    void OnFocusChange(HWND) { InvalidateRect(Hwnd(), nullptr, FALSE); }
    void Fill(HDC dc, RECT rect, ThemeColor which) const;
    void PaintTab(HDC dc, int index, bool selected) const;
    bool ShowsFocus() const;

    static const MessageEntry<Strip> kMessageMap[];
    const CColorizedTheme* m_theme;
  };

  void ShowSelectedPage();
  void OnSize(UINT, int, int) { Layout(); }
  bool OnEraseBackground(HDC) { return true; }  // the strip covers the whole container
  void OnStripNotify(const NMHDR& header);

  static const MessageEntry<TabPageContainer> kMessageMap[];
  Strip m_strip;
  std::vector<HWND> m_pages;
};

}  // namespace fw
