// UTF-16 <-> UTF-8, the two encodings that meet in the wide interfaces.
#include "wide.h"

namespace Windows {

namespace {

void Append_UTF_8(std::string& Out, char32_t C) {
  const auto Byte = [&](unsigned Value) { Out.push_back(static_cast<char>(Value)); };
  if (C < 0x80) {
    Byte(C);
  } else if (C < 0x800) {
    Byte(0xC0 | (C >> 6));
    Byte(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Byte(0xE0 | (C >> 12));
    Byte(0x80 | ((C >> 6) & 0x3F));
    Byte(0x80 | (C & 0x3F));
  } else {
    Byte(0xF0 | (C >> 18));
    Byte(0x80 | ((C >> 12) & 0x3F));
    Byte(0x80 | ((C >> 6) & 0x3F));
    Byte(0x80 | (C & 0x3F));
  }
}

void Append_UTF_16(std::u16string& Out, char32_t C) {
  if (C < 0x10000) {
    Out.push_back(static_cast<char16_t>(C));
  } else {
    C -= 0x10000;
    Out.push_back(static_cast<char16_t>(0xD800 + (C >> 10)));
    Out.push_back(static_cast<char16_t>(0xDC00 + (C & 0x3FF)));
  }
}

// Length of the valid UTF-8 sequence at Text[I] and its character; 0 when
// the byte there starts none.
std::size_t Decode(std::string_view Text, std::size_t I, char32_t& C) {
  const auto Lead = static_cast<unsigned char>(Text[I]);
  std::size_t Length = 0;
  if (Lead < 0x80) {
    Length = 1;
  } else if (Lead >= 0xC2 && Lead < 0xE0) {
    Length = 2;
  } else if (Lead >= 0xE0 && Lead < 0xF0) {
    Length = 3;
  } else if (Lead >= 0xF0 && Lead < 0xF5) {
    Length = 4;
  }
  if (Length == 0 || I + Length > Text.size()) {
    return 0;
  }
  C = Length == 1 ? Lead : Lead & (0x7Fu >> Length);
  for (std::size_t K = 1; K < Length; ++K) {
    const auto Next = static_cast<unsigned char>(Text[I + K]);
    if ((Next & 0xC0) != 0x80) {
      return 0;
    }
    C = (C << 6) | (Next & 0x3Fu);
  }
  static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool Valid = C >= Smallest[Length] && C <= 0x10FFFF && (C < 0xD800 || C > 0xDFFF);
  return Valid ? Length : 0;
}

}  // namespace

std::u16string Units_Of(std::string_view Bytes) {
  std::u16string Units(Bytes.size() / 2, u'\0');
  for (std::size_t I = 0; I < Units.size(); ++I) {
    const unsigned Low = static_cast<unsigned char>(Bytes[2 * I]);
    const unsigned High = static_cast<unsigned char>(Bytes[2 * I + 1]);
    Units[I] = static_cast<char16_t>(Low | High << 8u);
  }
  return Units;
}

std::string Bytes_Of(std::u16string_view Units) {
  std::string Bytes;
  Bytes.reserve(Units.size() * 2);
  for (const char16_t Unit : Units) {
    Bytes.push_back(static_cast<char>(Unit & 0xFFu));
    Bytes.push_back(static_cast<char>(Unit >> 8u));
  }
  return Bytes;
}

std::string To_UTF_8(std::u16string_view Wide) {
  std::string Out;
  for (std::size_t I = 0; I < Wide.size(); ++I) {
    char32_t C = Wide[I];
    const bool High = C >= 0xD800 && C < 0xDC00;
    if (High && I + 1 < Wide.size() && Wide[I + 1] >= 0xDC00 && Wide[I + 1] < 0xE000) {
      C = 0x10000 + ((C - 0xD800) << 10) + (Wide[++I] - 0xDC00u);
    } else if (C >= 0xD800 && C < 0xE000) {
      C = 0xFFFD;
    }
    Append_UTF_8(Out, C);
  }
  return Out;
}

std::u16string To_UTF_16(std::string_view Narrow) {
  std::u16string Out;
  for (std::size_t I = 0; I < Narrow.size();) {
    char32_t C = 0;
    const std::size_t Length = Decode(Narrow, I, C);
    if (Length == 0) {
      C = static_cast<unsigned char>(Narrow[I]);
    }
    Append_UTF_16(Out, C);
    I += Length == 0 ? 1 : Length;
  }
  return Out;
}

}  // namespace Windows
