// What the help tests look at: the help window on the screen and the pages of its book.
#pragma once

#include <gtest/gtest.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>

#include <set>

namespace guitest {

// The help window of the help frame on the screen, or null.
inline wxHtmlHelpWindow* ShownHelpWindow() {
  for (wxWindow* w : wxTopLevelWindows) {
    auto* frame = dynamic_cast<wxHtmlHelpFrame*>(w);
    if (frame != nullptr && frame->IsShown()) return frame->GetHelpWindow();
  }
  return nullptr;
}

// Closes every help frame.
inline void CloseHelp() {
  for (wxWindow* w : wxTopLevelWindows) {
    if (auto* frame = dynamic_cast<wxHtmlHelpFrame*>(w)) frame->Close(true);
  }
}

// Every page of the book shown in HELP is displayed as formatted HTML (its title read from the
// page, no mark-up left in its text); returns how many pages were looked at.
inline int ExpectFormattedPages(wxHtmlHelpWindow* help, const wxString& firstTitle) {
  wxHtmlWindow* html = help->GetHtmlWindow();
  EXPECT_EQ(html->GetOpenedPageTitle(), firstTitle);
  std::set<wxString> pages;
  const wxHtmlHelpDataItems& contents = help->GetData()->GetContentsArray();
  for (std::size_t i = 0; i < contents.size(); ++i) pages.insert(contents[i].GetFullPath());
  for (const wxString& page : pages) {
    EXPECT_TRUE(help->Display(page)) << page;
    EXPECT_FALSE(html->GetOpenedPageTitle().empty()) << page << " is not shown as HTML";
    EXPECT_EQ(html->ToText().Find("</"), wxNOT_FOUND) << page << " shows its mark-up";
    EXPECT_EQ(html->ToText().Find("<p>"), wxNOT_FOUND) << page << " shows its mark-up";
  }
  return static_cast<int>(pages.size());
}

}  // namespace guitest
