#pragma once
// The modem .reg fixture in the real (Wine) registry: imported with reg.exe, removed again afterwards
// (keeping an "Enum" key that existed before).
namespace tfm::test {

class ModemFixture {
 public:
  // Removes leftovers of an earlier run, then imports; false when reg.exe failed.
  bool Import();
  // Gives every modem key (class instances, their Settings, the device key and its parents below Enum)
  // a protected DACL that lets everyone read and nothing more, as a standard user sees them; false
  // when a key refused it.
  bool ProtectReadOnly();
  void Remove();

 private:
  bool m_enumExisted = false;
};

}  // namespace tfm::test
