#pragma once
// The modem .reg fixture in the real (Wine) registry: imported with reg.exe, removed again afterwards
// (keeping an "Enum" key that existed before).
namespace tfm::test {

class ModemFixture {
 public:
  // Removes leftovers of an earlier run, then imports; false when reg.exe failed.
  bool Import();
  void Remove();

 private:
  bool m_enumExisted = false;
};

}  // namespace tfm::test
