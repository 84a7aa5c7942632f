#include "core/messages.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildCatalogue(); }
};

TEST_F(MessagesTest, LookupIgnoresCaseAndRecoversAfterMisses) {
  EXPECT_EQ(Lookup("msg", "error"), "Error");
  EXPECT_EQ(Lookup("MSG", "ERROR"), "Error");
  EXPECT_EQ(Lookup("Msg", "No such key"), "%NO_STRING_ERROR%");
  EXPECT_EQ(Lookup("Nowhere", "Error"), "%NO_STRING_ERROR%");
  EXPECT_EQ(Lookup("Msg", "Warning"), "Warning");
  EXPECT_EQ(Lookup("Menu", ""), "%NO_STRING_ERROR%");
  EXPECT_EQ(Lookup("Menu", "\xC3\xA9"), "%NO_STRING_ERROR%");
  EXPECT_EQ(Lookup("Preferences", "Medium"), "Medium");
}

TEST_F(MessagesTest, EveryGroupAnswers) {
  // The first and last entries of each group, and texts with line breaks.
  const struct {
    const char* group;
    const char* key;
    const char* text;
  } cases[] = {
      {"Menu", "File", "File"},
      {"Menu", "About", "About..."},
      {"General", "Input File", "Input File:"},
      {"General", "Converting", "Converting..."},
      {"Msg", "Error", "Error"},
      {"Msg", "Empty extensions", "Please, fill all required fields and try again!"},
      {"Msg", "Invalid output folder",
       "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\nPlease, correct the output path and "
       "try again!"},
      {"Dialog", "Select Input Files", "Select Input Files"},
      {"Dialog", "Defaults", "Defaults"},
      {"Preferences", "Title", "Preferences..."},
      {"Preferences", "Clean Recent Files", "Clean Recent Files List on Exit"},
      {"Preferences", "Strikeout", "Strikethrough"},
      {"About", "Email", "E-mail:"},
      {"Custom-Converter", "Search", "Search"},
      {"Uninstall", "Uninstall Text", "Full Uninstall - Visit Uninstall Center"},
      {"Uninstall", "Next", "Next"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(c.group, c.key), c.text) << c.group << "/" << c.key;
}

TEST_F(MessagesTest, FormatFillsPlaceholders) {
  EXPECT_EQ(Format("Files converted: %s1% of %s2%", "3", "10"), "Files converted: 3 of 10");
  EXPECT_EQ(Format("(%s1%/%s2%)", "", "7"), "(%s1%/7)");
  EXPECT_EQ(Format("%S1% and %s1%", "x"), "x and x");
  EXPECT_EQ(Format("", "x"), "");
  EXPECT_EQ(Format("%s4%%s3%", "", "", "c", "d"), "dc");
}

TEST_F(MessagesTest, BoxesGoThroughTheSeam) {
  std::vector<std::string> shown;
  SetBoxPresenter([&](BoxKind kind, const std::string& title, const std::string& text) {
    shown.push_back((kind == BoxKind::Warning ? "W:" : "E:") + title + ":" + text);
  });
  WarningBox("careful");
  ErrorBox("broken");
  SetBoxPresenter(nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{"W:Warning:careful", "E:Error:broken"}));
}

}  // namespace
}  // namespace tarnwick
