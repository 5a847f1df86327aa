// The environment queries: local time, its text, the calling thread, and
// the wide-string conversions of the POSIX backend.
#include "environment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <thread>

#include "path_style.h"
#include "wide.h"

namespace {

using Windows::System_Time;

const System_Time Afternoon{2026, 12, 2, 8, 16, 48, 9, 250};
const System_Time Midnight{2026, 1, 4, 1, 0, 0, 0, 0};
const System_Time Noon{2024, 2, 4, 29, 12, 5, 59, 999};

bool Is_Posix() {
  return Windows::Native_Style == Windows::Path_Style::Posix;
}

TEST(Date_Time_Image, IsTheDateABlankAndTheTime) {
  for (const System_Time& T : {Afternoon, Midnight, Noon}) {
    const std::string Image = Windows::Date_Time_Image(T);
    EXPECT_EQ(Image, Windows::Date_Image(T) + " " + Windows::Time_Image(T));
    EXPECT_NE(Image.find(std::to_string(T.Year)), std::string::npos) << Image;
    char Minute[8];
    std::snprintf(Minute, sizeof Minute, ":%02u:", unsigned{T.Minute});
    EXPECT_NE(Image.find(Minute), std::string::npos) << Image;
  }
}

TEST(Date_Time_Image, OnPosixIsWrittenAsWindowsWritesItForUsEnglish) {
  if (!Is_Posix()) {
    GTEST_SKIP() << "Windows writes the user's own forms";
  }
  EXPECT_EQ(Windows::Date_Time_Image(Afternoon), "12/8/2026 4:48:09 PM");
  EXPECT_EQ(Windows::Date_Time_Image(Midnight), "1/1/2026 12:00:00 AM");
  EXPECT_EQ(Windows::Date_Time_Image(Noon), "2/29/2024 12:05:59 PM");
}

TEST(Date_Time_Image, AnImpossibleDateLeavesTheTimeLedByOneBlank) {
  for (const System_Time Bad :
       {System_Time{2026, 13, 0, 1, 16, 48, 9, 0}, System_Time{2026, 0, 0, 1, 16, 48, 9, 0},
        System_Time{2026, 4, 0, 0, 16, 48, 9, 0}, System_Time{2026, 4, 0, 32, 16, 48, 9, 0},
        System_Time{1600, 12, 0, 31, 16, 48, 9, 0}}) {
    EXPECT_EQ(Windows::Date_Image(Bad), "");
    const std::string Image = Windows::Date_Time_Image(Bad);
    std::string Expected = " ";
    Expected += Windows::Time_Image(Afternoon);
    EXPECT_EQ(Image, Expected) << Bad.Month << "/" << Bad.Day;
  }
}

TEST(Local_Time, AgreesWithTheCLibrarysLocalClock) {
  const std::time_t Before = std::time(nullptr);
  const System_Time Now = Windows::Local_Time();
  const std::time_t After = std::time(nullptr);
  std::tm Early{}, Late{};
  Early = *std::localtime(&Before);
  Late = *std::localtime(&After);
  EXPECT_TRUE(Now.Year == Early.tm_year + 1900 || Now.Year == Late.tm_year + 1900);
  EXPECT_TRUE(Now.Month == Early.tm_mon + 1 || Now.Month == Late.tm_mon + 1);
  EXPECT_TRUE(Now.Day == Early.tm_mday || Now.Day == Late.tm_mday);
  EXPECT_TRUE(Now.Hour == Early.tm_hour || Now.Hour == Late.tm_hour);
  EXPECT_EQ(Now.Day_Of_Week, Now.Day == Early.tm_mday ? Early.tm_wday : Late.tm_wday);
  EXPECT_LT(Now.Milliseconds, 1000);
  EXPECT_FALSE(Windows::Date_Image(Now).empty());
}

TEST(Thread_Id, IsStableWithinAThreadAndDiffersBetweenThreads) {
  const std::uint32_t Mine = Windows::Thread_Id();
  EXPECT_EQ(Windows::Thread_Id(), Mine);
  std::uint32_t Other = Mine;
  std::thread([&] { Other = Windows::Thread_Id(); }).join();
  EXPECT_NE(Other, Mine);
  EXPECT_NE(Mine, 0u);
}

TEST(Wide, Utf16AndUtf8ConvertBothWays) {
  const std::u16string Wide = u"Caf\u00e9 \u2028 \U0001F600";
  const std::string Narrow = "Caf\xC3\xA9 \xE2\x80\xA8 \xF0\x9F\x98\x80";
  EXPECT_EQ(Windows::To_UTF_8(Wide), Narrow);
  EXPECT_EQ(Windows::To_UTF_16(Narrow), Wide);
  // Bytes that are no UTF-8 stand for their Latin-1 characters.
  EXPECT_EQ(Windows::To_UTF_16("\xE9t\xE9"), u"\u00e9t\u00e9");
  EXPECT_EQ(Windows::To_UTF_16("\xC0\xAF"), u"\u00c0\u00af");
  EXPECT_EQ(Windows::To_UTF_8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
