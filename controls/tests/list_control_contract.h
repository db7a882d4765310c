// The behaviour every ListControl implementation must show. An implementation's test file defines
// a factory with `static std::unique_ptr<controls::ListControl> Make()` and instantiates the suite:
//   INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ListControlContract, MemoryFactory);
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/list_control.h"

template <class Factory>
class ListControlContract : public ::testing::Test {
 protected:
  void SetUp() override {
    list = Factory::Make();
    list->InsertColumn(0, "Name", 110, controls::ListAlign::Left);
    list->InsertColumn(1, "Type", 70, controls::ListAlign::Left);
    list->InsertColumn(2, "Size", 80, controls::ListAlign::Right);
  }

  // Appends a row with its three texts, data and state.
  int Add(const std::string& name, const std::string& type, const std::string& size, std::uint32_t data, int state) {
    const int row = list->InsertItem(list->GetItemCount(), name, 1);
    list->SetItemText(row, 1, type);
    list->SetItemText(row, 2, size);
    list->SetItemData(row, data);
    list->SetStateImage(row, state);
    return row;
  }

  std::vector<std::string> Names() {
    std::vector<std::string> out;
    for (int r = 0; r < list->GetItemCount(); ++r) out.push_back(list->GetItemText(r, 0));
    return out;
  }

  std::unique_ptr<controls::ListControl> list;
};

TYPED_TEST_SUITE_P(ListControlContract);

TYPED_TEST_P(ListControlContract, RowsKeepTextsImageDataAndState) {
  auto& l = *this->list;
  EXPECT_EQ(l.GetColumnCount(), 3);
  this->Add("b", "File", "      9", 12, controls::kListStateUnchecked);
  // Inserting before a row moves it down; an index past the end appends.
  EXPECT_EQ(l.InsertItem(0, "a", 0), 0);
  EXPECT_EQ(l.InsertItem(99, "caf\xE9", 3), 2);  // not UTF-8: comes back as the same bytes
  EXPECT_EQ(this->Names(), (std::vector<std::string>{"a", "b", "caf\xE9"}));
  EXPECT_EQ(l.GetItemCount(), 3);

  EXPECT_EQ(l.GetItemText(0, 1), "");  // a new row's sub-items are empty
  EXPECT_EQ(l.GetItemData(0), 0u);
  EXPECT_EQ(l.GetStateImage(0), controls::kListStateNone);
  EXPECT_FALSE(l.IsSelected(0));
  EXPECT_EQ(l.GetItemText(1, 1), "File");
  EXPECT_EQ(l.GetItemText(1, 2), "      9");
  EXPECT_EQ(l.GetItemData(1), 12u);
  EXPECT_EQ(l.GetItemImage(1), 1);
  EXPECT_EQ(l.GetItemImage(2), 3);

  for (int state : {controls::kListStateNone, controls::kListStateBlank, controls::kListStateUnchecked,
                    controls::kListStateChecked, controls::kListStatePartly}) {
    l.SetStateImage(2, state);
    EXPECT_EQ(l.GetStateImage(2), state);
  }
  l.SetItemData(2, 0xFFFFFFFFu);
  l.SetItemText(2, 1, "D\xC3\xA9leted \xFF");
  EXPECT_EQ(l.GetItemData(2), 0xFFFFFFFFu);
  EXPECT_EQ(l.GetItemText(2, 1), "D\xC3\xA9leted \xFF");

  // Rows that do not exist read as empty and ignore writes.
  l.SetItemText(7, 0, "x");
  l.SetItemData(-1, 5);
  EXPECT_EQ(l.GetItemText(7, 0), "");
  EXPECT_EQ(l.GetItemData(-1), 0u);
  EXPECT_EQ(l.GetItemCount(), 3);
}

TYPED_TEST_P(ListControlContract, FindsRowsByWholeTextWithoutCase) {
  auto& l = *this->list;
  char name[16];
  for (int i = 0; i < 300; ++i) {
    std::snprintf(name, sizeof name, "file%03d", i);
    this->Add(name, "File", "1", static_cast<std::uint32_t>(i), controls::kListStateUnchecked);
  }
  this->Add("File150", "File", "1", 1000, controls::kListStateUnchecked);
  struct Case {
    int start;
    const char* text;
    int row;
  };
  for (const Case& c : std::vector<Case>{
           {controls::kNoRow, "file000", 0},
           {controls::kNoRow, "FILE299", 299},             // rows far down are found like the first
           {controls::kNoRow, "File150", 150},             // the first match, whatever the case
           {150, "file150", 300},                          // the search starts after START
           {controls::kNoRow, "file1", controls::kNoRow},  // whole texts only
           {controls::kNoRow, "nothing", controls::kNoRow},
       }) {
    EXPECT_EQ(l.FindItem(c.start, c.text), c.row) << c.start << " " << c.text;
  }
}

TYPED_TEST_P(ListControlContract, SelectionFocusAndHotRowClearWithTheRows) {
  auto& l = *this->list;
  for (const char* n : {"a", "b", "c", "d"}) this->Add(n, "File", "1", 1, controls::kListStateUnchecked);
  EXPECT_EQ(l.GetNextSelected(controls::kNoRow), controls::kNoRow);
  l.SetSelected(3, true);
  l.SetSelected(1, true);
  EXPECT_EQ(l.GetNextSelected(controls::kNoRow), 1);
  EXPECT_EQ(l.GetNextSelected(1), 3);
  EXPECT_EQ(l.GetNextSelected(3), controls::kNoRow);
  l.SetSelected(1, false);
  EXPECT_EQ(l.GetNextSelected(controls::kNoRow), 3);
  l.SetFocused(2);
  EXPECT_EQ(l.GetFocused(), 2);
  l.SetHotItem(2);
  l.EnsureVisible(2);
  EXPECT_EQ(l.GetHotItem(), 2);
  l.SetHotItem(controls::kNoRow);
  EXPECT_EQ(l.GetHotItem(), controls::kNoRow);
  l.SetHotItem(1);
  l.DeleteAllItems();
  EXPECT_EQ(l.GetItemCount(), 0);
  EXPECT_EQ(l.GetHotItem(), controls::kNoRow);
  EXPECT_EQ(l.GetNextSelected(controls::kNoRow), controls::kNoRow);
  EXPECT_EQ(l.FindItem(controls::kNoRow, "a"), controls::kNoRow);
  EXPECT_EQ(l.GetColumnCount(), 3);  // columns stay
}

TYPED_TEST_P(ListControlContract, SwapRowsMovesEverythingButTheHotRow) {
  auto& l = *this->list;
  this->Add("alpha", "Folder", "  100", 7, controls::kListStateChecked);
  this->Add("middle", "File", "    5", 8, controls::kListStateUnchecked);
  this->Add("Omega", "File", "    1", 9, controls::kListStatePartly);
  l.SetItemImage(0, 0);
  l.SetSelected(2, true);
  l.SetFocused(2);
  l.SetHotItem(0);
  controls::SwapRows(l, 0, 2);
  EXPECT_EQ(this->Names(), (std::vector<std::string>{"Omega", "middle", "alpha"}));
  EXPECT_EQ(l.GetItemText(0, 1), "File");
  EXPECT_EQ(l.GetItemText(2, 1), "Folder");
  EXPECT_EQ(l.GetItemText(2, 2), "  100");
  EXPECT_EQ(l.GetItemImage(0), 1);
  EXPECT_EQ(l.GetItemImage(2), 0);
  EXPECT_EQ(l.GetItemData(0), 9u);
  EXPECT_EQ(l.GetItemData(2), 7u);
  EXPECT_EQ(l.GetStateImage(0), controls::kListStatePartly);
  EXPECT_EQ(l.GetStateImage(2), controls::kListStateChecked);
  EXPECT_TRUE(l.IsSelected(0));
  EXPECT_FALSE(l.IsSelected(2));
  EXPECT_EQ(l.GetFocused(), 0);
  EXPECT_EQ(l.GetHotItem(), 0);
  EXPECT_EQ(l.GetItemText(1, 0), "middle");  // untouched
}

TYPED_TEST_P(ListControlContract, EveryViewStyleKeepsRowsAndHitsTheStateIcon) {
  auto& l = *this->list;
  this->Add("first", "File", "1", 1, controls::kListStateUnchecked);
  this->Add("second", "Folder", "2", 2, controls::kListStateChecked);
  this->Add("plain", "File", "3", 3, controls::kListStateNone);
  l.SetGridLines(true);
  EXPECT_TRUE(l.HasGridLines());
  for (auto style : {controls::ListViewStyle::Icon, controls::ListViewStyle::SmallIcon, controls::ListViewStyle::List,
                     controls::ListViewStyle::Report}) {
    SCOPED_TRACE(static_cast<int>(style));
    l.SetViewStyle(style);
    EXPECT_EQ(l.GetViewStyle(), style);
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"first", "second", "plain"}));
    EXPECT_EQ(l.GetItemText(1, 1), "Folder");
    EXPECT_EQ(l.GetStateImage(1), controls::kListStateChecked);
    EXPECT_EQ(l.GetColumnCount(), 3);

    for (int row : {0, 1}) {
      controls::ListRect rect;
      ASSERT_TRUE(l.GetStateIconRect(row, rect));
      const controls::ListHit hit = l.HitTest({rect.x + rect.width / 2, rect.y + rect.height / 2});
      EXPECT_EQ(hit.row, row);
      EXPECT_EQ(hit.flags, controls::kListHitOnStateIcon);
      // Well right of the state icon is the row's icon or label, not the box.
      const controls::ListHit beside = l.HitTest({rect.x + rect.width + 6, rect.y + rect.height / 2});
      EXPECT_NE(beside.flags, controls::kListHitOnStateIcon);
    }
    controls::ListRect none;
    EXPECT_FALSE(l.GetStateIconRect(2, none));  // no state image, no box
    EXPECT_EQ(l.HitTest({2, 5000}).row, controls::kNoRow);
  }
  l.SetGridLines(false);
  EXPECT_FALSE(l.HasGridLines());
}

REGISTER_TYPED_TEST_SUITE_P(ListControlContract, RowsKeepTextsImageDataAndState, FindsRowsByWholeTextWithoutCase,
                            SelectionFocusAndHotRowClearWithTheRows, SwapRowsMovesEverythingButTheHotRow,
                            EveryViewStyleKeepsRowsAndHitsTheStateIcon);
