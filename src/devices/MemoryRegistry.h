#pragma once
// An in-memory registry behind the IRegistry seam: a tree of keys under the local-machine root, with
// names compared without regard to case like the platform's, subkeys listed in insertion order, and
// handles counted so that a test can see every opened key closed again.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "devices/RegistryApi.h"

namespace tfm {

class MemoryRegistry final : public IRegistry {
 public:
  MemoryRegistry();
  ~MemoryRegistry();

  // Creates the key path (backslash separated, below the local-machine root) and any missing parent.
  void AddKey(const std::string& path);
  // Stores a text value with its terminating zero, as the platform stores REG_SZ.
  void SetString(const std::string& path, const std::string& name, const std::string& text);
  // Stores raw bytes of any type (a text without terminator, a binary block, ...).
  void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> bytes);
  // A key that may only be read: opening it with more than read access is denied.
  void SetReadOnly(const std::string& path);
  // A key that may not be opened at all.
  void SetLocked(const std::string& path);

  size_t OpenHandleCount() const { return m_handles.size(); }

  int32_t OpenKey(RegKey parent, const char* path, uint32_t access, RegKey* key) override;
  void CloseKey(RegKey key) override;
  int32_t QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) override;
  int32_t QuerySubKeyCount(RegKey key, uint32_t* count) override;
  int32_t EnumKey(RegKey key, uint32_t index, char* name, uint32_t* capacity) override;
  std::string ErrorText(int32_t code) override;

 private:
  struct Node;
  Node* Resolve(RegKey key) const;
  Node* Find(Node* from, const std::string& path) const;
  Node& Make(const std::string& path);

  std::unique_ptr<Node> m_root;
  std::map<RegKey, Node*> m_handles;
  RegKey m_nextHandle = 0x1000;
};

}  // namespace tfm
