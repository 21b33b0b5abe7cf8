#include "devices/MemoryRegistry.h"

#include <cstring>

#include "devices/RegistryEx.h"

namespace tfm {

struct MemoryRegistry::Node {
  struct Value {
    std::string name;
    uint32_t type;
    std::vector<uint8_t> bytes;
  };
  std::string name;
  std::vector<std::unique_ptr<Node>> children;
  std::vector<Value> values;
  bool readOnly = false;
  bool locked = false;

  Node* Child(const std::string& wanted) const {
    const std::string upper = ToUpperAscii(wanted);
    for (const auto& child : children) {
      if (ToUpperAscii(child->name) == upper) return child.get();
    }
    return nullptr;
  }
  Value* FindValue(const std::string& wanted) {
    const std::string upper = ToUpperAscii(wanted);
    for (Value& value : values) {
      if (ToUpperAscii(value.name) == upper) return &value;
    }
    return nullptr;
  }
};

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = path.find('\\', start);
    const size_t stop = end == std::string::npos ? path.size() : end;
    if (stop > start) parts.push_back(path.substr(start, stop - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

MemoryRegistry::MemoryRegistry() : m_root(std::make_unique<Node>()) {}
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Find(Node* from, const std::string& path) const {
  for (const std::string& part : SplitPath(path)) {
    if (!from) break;
    from = from->Child(part);
  }
  return from;
}

MemoryRegistry::Node& MemoryRegistry::Make(const std::string& path) {
  Node* node = m_root.get();
  for (const std::string& part : SplitPath(path)) {
    Node* child = node->Child(part);
    if (!child) {
      node->children.push_back(std::make_unique<Node>());
      child = node->children.back().get();
      child->name = part;
    }
    node = child;
  }
  return *node;
}

void MemoryRegistry::AddKey(const std::string& path) { Make(path); }

void MemoryRegistry::SetString(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  SetValue(path, name, kRegString, std::move(bytes));
}

void MemoryRegistry::SetValue(const std::string& path, const std::string& name, uint32_t type,
                              std::vector<uint8_t> bytes) {
  Node& node = Make(path);
  if (Node::Value* value = node.FindValue(name)) {
    value->type = type;
    value->bytes = std::move(bytes);
  } else {
    node.values.push_back({name, type, std::move(bytes)});
  }
}

void MemoryRegistry::SetReadOnly(const std::string& path) { Make(path).readOnly = true; }
void MemoryRegistry::SetLocked(const std::string& path) { Make(path).locked = true; }

MemoryRegistry::Node* MemoryRegistry::Resolve(RegKey key) const {
  if (key == kLocalMachine) return m_root.get();
  const auto it = m_handles.find(key);
  return it == m_handles.end() ? nullptr : it->second;
}

int32_t MemoryRegistry::OpenKey(RegKey parent, const char* path, uint32_t access, RegKey* key) {
  Node* from = Resolve(parent);
  if (!from) return kRegInvalidHandle;
  Node* node = Find(from, path ? path : "");
  if (!node) return kRegNotFound;
  if (node->locked || (node->readOnly && (access & ~kKeyRead) != 0)) return kRegAccessDenied;
  *key = m_nextHandle++;
  m_handles[*key] = node;
  return kRegSuccess;
}

void MemoryRegistry::CloseKey(RegKey key) { m_handles.erase(key); }

int32_t MemoryRegistry::QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
  Node* node = Resolve(key);
  if (!node) return kRegInvalidHandle;
  Node::Value* value = node->FindValue(name ? name : "");
  if (!value) return kRegNotFound;
  const auto length = static_cast<uint32_t>(value->bytes.size());
  if (type) *type = value->type;
  if (data) {
    if (*size < length) {
      *size = length;
      return kRegMoreData;
    }
    if (length) std::memcpy(data, value->bytes.data(), length);
  }
  *size = length;
  return kRegSuccess;
}

int32_t MemoryRegistry::QuerySubKeyCount(RegKey key, uint32_t* count) {
  Node* node = Resolve(key);
  if (!node) return kRegInvalidHandle;
  *count = static_cast<uint32_t>(node->children.size());
  return kRegSuccess;
}

int32_t MemoryRegistry::EnumKey(RegKey key, uint32_t index, char* name, uint32_t* capacity) {
  Node* node = Resolve(key);
  if (!node) return kRegInvalidHandle;
  if (index >= node->children.size()) return kRegNoMoreItems;
  const std::string& childName = node->children[index]->name;
  if (childName.size() + 1 > *capacity) return kRegMoreData;
  std::memcpy(name, childName.c_str(), childName.size() + 1);
  *capacity = static_cast<uint32_t>(childName.size());
  return kRegSuccess;
}

std::string MemoryRegistry::ErrorText(int32_t code) {
  switch (code) {
    case kRegNotFound: return "The system cannot find the file specified.";
    case kRegAccessDenied: return "Access is denied.";
    case kRegMoreData: return "More data is available.";
    default: return {};
  }
}

}  // namespace tfm
