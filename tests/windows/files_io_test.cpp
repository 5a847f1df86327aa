// Buffered file handles against real files: the 500-byte block rule, both
// line forms, positioning, and the shared, automatically closed handle.
#include "files_io.h"

#include <gtest/gtest.h>

#include "scratch.h"
#include "wide.h"

namespace {

namespace IO = Windows::Files::IO;
using Test_Support::Scratch_Folder;

class File_Handles : public testing::Test {
 protected:
  std::string On_Disk() const { return Scratch.Read("f"); }
  IO::Handle Reader(const std::string& Content) {
    Scratch.Write("r", Content);
    return IO::Open(Scratch / "r", false);
  }

  Scratch_Folder Scratch;
  const std::string Name = Scratch / "f";
};

TEST_F(File_Handles, ABlockIsWrittenTheMomentItIsExactlyFull) {
  const IO::Handle H = IO::Create(Name, false, true);
  IO::Put_Line(std::string(498, 'a'), H);
  EXPECT_EQ(On_Disk().size(), 500u);
  IO::Put_Line(std::string(497, 'b'), H);
  EXPECT_EQ(On_Disk().size(), 500u) << "499 bytes wait in the buffer";
  IO::Flush(H);
  EXPECT_EQ(On_Disk(), std::string(498, 'a') + "\r\n" + std::string(497, 'b') + "\r\n");
}

TEST_F(File_Handles, LongPutsGoOutInWholeBlocks) {
  const IO::Handle H = IO::Create(Name, false, true);
  const std::string Item = std::string(600, 'x') + std::string(600, 'y');
  IO::Put(Item, H);
  EXPECT_EQ(On_Disk(), Item.substr(0, 1000));
  IO::Close(H);
  EXPECT_EQ(On_Disk(), Item);
}

TEST_F(File_Handles, TheLastCopyToEndWritesAndClosesTheFile) {
  {
    IO::Handle Copy;
    {
      const IO::Handle H = IO::Create(Name, false, true);
      IO::Put("kept", H);
      Copy = H;
    }
    EXPECT_EQ(On_Disk(), "");
    IO::Put_Line(" too", Copy);
  }
  EXPECT_EQ(On_Disk(), "kept too\r\n");
}

TEST_F(File_Handles, CreateEmptiesOrRefusesAnExistingFile) {
  Scratch.Write("f", "old content");
  EXPECT_THROW(IO::Create(Name, true, true), IO::Creation_Failure);
  EXPECT_EQ(On_Disk(), "old content");
  IO::Close(IO::Create(Name, false, true));
  EXPECT_EQ(On_Disk(), "");
  EXPECT_THROW(IO::Create(Scratch / "none/f", false, true), IO::Creation_Failure);
  EXPECT_THROW(IO::Open(Scratch / "none", false), IO::File_Not_Found);
  EXPECT_THROW(IO::Open(Scratch.Path(), false), IO::File_Not_Found);
}

TEST_F(File_Handles, OpeningWritableAppendsAtTheEnd) {
  Scratch.Write("f", "first\r\n");
  const IO::Handle H = IO::Open(Name, true);
  EXPECT_EQ(IO::Index(H), 8);
  IO::Put_Line("second", H);
  EXPECT_THROW(IO::Set_Index(H, 1), IO::Wrong_Mode);
  EXPECT_THROW(IO::Reset(H), IO::Wrong_Mode);
  IO::Close(H);
  EXPECT_EQ(On_Disk(), "first\r\nsecond\r\n");
}

struct Lines_Case {
  std::string Content;
  std::vector<std::string> Lines;
};

TEST_F(File_Handles, LineTerminatorsAndTheirPairs) {
  const Lines_Case Cases[] = {
      {"a\r\nb", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\x0B"
       "b\x0C"
       "c\rd\n",
       {"a", "b", "c", "d"}},
      {"\r\n\r\n", {"", ""}},
      {"", {}},
      {std::string(499, 'p') + "\r\nq", {std::string(499, 'p'), "q"}},  // CR at 500, LF at 501
      {std::string(1234, 'z'), {std::string(1234, 'z')}},
      {std::string(500, 'e'), {std::string(500, 'e')}},
      {std::string(500, 'e') + "\n", {std::string(500, 'e')}},
  };
  for (const Lines_Case& C : Cases) {
    const IO::Handle H = Reader(C.Content);
    std::vector<std::string> Lines;
    while (!IO::End_Of_File(H) && Lines.size() < 10) {
      Lines.push_back(IO::Get_Line(H));
    }
    EXPECT_EQ(Lines, C.Lines) << C.Content.size();
    EXPECT_EQ(IO::Get_Line(H), "") << "at the end: empty, again and again";
    EXPECT_EQ(IO::Get_Line(H), "");
  }
}

TEST_F(File_Handles, WideLinesTakeSixteenBitUnits) {
  const IO::Handle Out = IO::Create(Name, false, true);
  IO::Put_Line(std::u16string(u"ab"), Out);
  IO::Put(std::u16string(), IO::Handle());  // nothing to write: no check either
  IO::Close(Out);
  EXPECT_EQ(On_Disk(), std::string("a\0b\0\n\0", 6));

  std::string Content;
  const auto Add = [&](std::u16string_view Units) {
    for (const char16_t U : Units) {
      Content.push_back(static_cast<char>(U & 0xFF));
      Content.push_back(static_cast<char>(U >> 8));
    }
  };
  Add(std::u16string(249, u'w'));  // 498 bytes, then a CR LF pair split at 500
  Add(u"\r\nx\u2028y\u0085z\u2029\u010A");
  const IO::Handle In = Reader(Content);
  std::vector<std::u16string> Lines;
  while (!IO::End_Of_File(In)) {
    Lines.push_back(IO::Get_Wide_Line(In));
  }
  EXPECT_EQ(Lines, (std::vector<std::u16string>{std::u16string(249, u'w'), u"", u"x", u"y", u"z",
                                                u"\u010A"}));
}

TEST_F(File_Handles, AWideUnitSplitAcrossBlocksIsCompleted) {
  // Read from the odd position 2, every unit at the block boundary of 500
  // is split across two blocks.
  std::string Content = "#";
  for (int I = 0; I < 300; ++I) {
    Content += std::string("\x41\x01", 2);  // U+0141
  }
  Content += std::string("\x0A\x00\x28\x20", 4) + std::string(394, 'q');
  Content += std::string("\x0A\x00", 2) + "z";  // this LF is split at 1000
  const IO::Handle In = Reader(Content);
  IO::Set_Index(In, 2);
  EXPECT_EQ(IO::Get_Wide_Line(In), std::u16string(300, u'\u0141'));
  EXPECT_EQ(IO::Get_Wide_Line(In), u"");  // U+2028 right after the LF
  EXPECT_EQ(IO::Get_Wide_Line(In), std::u16string(197, u'\u7171'));
  EXPECT_THROW(IO::Get_Wide_Line(In), IO::End_Error);  // one byte left
}

TEST_F(File_Handles, AnOddNumberOfBytesIsAnEndError) {
  const IO::Handle In = Reader(std::string("a\0b", 3));
  EXPECT_THROW(IO::Get_Wide_Line(In), IO::End_Error);
}

TEST_F(File_Handles, SetIndexRepositionsReading) {
  std::string Content;
  for (int I = 0; I < 300; ++I) {
    Content += "line " + std::to_string(I) + "\r\n";
  }
  const IO::Handle H = Reader(Content);
  EXPECT_EQ(IO::Index(H), 1);
  EXPECT_EQ(IO::Get_Line(H), "line 0");
  EXPECT_EQ(IO::Index(H), 9);
  const std::size_t Far = Content.find("line 250");
  IO::Set_Index(H, static_cast<std::int64_t>(Far + 1));
  EXPECT_EQ(IO::Get_Line(H), "line 250");
  IO::Set_Index(H, 9);
  EXPECT_EQ(IO::Get_Line(H), "line 1");
  IO::Reset(H);
  EXPECT_EQ(IO::Get_Line(H), "line 0");
  IO::Set_Index(H, static_cast<std::int64_t>(Content.size() + 100));
  EXPECT_TRUE(IO::End_Of_File(H));
  EXPECT_EQ(IO::Get_Line(H), "");
}

TEST_F(File_Handles, EveryOperationOnAClosedHandleIsABadHandle) {
  const IO::Handle H = IO::Create(Name, false, true);
  const IO::Handle Copy = H;
  IO::Close(H);
  const IO::Handle Never;
  for (const IO::Handle* Closed : {&H, &Copy, &Never}) {
    EXPECT_THROW(IO::Get_Line(*Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Get_Wide_Line(*Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Put("x", *Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Put(std::u16string(u"x"), *Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Put_Line("x", *Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Put_Line(std::u16string(), *Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Set_Index(*Closed, 1), IO::Bad_Handle);
    EXPECT_THROW(IO::Reset(*Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Index(*Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Flush(*Closed), IO::Bad_Handle);
    EXPECT_THROW(IO::Close(*Closed), IO::Bad_Handle);
  }
  EXPECT_TRUE(IO::End_Of_File(H));
}

TEST_F(File_Handles, WritingThroughAReadingHandleFailsWhenTheBlockGoesBack) {
  const IO::Handle H = Reader(std::string(600, 'r'));
  IO::Put("w", H);  // stays in the buffer: the handle has no write access
  IO::Flush(H);
  EXPECT_THROW(IO::Put(std::string(600, 'w'), H), IO::End_Error);
  EXPECT_EQ(Scratch.Read("r"), std::string(600, 'r'));
}

TEST_F(File_Handles, WideNamesOpenTheSameFiles) {
  const std::u16string Wide = Windows::To_UTF_16(Scratch / "caf\xC3\xA9.txt");
  IO::Close(IO::Create(Wide, false, true));
  const IO::Handle Out = IO::Open(Wide, true);
  IO::Put_Line("\xC3\xA9t\xC3\xA9", Out);
  IO::Close(Out);
  const IO::Handle In = IO::Open(Wide, false);
  EXPECT_EQ(IO::Get_Line(In), "\xC3\xA9t\xC3\xA9");
}

}  // namespace
