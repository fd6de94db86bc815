#include "common/codepage_choice.h"

#include <gtest/gtest.h>

#include <string>

#include "common/exclusive_file.h"
#include "test_support/temp_dir.h"

using suite::CodePage;
using suite::SampleStretch;

namespace {

const std::string kUtf8Users = "\xE7\x94\xA8\xE6\x88\xB7";  // "用户"
const std::string kGbkUsers = "\xD3\xC3\xBB\xA7";           // "用户"

TEST(CodePageChoiceTest, TheSettingForcesOneCodePageOrIsRefused) {
  EXPECT_FALSE(suite::ParseCodePageSetting(nullptr).forced);
  EXPECT_FALSE(suite::ParseCodePageSetting("").unknown);
  EXPECT_EQ(suite::ParseCodePageSetting("UTF-8").forced, CodePage::Utf8);
  EXPECT_EQ(suite::ParseCodePageSetting("utf8").forced, CodePage::Utf8);
  EXPECT_EQ(suite::ParseCodePageSetting("GBK").forced, CodePage::Gbk);
  EXPECT_EQ(suite::ParseCodePageSetting("cp936").forced, CodePage::Gbk);
  const suite::CodePageSetting bogus = suite::ParseCodePageSetting("bogus");
  EXPECT_FALSE(bogus.forced);
  EXPECT_EQ(bogus.unknown, "bogus");
  suite::SetActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(suite::UnknownCodePageText("bogus"),
            "环境变量 SUITE_CODEPAGE 的值“bogus”无效: 只能是 gbk 或 utf-8，不设则按每个文件的内容判断。");
}

TEST(CodePageChoiceTest, ValidUtf8WithMultiByteCharactersIsUtf8AndTheRestGbk) {
  EXPECT_EQ(suite::DetectCodePage("2026-12-08 INFO " + kUtf8Users + " login\r\n"), CodePage::Utf8);
  EXPECT_EQ(suite::DetectCodePage("2026-12-08 INFO " + kGbkUsers + " login\r\n"), CodePage::Gbk);
  EXPECT_EQ(suite::DetectCodePage("plain ASCII\r\n"), CodePage::Gbk);  // as before: no multi-byte text to tell
  EXPECT_EQ(suite::DetectCodePage(""), CodePage::Gbk);
  // Not UTF-8: overlong forms, surrogates, beyond U+10FFFF, a lone continuation, a cut character at the end.
  for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80",
                                "\xE7\x94"}) {
    EXPECT_EQ(suite::DetectCodePage(kUtf8Users + bad), CodePage::Gbk) << bad.size();
  }
  // A GBK text of a few hundred characters is never valid UTF-8.
  std::string gbk;
  for (int i = 0; i < 300; ++i) gbk += kGbkUsers + (i % 10 ? "" : "\r\n");
  EXPECT_EQ(suite::DetectCodePage(gbk), CodePage::Gbk);
}

TEST(CodePageChoiceTest, CharactersCutAtAStretchsEdgesAreForgiven) {
  const std::string text = "ab" + kUtf8Users + kUtf8Users + "cd";
  const SampleStretch stretches[] = {{std::string_view(text).substr(0, 4), true, false},
                                     {std::string_view(text).substr(5), false, true}};
  EXPECT_EQ(suite::DetectCodePage(stretches, 2), CodePage::Utf8);
  // ... but not at the file's own ends.
  const SampleStretch whole[] = {{std::string_view(text).substr(0, 4), true, true}};
  EXPECT_EQ(suite::DetectCodePage(whole, 1), CodePage::Gbk);
}

TEST(CodePageChoiceTest, AFileIsJudgedByStretchesSpreadOverIt) {
  suite::testing::TempDir dir;
  const suite::CodePageSetting none;
  // Megabytes of ASCII first, the Chinese lines further on.
  const std::string ascii(3 * 1024 * 1024, 'a');
  std::string chinese;
  for (int i = 0; i < 40000; ++i) chinese += "line " + kUtf8Users + "\n";
  const std::string path = suite::testing::WriteFile(dir / "utf8.log", ascii + chinese);
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.OpenShared(path));
  EXPECT_EQ(suite::ChooseCodePage(file, none).codePage, CodePage::Utf8);
  EXPECT_FALSE(suite::ChooseCodePage(file, none).forced);
  const suite::CodePageChoice forced = suite::ChooseCodePage(file, suite::ParseCodePageSetting("gbk"));
  EXPECT_EQ(forced.codePage, CodePage::Gbk);
  EXPECT_TRUE(forced.forced);

  std::string gbkLines;
  for (int i = 0; i < 40000; ++i) gbkLines += "line " + kGbkUsers + "\n";
  ASSERT_TRUE(file.OpenShared(suite::testing::WriteFile(dir / "gbk.log", ascii + gbkLines)));
  EXPECT_EQ(suite::ChooseCodePage(file, none).codePage, CodePage::Gbk);
  ASSERT_TRUE(file.OpenShared(suite::testing::WriteFile(dir / "small.log", kUtf8Users)));
  EXPECT_EQ(suite::ChooseCodePage(file, none).codePage, CodePage::Utf8);
  ASSERT_TRUE(file.OpenShared(suite::testing::WriteFile(dir / "empty.log", "")));
  EXPECT_EQ(suite::ChooseCodePage(file, none).codePage, CodePage::Gbk);

  // A stretch is read a few KiB at a time: a character across two reads is
  // judged whole, whether it is one or broken.
  for (const size_t at : {size_t{4095}, size_t{16382}, size_t{16383}, size_t{32767}}) {
    const std::string before(at, 'a'), after(40000 - at, 'b');
    ASSERT_TRUE(file.OpenShared(suite::testing::WriteFile(dir / "across.log", before + kUtf8Users + after)));
    EXPECT_EQ(suite::ChooseCodePage(file, none).codePage, CodePage::Utf8) << at;
    for (const std::string broken : {"\xE7" "A", "\xE7\x94" "A", "\xF0\x9F\x98" "A"}) {
      ASSERT_TRUE(file.OpenShared(suite::testing::WriteFile(dir / "broken.log", before + broken + after)));
      EXPECT_EQ(suite::ChooseCodePage(file, none).codePage, CodePage::Gbk) << at << " " << broken.size();
    }
  }

  suite::SetActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(suite::CodePageChoiceText({CodePage::Utf8, false}), "代码页 UTF-8(按文件内容判断)");
  EXPECT_EQ(suite::CodePageChoiceText({CodePage::Gbk, true}), "代码页 GBK(由 SUITE_CODEPAGE 指定)");
}

}  // namespace
