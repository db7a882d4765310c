// The behaviour every TreeControl implementation must show. An implementation's test file defines
// a factory with `static std::unique_ptr<controls::TreeControl> Make()` and instantiates the suite:
//   INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TreeControlContract, MemoryFactory);
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/tree_control.h"

template <class Factory>
class TreeControlContract : public ::testing::Test {
 protected:
  void SetUp() override { tree = Factory::Make(); }

  std::vector<std::string> ChildTexts(controls::TreeItem parent) {
    std::vector<std::string> out;
    for (auto c = tree->GetChild(parent); c != controls::kNoItem; c = tree->GetNext(c)) out.push_back(tree->GetItemText(c));
    return out;
  }

  std::unique_ptr<controls::TreeControl> tree;
};

TYPED_TEST_SUITE_P(TreeControlContract);

TYPED_TEST_P(TreeControlContract, InsertsSortedAndNavigates) {
  auto& t = *this->tree;
  const auto root = t.InsertSorted(controls::kNoItem, "Root", 0, 0);
  EXPECT_EQ(t.GetRoot(), root);
  EXPECT_EQ(t.GetParent(root), controls::kNoItem);
  for (const char* name : {"beta", "Alpha", "gamma", "ALPHA", "Beta2", "alpha"}) t.InsertSorted(root, name, 1, 2);
  // Case-insensitive order; equal texts keep their arrival order.
  EXPECT_EQ(this->ChildTexts(root), (std::vector<std::string>{"Alpha", "ALPHA", "alpha", "beta", "Beta2", "gamma"}));
  const auto beta = t.FindChildByText(root, "beta");
  ASSERT_NE(beta, controls::kNoItem);
  EXPECT_EQ(t.GetParent(beta), root);
  const auto inner = t.InsertSorted(beta, "inner", 1, 2);
  EXPECT_EQ(t.GetChild(beta), inner);
  EXPECT_EQ(t.GetParent(inner), beta);
  EXPECT_EQ(t.GetNext(inner), controls::kNoItem);
  EXPECT_EQ(t.GetChild(inner), controls::kNoItem);
  EXPECT_EQ(t.GetCount(), 8u);
  EXPECT_EQ(t.FindChildByText(root, "BETA"), controls::kNoItem);  // exact text only
}

TYPED_TEST_P(TreeControlContract, KeepsDataAndStateImages) {
  auto& t = *this->tree;
  const auto root = t.InsertSorted(controls::kNoItem, "Root", 0, 0);
  const auto a = t.InsertSorted(root, "a", 1, 2);
  EXPECT_EQ(t.GetItemData(a), 0u);
  EXPECT_EQ(t.GetStateImage(a), controls::kStateNone);
  t.SetItemData(a, 0xFFFFFFFFu);
  t.SetStateImage(a, controls::kStatePartly);
  EXPECT_EQ(t.GetItemData(a), 0xFFFFFFFFu);
  EXPECT_EQ(t.GetStateImage(a), controls::kStatePartly);
  EXPECT_EQ(t.GetStateImage(root), controls::kStateNone);
}

TYPED_TEST_P(TreeControlContract, SelectionNotifiesAndDeleteAllClears) {
  auto& t = *this->tree;
  std::vector<controls::TreeItem> seen;
  t.SetSelectionHandler([&](controls::TreeItem item) { seen.push_back(item); });
  const auto root = t.InsertSorted(controls::kNoItem, "Root", 0, 0);
  const auto a = t.InsertSorted(root, "a", 1, 2);
  const auto b = t.InsertSorted(a, "b", 1, 2);
  t.Select(b);
  t.Select(b);  // no change, no notice
  EXPECT_EQ(t.GetSelection(), b);
  EXPECT_TRUE(t.IsExpanded(a));  // a selected item is shown
  t.Collapse(a);
  EXPECT_FALSE(t.IsExpanded(a));
  t.Expand(a);
  EXPECT_TRUE(t.IsExpanded(a));
  t.DeleteAll();
  EXPECT_EQ(t.GetCount(), 0u);
  EXPECT_EQ(t.GetRoot(), controls::kNoItem);
  EXPECT_EQ(t.GetSelection(), controls::kNoItem);
  EXPECT_EQ(seen, (std::vector<controls::TreeItem>{b, controls::kNoItem}));
}

TYPED_TEST_P(TreeControlContract, HitTestFindsTheStateIcon) {
  auto& t = *this->tree;
  const auto root = t.InsertSorted(controls::kNoItem, "Root", 0, 0);
  const auto a = t.InsertSorted(root, "a", 1, 2);
  const auto b = t.InsertSorted(root, "b", 1, 2);
  for (auto item : {root, a, b}) t.SetStateImage(item, controls::kStateUnchecked);
  t.Expand(root);
  controls::TreeRect rect;
  ASSERT_TRUE(t.GetStateIconRect(b, rect));
  const controls::TreeHit hit = t.HitTest({rect.x + rect.width / 2, rect.y + rect.height / 2});
  EXPECT_EQ(hit.item, b);
  EXPECT_TRUE(hit.flags & controls::kHitOnStateIcon);
  // Right of the state icon is not on it.
  const controls::TreeHit beside = t.HitTest({rect.x + rect.width + 20, rect.y + rect.height / 2});
  EXPECT_FALSE(beside.flags & controls::kHitOnStateIcon);
  // Items of a collapsed folder are not shown.
  t.Collapse(root);
  EXPECT_FALSE(t.GetStateIconRect(b, rect));
  EXPECT_EQ(t.HitTest({1, 10000}).item, controls::kNoItem);
}

TYPED_TEST_P(TreeControlContract, SortedInsertOfAFolderInReverseOrderStaysFast) {
  // A damaged disc can list a folder's entries in any order; each insert must not walk the
  // siblings one by one. 50,000 entries in reverse order cost over a billion comparisons if it
  // does; timed against the same entries in order (one comparison each even then), back to back,
  // so that a busy machine slows both alike.
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers check every byte the toolkit moves: their timings say nothing here";
#endif
  auto& t = *this->tree;
  const auto root = t.InsertSorted(controls::kNoItem, "Root", 0, 0);
  const auto inOrder = t.InsertSorted(root, "in order", 0, 0);
  const auto reverse = t.InsertSorted(root, "reverse", 0, 0);
  constexpr int kEntries = 50000;
  auto fill = [&](controls::TreeItem parent, bool backwards) {
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < kEntries; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "f%06d", backwards ? kEntries - 1 - n : n);
      t.InsertSorted(parent, name, 1, 2);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const double forward = fill(inOrder, false);
  const double backward = fill(reverse, true);
  EXPECT_LT(backward, 10 * forward + 0.5) << "in order " << forward << " s, reverse " << backward << " s";
  t.InsertSorted(reverse, "f000100", 1, 2);  // an equal text goes after the one there
  const std::vector<std::string> texts = this->ChildTexts(reverse);
  ASSERT_EQ(texts.size(), static_cast<std::size_t>(kEntries) + 1);
  EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end()));
  EXPECT_EQ(texts.front(), "f000000");
  EXPECT_EQ(texts.back(), "f049999");
  EXPECT_EQ(t.GetItemText(t.GetNext(t.FindChildByText(reverse, "f000100"))), "f000100");
}

REGISTER_TYPED_TEST_SUITE_P(TreeControlContract, InsertsSortedAndNavigates, KeepsDataAndStateImages,
                            SelectionNotifiesAndDeleteAllClears, HitTestFindsTheStateIcon,
                            SortedInsertOfAFolderInReverseOrderStaysFast);
