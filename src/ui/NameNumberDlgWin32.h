#pragma once
// The "Name this number" dialog: the caller's number, and the name the phone book is to hold for it,
// prefilled with the one it holds. OK names the number in the book; when the book cannot be written,
// a message box says why and the dialog stays open.
#include <string>

#include "framework/Dialog.h"
#include "phonebook/PhoneBookPort.h"

namespace tfm {

class CNameNumberDlg final : public fw::Dialog {
 public:
  CNameNumberDlg(IPhoneBook& book, std::string number);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  IPhoneBook& m_book;
  std::string m_number;
};

}  // namespace tfm
