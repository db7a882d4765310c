// Pictures by kind: the icon theme's where it has one of the kind, drawn otherwise; white in a
// drawn picture is transparent.
#include "controls/wx/theme_pictures.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include "controls/wx/drawn_pictures.h"
#include "gui_test_support.h"
#include "same_pixels.h"

namespace {

using controls::CommandPicture;
using controls::EntryPicture;
using controls::NoticePicture;
using controls::PictureOf;
using guitest::SamePixels;

TEST(ThemePictures, KindsTheThemeHasComeFromTheTheme) {
  guitest::Frame();
  const struct {
    wxBitmap picture;
    wxArtID id;
    int size;
  } cases[] = {
      {PictureOf(CommandPicture::Find, 32), wxART_FIND, 32},
      {PictureOf(CommandPicture::GoUp, 30), wxART_GO_DIR_UP, 30},
      {PictureOf(CommandPicture::HelpTopics, 32), wxART_HELP, 32},
      {PictureOf(CommandPicture::Stop, 32), "process-stop", 32},
      {PictureOf(NoticePicture::Completed, 16), wxART_TICK_MARK, 16},
      {PictureOf(NoticePicture::Information, 16), wxART_INFORMATION, 16},
      {PictureOf(NoticePicture::Question, 32), wxART_QUESTION, 32},
      {PictureOf(EntryPicture::Folder, 16), wxART_FOLDER, 16},
      {PictureOf(EntryPicture::File, 32), wxART_NORMAL_FILE, 32},
      {PictureOf(EntryPicture::CdDrive, 16), wxART_CDROM, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const wxBitmap theme = wxArtProvider::GetBitmap(c.id, wxART_OTHER, wxSize(c.size, c.size));
    ASSERT_TRUE(c.picture.IsOk());
    EXPECT_EQ(c.picture.GetSize(), wxSize(c.size, c.size));
    if (!theme.IsOk()) continue;  // a theme without it: the drawn picture stands in
    EXPECT_TRUE(SamePixels(c.picture, theme));
  }
}

TEST(ThemePictures, AKindTheThemeLacksIsDrawn) {
  guitest::Frame();
  auto paint = [](wxDC& dc) {
    dc.SetBrush(*wxRED_BRUSH);
    dc.DrawRectangle(2, 2, 8, 8);
  };
  EXPECT_TRUE(SamePixels(controls::ThemePicture("qv-no-such-picture", 16, paint), controls::DrawPicture(16, paint)));
  // Every kind has a picture of its size with something on it.
  for (int size : {16, 30, 32}) {
    for (auto kind : {CommandPicture::SelectDisk, CommandPicture::AddFileFilter, CommandPicture::FindNext,
                      CommandPicture::RecoverSelected, CommandPicture::RecoverDeleted, CommandPicture::FileMask}) {
      const wxImage image = PictureOf(kind, size).ConvertToImage();
      EXPECT_EQ(image.GetSize(), wxSize(size, size));
      bool drawn = false;
      for (int y = 0; y < size && !drawn; ++y) {
        for (int x = 0; x < size && !drawn; ++x) drawn = !image.HasAlpha() || image.GetAlpha(x, y) > 0;
      }
      EXPECT_TRUE(drawn) << static_cast<int>(kind) << " at " << size;
    }
  }
}

TEST(ThemePictures, WhiteOfADrawnPictureIsTransparent) {
  guitest::Frame();
  const wxImage image = controls::DrawPicture(16, [](wxDC& dc) {
                          dc.SetPen(*wxBLACK_PEN);
                          dc.SetBrush(*wxBLACK_BRUSH);
                          dc.DrawRectangle(4, 4, 4, 4);
                        }).ConvertToImage();
  ASSERT_TRUE(image.HasAlpha());
  EXPECT_EQ(image.GetAlpha(0, 0), 0);
  EXPECT_EQ(image.GetAlpha(5, 5), 255);
  EXPECT_EQ(image.GetRed(5, 5), 0);
}

}  // namespace
