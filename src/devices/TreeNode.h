#pragma once
// A plain tree of texts, built by the information pages' fill logic and rendered by the page into
// its tree-view control in order: each node after its earlier siblings, children below their parent.
#include <string>
#include <vector>

namespace tfm {

struct TreeNode {
  std::string text;
  std::vector<TreeNode> children;

  TreeNode& Add(std::string childText) {
    children.push_back({std::move(childText), {}});
    return children.back();
  }
  bool operator==(const TreeNode&) const = default;
};

using TreeNodeList = std::vector<TreeNode>;

// printf-style formatting into a string of whatever length the result needs.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string FormatText(const char* format, ...);

}  // namespace tfm
