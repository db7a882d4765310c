// What CD's window shows, in a real window under Xvfb: the Date column wide enough for its whole
// texts and sorting by time on a header click, the process log's rows as they were added, and the
// start-up picture's texts inside the picture.
#include <wx/image.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <vector>

#include "cd_gui_support.h"
#include "cd_images.h"
#include "cd_process_log.h"
#include "cdviews/cd_list_view.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

// A disc made by genisoimage whose files' days of the month, months and times run in other
// orders than their moments.
fs::path DatedDisc(const fs::path& work) {
  const fs::path source = work / "dated";
  fs::create_directories(source);
  const std::pair<const char*, const char*> files[] = {{"a.txt", "1998-01-17 10:00:00"},
                                                       {"b.txt", "1999-12-05 09:15:00"},
                                                       {"c.txt", "2020-01-09 23:05:59"},
                                                       {"d.txt", "2020-01-09 08:30:00"},
                                                       {"e.txt", "2003-02-28 14:02:09"}};
  for (const auto& [name, stamp] : files) {
    std::ofstream(source / name) << name;
    const std::string touch = "TZ=UTC touch -d '" + std::string(stamp) + "' '" + (source / name).string() + "'";
    EXPECT_EQ(std::system(touch.c_str()), 0);
  }
  const fs::path image = work / "dated.iso";
  const std::string make = "TZ=UTC genisoimage -quiet -J -o '" + image.string() + "' '" + source.string() + "' 2>/dev/null";
  EXPECT_EQ(std::system(make.c_str()), 0);
  return image;
}

std::vector<std::string> Column(controls::WxListControl& list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.GetItemCount(); ++row) texts.push_back(list.GetItemText(row, column));
  return texts;
}

using WindowTexts = CdWindow;

TEST_F(WindowTexts, DateColumnShowsTheWholeDateAndTimeAndHeaderClicksSortByTime) {
  OpenDisc(DatedDisc(work));
  controls::WxListControl& list = frame->List();
  ASSERT_EQ(list.GetItemCount(), 5);
  // Every date text fits inside its column as the generic list draws it (8 pixels of margin).
  wxListCtrl* window = list.Window();
  const int width = window->GetColumnWidth(kCdColDate);
  for (const std::string& date : Column(list, kCdColDate)) {
    EXPECT_LE(window->GetTextExtent(wxString::FromUTF8(date)).x + 8, width) << date << " in " << width;
  }

  // A real click on the Date header sorts by the moment (ascending: the fill cleared the
  // direction), a second one the other way.
  frame->Raise();
  Pump(200);
  int left = 0;
  for (int c = 0; c < kCdColDate; ++c) left += window->GetColumnWidth(c);
  const wxPoint header = window->ClientToScreen(wxPoint(left + width / 2, 8));
  wxUIActionSimulator mouse;
  auto clickHeader = [&] {
    mouse.MouseMove(header);
    Pump(50);
    mouse.MouseClick();
    Pump(200);
  };
  clickHeader();
  EXPECT_EQ(Column(list, kCdColDate), (std::vector<std::string>{"17-01-1998 10:00:00", "05-12-1999 09:15:00",
                                                                "28-02-2003 14:02:09", "09-01-2020 08:30:00",
                                                                "09-01-2020 23:05:59"}));
  Pump(600);  // not a double click
  clickHeader();
  EXPECT_EQ(Column(list, kCdColName), (std::vector<std::string>{"c.txt", "d.txt", "e.txt", "b.txt", "a.txt"}));
  EXPECT_EQ(list.Header().GetSortColumn(), kCdColDate);
}

TEST_F(WindowTexts, ProcessLogShowsEveryRowAsAddedAndScrollsToTheLast) {
  CProcessLogBar* log = frame->Log();
  wxListCtrl* rows = log->List();
  const std::string latin1 = "caf\xe9.txt";  // not UTF-8: shown as Latin-1
  frame->AddLogEntry("Recovering file", latin1.c_str(), "File Recovered Successfully", kCdIconOk);
  frame->AddLogEntry("Recovery Status", nullptr, "Process Stopped", kCdIconError);
  frame->AddLogEntry(nullptr, "no icon", nullptr, static_cast<cd::CdLogIcon>(7));
  for (int i = 0; i < 2000; ++i) {
    frame->AddLogEntry("Recovering file", ("f" + std::to_string(i)).c_str(), "ok", kCdIconInfo);
  }
  Pump(200);
  ASSERT_EQ(rows->GetItemCount(), 2003);
  EXPECT_EQ(log->RowCount(), 2003);
  EXPECT_EQ(rows->GetItemText(0, 1).utf8_string(), "caf\u00e9.txt");
  EXPECT_EQ(rows->GetItemText(1, 1).utf8_string(), "");
  EXPECT_EQ(rows->GetItemText(1, 2).utf8_string(), "Process Stopped");
  EXPECT_EQ(rows->GetItemText(2, 0).utf8_string(), "");
  EXPECT_EQ(rows->GetItemText(2002, 1).utf8_string(), "f1999");
  const std::pair<long, int> icons[] = {{0, kCdIconOk}, {1, kCdIconError}, {2, -1}, {2002, 2}};
  for (const auto& [row, icon] : icons) {
    wxListItem item;
    item.SetId(row);
    item.SetMask(wxLIST_MASK_IMAGE);
    ASSERT_TRUE(rows->GetItem(item));
    EXPECT_EQ(item.GetImage(), icon) << "row " << row;
  }
  // The last row is in view.
  EXPECT_GE(rows->GetTopItem() + rows->GetCountPerPage(), rows->GetItemCount());
  // The saved report holds the texts as shown.
  const std::vector<CdLogRowTexts> texts = log->Rows();
  ASSERT_EQ(texts.size(), 2003u);
  EXPECT_EQ(texts[0].text, "caf\u00e9.txt");
  EXPECT_EQ(texts[1].activity, "Recovery Status");
  EXPECT_EQ(texts[1].text, "");
  frame->ClearLog();
  EXPECT_EQ(rows->GetItemCount(), 0);
  EXPECT_TRUE(log->Rows().empty());
}

TEST(CdSplash, TextsLieInsideThePicture) {
  const wxImage picture = CdSplashPicture().ConvertToImage();
  ASSERT_EQ(picture.GetWidth(), 300);
  ASSERT_EQ(picture.GetHeight(), 210);
  // The margin holds the background alone; the texts (white) are there.
  const unsigned char r = picture.GetRed(0, 0), g = picture.GetGreen(0, 0), b = picture.GetBlue(0, 0);
  int outside = 0, white = 0;
  for (int y = 0; y < picture.GetHeight(); ++y) {
    for (int x = 0; x < picture.GetWidth(); ++x) {
      const bool same = picture.GetRed(x, y) == r && picture.GetGreen(x, y) == g && picture.GetBlue(x, y) == b;
      const bool margin = x < kCdSplashMargin || y < kCdSplashMargin || x >= picture.GetWidth() - kCdSplashMargin ||
                          y >= picture.GetHeight() - kCdSplashMargin;
      if (margin && !same) ++outside;
      if (picture.GetRed(x, y) > 200 && picture.GetGreen(x, y) > 200 && picture.GetBlue(x, y) > 200) ++white;
    }
  }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(white, 300);
}

}  // namespace
