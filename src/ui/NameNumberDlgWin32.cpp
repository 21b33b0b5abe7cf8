#include "ui/NameNumberDlgWin32.h"

#include <utility>

#include "common/Trace.h"
#include "framework/WindowText.h"
#include "os/Text.h"
#include "res/resource.h"

namespace tfm {

CNameNumberDlg::CNameNumberDlg(IPhoneBook& book, std::string number)
    : fw::Dialog(IDD_NAME_NUMBER), m_book(book), m_number(std::move(number)) {}

bool CNameNumberDlg::OnInitDialog() {
  SetWindowTextW(Item(IDC_NAME_NUMBER), os::Wide(m_number).c_str());
  const HWND name = Item(IDC_NAME_TEXT);
  SetWindowTextW(name, os::Wide(m_book.NameFor(m_number)).c_str());
  SendMessageW(name, EM_SETSEL, 0, -1);
  SetFocus(name);
  return false;  // the focus is set
}

void CNameNumberDlg::OnOK() {
  const std::string name = fw::WindowText(Item(IDC_NAME_TEXT));
  std::string error;
  if (m_book.SetName(m_number, name, error)) {
    Trace("call page: number named");
    EndDialog(IDOK);
    return;
  }
  Trace("call page: number not named");
  fw::ShowMessage(Hwnd(), "The name could not be kept: " + error, MB_OK | MB_ICONWARNING);
}

}  // namespace tfm
