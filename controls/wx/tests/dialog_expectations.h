// What the window tests of both programs expect of the modal dialogs a command opens, answered
// through wx's test hook: a message box with its text, a dialog worked as a user would, or none.
#pragma once

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/testing.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "controls/wx/message_box.h"

namespace guitest {

// A message box whose text is TEXT (and title CAPTION, where given), answered with ANSWER.
class ExpectMessage : public wxExpectModalBase<controls::CMessageBoxDlg, ExpectMessage> {
 public:
  explicit ExpectMessage(std::string text, int answer = wxID_OK) : text_(std::move(text)), answer_(answer) {}
  ExpectMessage(std::string text, std::string caption, int answer = wxID_OK)
      : text_(std::move(text)), caption_(std::move(caption)), answer_(answer) {}

 protected:
  int OnInvoked(controls::CMessageBoxDlg* dlg) const override {
    EXPECT_EQ(dlg->GetMessage().utf8_string(), text_);
    if (caption_) {
      EXPECT_EQ(dlg->GetTitle().utf8_string(), *caption_);
    }
    return answer_;
  }

 private:
  std::string text_;
  std::optional<std::string> caption_;
  int answer_;
};

// Runs ACT on a modal dialog of class T as a user would (a click on OK, say); the dialog's
// answer is the return code its handlers left (0 while they keep it open).
template <class T>
class Act : public wxExpectModalBase<T, Act<T>> {
 public:
  explicit Act(std::function<void(T*)> act) : act_(std::move(act)) {}

 protected:
  int OnInvoked(T* dlg) const override {
    act_(dlg);
    return dlg->GetReturnCode();
  }

 private:
  std::function<void(T*)> act_;
};

// While it lives, any modal dialog fails the test and is cancelled at once.
class NoDialogs : public wxModalDialogHook {
 public:
  NoDialogs() { Register(); }
  ~NoDialogs() override { Unregister(); }
  NoDialogs(const NoDialogs&) = delete;
  NoDialogs& operator=(const NoDialogs&) = delete;

 protected:
  int Enter(wxDialog* dlg) override {
    ADD_FAILURE() << "unexpected dialog " << dlg->GetTitle().utf8_string();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

}  // namespace guitest
