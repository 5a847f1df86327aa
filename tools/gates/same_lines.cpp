// The lines a formatted text keeps of its source: the longest run of
// source lines that come out byte-identical and in order (a longest common
// subsequence), so that a line broken in two costs that line alone and not
// every line after it.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gates.h"

namespace Gates {

namespace {

// Each line as a number, equal lines the same number: compared in O(1).
void Number_Lines(const std::vector<std::string_view>& Before,
                  const std::vector<std::string_view>& After, std::vector<int>& A,
                  std::vector<int>& B) {
  std::unordered_map<std::string_view, int> Numbers;
  const auto Number = [&Numbers](std::string_view Line) {
    return Numbers.emplace(Line, static_cast<int>(Numbers.size())).first->second;
  };
  A.reserve(Before.size());
  B.reserve(After.size());
  std::transform(Before.begin(), Before.end(), std::back_inserter(A), Number);
  std::transform(After.begin(), After.end(), std::back_inserter(B), Number);
}

// The fewest lines to delete from A and insert into B (Myers' greedy
// forward search), or -1 when more than Most are needed.
long Edit_Distance(const int* A, long N, const int* B, long M, long Most) {
  std::vector<long> Furthest(static_cast<std::size_t>(2 * Most + 3), 0);
  const long Offset = Most + 1;
  for (long D = 0; D <= Most; ++D) {
    for (long K = -D; K <= D; K += 2) {
      long X = K == -D || (K != D && Furthest[static_cast<std::size_t>(Offset + K - 1)] <
                                         Furthest[static_cast<std::size_t>(Offset + K + 1)])
                   ? Furthest[static_cast<std::size_t>(Offset + K + 1)]
                   : Furthest[static_cast<std::size_t>(Offset + K - 1)] + 1;
      long Y = X - K;
      while (X < N && Y < M && A[X] == B[Y]) {
        ++X;
        ++Y;
      }
      Furthest[static_cast<std::size_t>(Offset + K)] = X;
      if (X >= N && Y >= M) {
        return D;
      }
    }
  }
  return -1;
}

}  // namespace

std::size_t Same_Lines(std::string_view Original, std::string_view Formatted) {
  const std::vector<std::string_view> Before = Lines_Of(Original);
  const std::vector<std::string_view> After = Lines_Of(Formatted);
  // Lines compared by their place: a common subsequence too, so a floor
  // when the search below would take too long.
  std::size_t In_Place = 0;
  for (std::size_t I = 0; I < Before.size() && I < After.size(); ++I) {
    In_Place += Before[I] == After[I] ? 1U : 0U;
  }
  std::vector<int> A;
  std::vector<int> B;
  Number_Lines(Before, After, A, B);
  const auto N = static_cast<long>(A.size());
  const auto M = static_cast<long>(B.size());
  constexpr long Most_Edits = 4000;  // a bound on the search's time: O((N + M) * Most_Edits)
  const long Edits = Edit_Distance(A.data(), N, B.data(), M, std::min(N + M, Most_Edits));
  return Edits < 0 ? In_Place : std::max(In_Place, static_cast<std::size_t>((N + M - Edits) / 2));
}

}  // namespace Gates
