#pragma once
// A tab-page container: a strip of tabs along one edge and, in the rest of its area, one page at a
// time. Pages are child windows of the container (dialogs created with CreateChild on it); the
// first page added is selected and shown, later ones are added hidden, and choosing a tab shows its
// page and hides the one before. The container lays its pages out in its page area, again whenever
// it is resized. The tab strip is painted in the installed theme's colours.
//
// The container is a control of a dialog template, class kClassName; register the class before the
// dialog is created and attach the object to the control in the dialog's initialisation.
#include <string>
#include <vector>

#include "framework/Window.h"

namespace fw {

enum class TabEdge { Top, Bottom };

class TabPageContainer : public Window {
 public:
  static constexpr char kClassName[] = "TfmTabPages";
  static constexpr int kTabStripId = 100;

  static bool RegisterWindowClass();

  // Binds to the container control and creates its tab strip.
  bool Attach(HWND control);
  void SetTabEdge(TabEdge edge);
  // Appends a page with its tab; false when the tab could not be added.
  bool AddPage(HWND page, const char* title);
  void SelectPage(int index);

  int PageCount() const { return static_cast<int>(m_pages.size()); }
  int SelectedPage() const;
  HWND Page(int index) const { return m_pages.at(static_cast<size_t>(index)); }
  HWND TabStrip() const { return m_strip; }
  std::string PageTitle(int index) const;
  // The rectangle (container client coordinates) in which the pages are laid out.
  RECT PageArea() const;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnWindowGone() override;

 private:
  void Layout();
  void ShowSelectedPage();
  void PaintStrip(HDC dc) const;
  void PaintTab(HDC dc, int index, bool selected) const;
  static LRESULT CALLBACK StripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  HWND m_strip = nullptr;
  std::vector<HWND> m_pages;
};

}  // namespace fw
