// Many threads writing through one log with a small limit: lines never
// interleave, nothing is lost but what was rotated out with an older file,
// and every file obeys the limit.
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "environment.h"
#include "log_file.h"
#include "log_reading.h"
#include "registry.h"
#include "registry_setting.h"
#include "scratch.h"
#include "unsigned.h"

namespace {

constexpr int Threads = 8;
constexpr int Each = 20000;
constexpr std::uint32_t Limit = 997;

struct Written {
  int Thread = 0;
  int Sequence = 0;
};

// "T<thread>-<sequence>-" and a filler of varying length, so that records
// fall across the 500-byte blocks in every way.
std::string Text_Of(int Thread, int Sequence) {
  std::string Text = "T";
  Text.append(std::to_string(Thread)).append("-").append(std::to_string(Sequence)).append("-");
  return Text.append(static_cast<std::size_t>(Sequence % 41), 'f');
}

Written Parse_Text(const std::string& Text) {
  Written Result;
  std::size_t Used = 0;
  Result.Thread = std::stoi(Text.substr(1), &Used);
  Result.Sequence = std::stoi(Text.substr(Used + 2));
  EXPECT_EQ(Text, Text_Of(Result.Thread, Result.Sequence));
  return Result;
}

TEST(Log_Load, EightThreadsWritingThroughASmallLimit) {
  Test_Support::Scratch_Folder Scratch;
  const std::string Product = Test_Support::Unique_Product_Name();
  Test_Support::Registry_Setting Key(Windows::Registry::Root_Key::User,
                                     "Software\\Tallowmere\\" + Product);
  Key.Set_String("Log", Scratch / "load.log");
  Key.Set_Dword("Log Limit", Limit);
  std::vector<std::uint32_t> Ids(Threads);
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    std::vector<std::thread> Writers;
    std::latch Ready(Threads);
    for (int T = 0; T < Threads; ++T) {
      Writers.emplace_back([&, T] {
        Ids[static_cast<std::size_t>(T)] = Windows::Thread_Id();
        Ready.arrive_and_wait();
        for (int I = 0; I < Each; ++I) {
          Log.Put(Text_Of(T, I));
        }
      });
    }
    for (std::thread& Writer : Writers) {
      Writer.join();
    }
    ASSERT_TRUE(Log.Is_Active());
  }
  const auto Previous = Test_Support::Lines_Of(Scratch.Read("load_2.log"));
  const auto Current = Test_Support::Lines_Of(Scratch.Read("load.log"));
  const auto Notices = Test_Support::Rotation_Notices(Limit, Scratch / "load_2.log");
  // The previous file is full; the current one holds what the count rule leaves.
  const long long Total = static_cast<long long>(Threads) * Each;
  const auto In_Current = static_cast<std::size_t>((Total - Limit - 1) % (Limit - 2) + 1);
  ASSERT_EQ(Previous.size(), Limit);
  ASSERT_EQ(Current.size(), In_Current + 2);
  std::vector<int> Next(Threads, -1);
  for (const auto* File : {&Previous, &Current}) {
    EXPECT_EQ((*File)[0], Notices[0]);
    EXPECT_EQ((*File)[1], Notices[1]);
    for (std::size_t L = 2; L < File->size(); ++L) {
      const auto Fields = Test_Support::Parse_Record((*File)[L]);
      ASSERT_TRUE(Fields) << (*File)[L];
      const Written W = Parse_Text(Fields->Text);
      ASSERT_TRUE(W.Thread >= 0 && W.Thread < Threads) << Fields->Text;
      int& Expected = Next[static_cast<std::size_t>(W.Thread)];
      // Each thread's records follow one another from its first one kept.
      EXPECT_TRUE(Expected < 0 || W.Sequence == Expected) << Fields->Text;
      Expected = W.Sequence + 1;
      EXPECT_EQ(Fields->Thread,
                Unsigned::Hex_Image_Wide(Ids[static_cast<std::size_t>(W.Thread)], 4));
    }
  }
  // The files hold the newest records: a thread that has any there has
  // all its later ones there too, its last one included.
  for (int T = 0; T < Threads; ++T) {
    const int After_Last = Next[static_cast<std::size_t>(T)];
    EXPECT_TRUE(After_Last < 0 || After_Last == Each) << T;
  }
}

}  // namespace
