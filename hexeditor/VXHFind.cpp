#include "hexeditor/VXHFind.h"
#include "hexeditor/VXHTranslation.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

TVXHFoldTable MakeFoldTable(TVXHTranslationKind Kind) {
  TVXHFoldTable identity, t;
  for (int i = 0; i < 256; ++i) identity[i] = static_cast<uint8_t>(i);
  t = identity;
  if (Kind == tkAsIs) {
    for (int i = 0; i < 256; ++i) t[i] = AnsiLowerChar(static_cast<uint8_t>(i));
    return t;
  }
  TranslateFromForeign(Kind, identity.data(), t.data(), 256);
  for (uint8_t& c : t) c = AnsiLowerChar(c);
  TranslateToForeign(Kind, t.data(), t.data(), 256);
  return t;
}

namespace {

// Clamps the range as the scan does; false when the pattern cannot fit at all.
bool clampRange(int Size, int Length, int& Start, int& Last) {
  if (Last >= Size) Last = Size - 1;
  if (Start < 0) Start = 0;
  return Length >= 1 && int64_t(Start) + Length <= int64_t(Last) + 1;
}

#if defined(__SSE2__)
// Candidates are the positions where both the first and the last pattern byte fit; 32 start
// positions are tested per step, so random data costs little more than reading it.
const uint8_t* filterSearch(const uint8_t* h, size_t n, const uint8_t* p, size_t m) {
  const __m128i first = _mm_set1_epi8(static_cast<char>(p[0]));
  const __m128i last = _mm_set1_epi8(static_cast<char>(p[m - 1]));
  const size_t starts = n - m + 1;
  size_t i = 0;
  size_t candidates = 0;
  for (; i + 32 <= starts; i += 32) {
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
    const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + 16));
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
    const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1 + 16));
    const uint32_t lo = static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a0, first), _mm_cmpeq_epi8(b0, last))));
    const uint32_t hi = static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a1, first), _mm_cmpeq_epi8(b1, last))));
    uint32_t mask = lo | (hi << 16);
    while (mask) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (m <= 2 || std::memcmp(h + i + bit + 1, p + 1, m - 2) == 0) return h + i + bit;
      mask &= mask - 1;
      ++candidates;
    }
    // Long patterns in repetitive data can make the filter pass nearly everywhere; the
    // two-way search of memmem stays linear there.
    if (m > 64 && candidates > i / 16 + 4096) {
      i += 32;
      const void* r = memmem(h + i, n - i, p, m);
      return static_cast<const uint8_t*>(r);
    }
  }
  for (; i < starts; ++i)
    if (h[i] == p[0] && h[i + m - 1] == p[m - 1] && std::memcmp(h + i, p, m) == 0) return h + i;
  return nullptr;
}
#endif

// Folds Count bytes through the table: the scalar form, eight bytes at a time.
void foldScalar(const TVXHFoldTable& t, const uint8_t* src, uint8_t* dst, size_t count) {
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    uint64_t x;
    std::memcpy(&x, src + i, 8);
    const uint64_t y = uint64_t(t[x & 0xFF]) | uint64_t(t[(x >> 8) & 0xFF]) << 8 |
                       uint64_t(t[(x >> 16) & 0xFF]) << 16 | uint64_t(t[(x >> 24) & 0xFF]) << 24 |
                       uint64_t(t[(x >> 32) & 0xFF]) << 32 | uint64_t(t[(x >> 40) & 0xFF]) << 40 |
                       uint64_t(t[(x >> 48) & 0xFF]) << 48 | uint64_t(t[x >> 56]) << 56;
    std::memcpy(dst + i, &y, 8);
  }
  for (; i < count; ++i) dst[i] = t[src[i]];
}

#if defined(__x86_64__) && defined(__GNUC__)
// The whole table in four registers: two 128-entry permutes and a blend on bit 7 fold
// 64 bytes.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void foldVbmi(const TVXHFoldTable& t, const uint8_t* src,
                                                                      uint8_t* dst, size_t count) {
  const __m512i t0 = _mm512_loadu_si512(t.data()), t1 = _mm512_loadu_si512(t.data() + 64);
  const __m512i t2 = _mm512_loadu_si512(t.data() + 128), t3 = _mm512_loadu_si512(t.data() + 192);
  size_t i = 0;
  for (; i + 64 <= count; i += 64) {
    const __m512i x = _mm512_loadu_si512(src + i);
    const __m512i low = _mm512_permutex2var_epi8(t0, x, t1);
    const __m512i high = _mm512_permutex2var_epi8(t2, x, t3);
    _mm512_storeu_si512(dst + i, _mm512_mask_blend_epi8(_mm512_movepi8_mask(x), low, high));
  }
  foldScalar(t, src + i, dst + i, count - i);
}

// Sixteen 16-entry shuffles, each kept for the bytes of its high nibble.
__attribute__((target("avx2"))) void foldAvx2(const TVXHFoldTable& t, const uint8_t* src, uint8_t* dst,
                                              size_t count) {
  __m256i rows[16];
  for (int g = 0; g < 16; ++g)
    rows[g] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + 16 * g)));
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  size_t i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i lo = _mm256_and_si256(x, nibble);
    const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble);
    __m256i r = _mm256_setzero_si256();
    for (int g = 0; g < 16; ++g) {
      const __m256i sel = _mm256_cmpeq_epi8(hi, _mm256_set1_epi8(static_cast<char>(g)));
      r = _mm256_or_si256(r, _mm256_and_si256(sel, _mm256_shuffle_epi8(rows[g], lo)));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), r);
  }
  foldScalar(t, src + i, dst + i, count - i);
}
#endif

using TFoldFunction = void (*)(const TVXHFoldTable&, const uint8_t*, uint8_t*, size_t);

TFoldFunction chooseFold() {
#if defined(__x86_64__) && defined(__GNUC__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw")) return foldVbmi;
  if (__builtin_cpu_supports("avx2")) return foldAvx2;
#endif
  return foldScalar;
}

void foldBlock(const TVXHFoldTable& t, const uint8_t* src, uint8_t* dst, size_t count) {
  static const TFoldFunction fold = chooseFold();
  fold(t, src, dst, count);
}

}  // namespace

bool FoldKernelAvailable(int Kernel) {
#if defined(__x86_64__) && defined(__GNUC__)
  __builtin_cpu_init();
  if (Kernel == 1) return __builtin_cpu_supports("avx2");
  if (Kernel == 2) return __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
#endif
  return Kernel == 0;
}

void FoldBuffer(const TVXHFoldTable& Fold, const uint8_t* Source, uint8_t* Dest, size_t Count, int Kernel) {
  if (Kernel < 0 || !FoldKernelAvailable(Kernel)) return foldBlock(Fold, Source, Dest, Count);
#if defined(__x86_64__) && defined(__GNUC__)
  if (Kernel == 1) return foldAvx2(Fold, Source, Dest, Count);
  if (Kernel == 2) return foldVbmi(Fold, Source, Dest, Count);
#endif
  foldScalar(Fold, Source, Dest, Count);
}

namespace {

// A folded document byte is always a value of the table: a pattern byte outside it can
// never match.
bool patternCanMatch(const TVXHFoldTable& t, const uint8_t* p, int m) {
  bool image[256] = {};
  for (uint8_t v : t) image[v] = true;
  for (int i = 0; i < m; ++i)
    if (!image[p[i]]) return false;
  return true;
}

// Calls OnMatch(position) for matches in [Start, Last] from left to right; OnMatch returns
// where the next match may begin, or -1 to stop.
template <typename F>
void scanMatches(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start, int Last,
                 const TVXHFoldTable* Fold, F&& OnMatch) {
  if (!clampRange(Size, Length, Start, Last)) return;
  const size_t m = static_cast<size_t>(Length);
  int64_t s = Start;
  const int64_t end = int64_t(Last) + 1;  // one past the last byte a match may cover
  if (!Fold) {
    while (s + int64_t(m) <= end) {
      const uint8_t* r = SearchBytes(Data + s, static_cast<size_t>(end - s), Pattern, m);
      if (!r) return;
      const int next = OnMatch(static_cast<int>(r - Data));
      if (next < 0) return;
      s = next;
    }
    return;
  }
  if (!patternCanMatch(*Fold, Pattern, Length)) return;
  // Small first blocks keep a search that ends nearby cheap; they grow to amortise the
  // m - 1 bytes folded twice at every block edge.
  const int64_t maxBlock = std::max<int64_t>(int64_t(1) << 16, int64_t(m));
  int64_t block = 4096;
  std::vector<uint8_t> buf;
  while (s + int64_t(m) <= end) {
    const int64_t blockEnd = std::min(s + block, end - int64_t(m) + 1);  // starts tried: [s, blockEnd)
    const int64_t foldEnd = blockEnd + int64_t(m) - 1;
    const size_t len = static_cast<size_t>(foldEnd - s);
    if (buf.size() < len) buf.resize(len);
    foldBlock(*Fold, Data + s, buf.data(), len);
    int64_t resume = blockEnd;
    size_t q = 0;
    while (q + m <= len) {
      const uint8_t* r = SearchBytes(buf.data() + q, len - q, Pattern, m);
      if (!r) break;
      const int next = OnMatch(static_cast<int>(s + (r - buf.data())));
      if (next < 0) return;
      if (next - s >= int64_t(len)) {
        resume = next;
        break;
      }
      q = static_cast<size_t>(next - s);
      resume = std::max<int64_t>(blockEnd, next);
    }
    s = resume;
    block = std::min(block * 2, maxBlock);
  }
}

}  // namespace

const uint8_t* SearchBytes(const uint8_t* Haystack, size_t Size, const uint8_t* Pattern, size_t Length) {
  if (Length == 0 || Length > Size) return nullptr;
  if (Length == 1) return static_cast<const uint8_t*>(std::memchr(Haystack, Pattern[0], Size));
#if defined(__SSE2__)
  return filterSearch(Haystack, Size, Pattern, Length);
#else
  return static_cast<const uint8_t*>(memmem(Haystack, Size, Pattern, Length));
#endif
}

int NaiveFind(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start, int Last,
              const TVXHFoldTable* Fold) {
  if (!clampRange(Size, Length, Start, Last)) return -1;
  int p = Start, i = 0, next = Start + 1;
  while (p <= Last) {
    const uint8_t b = Fold ? (*Fold)[Data[p]] : Data[p];
    if (Pattern[i] == b) {
      if (i == Length - 1) return p - Length + 1;
      if (i == 0) next = p + 1;
      ++p;
      ++i;
    } else {
      p = next;
      i = 0;
      next = p + 1;
    }
  }
  return -1;
}

int FastFind(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start, int Last,
             const TVXHFoldTable* Fold) {
  int found = -1;
  scanMatches(Data, Size, Pattern, Length, Start, Last, Fold, [&](int pos) {
    found = pos;
    return -1;
  });
  return found;
}

std::vector<int> FindAllMatches(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start,
                                const TVXHFoldTable* Fold) {
  std::vector<int> result;
  scanMatches(Data, Size, Pattern, Length, Start, Size - 1, Fold, [&](int pos) {
    result.push_back(pos);
    return pos + Length;
  });
  return result;
}

void RewriteForReplace(uint8_t* Data, int64_t OldSize, const int* Positions, size_t Count, int MatchLength,
                       const uint8_t* Replacement, int ReplaceLength) {
  if (Count == 0) return;
  const int64_t delta = int64_t(ReplaceLength) - MatchLength;
  auto put = [&](int64_t at) {
    if (Replacement && ReplaceLength > 0) std::memcpy(Data + at, Replacement, static_cast<size_t>(ReplaceLength));
  };
  if (delta == 0) {
    for (size_t k = 0; k < Count; ++k) put(Positions[k]);
    return;
  }
  // The unchanged run after match k moves by (k + 1) x delta. Growing, runs move right:
  // go from the back so nothing unread is overwritten; shrinking, go from the front.
  auto runOf = [&](size_t k, int64_t& from, int64_t& count) {
    from = int64_t(Positions[k]) + MatchLength;
    const int64_t to = k + 1 < Count ? int64_t(Positions[k + 1]) : OldSize;
    count = to - from;
  };
  if (delta > 0) {
    for (size_t k = Count; k-- > 0;) {
      int64_t from, count;
      runOf(k, from, count);
      if (count > 0) std::memmove(Data + from + int64_t(k + 1) * delta, Data + from, static_cast<size_t>(count));
      put(int64_t(Positions[k]) + int64_t(k) * delta);
    }
  } else {
    for (size_t k = 0; k < Count; ++k) {
      put(int64_t(Positions[k]) + int64_t(k) * delta);
      int64_t from, count;
      runOf(k, from, count);
      if (count > 0) std::memmove(Data + from + int64_t(k + 1) * delta, Data + from, static_cast<size_t>(count));
    }
  }
}
