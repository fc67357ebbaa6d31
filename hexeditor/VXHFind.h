// Forward search for a byte pattern in a byte range, exact or with the document's bytes
// lower-cased, and the in-place rewrite behind a replace-all. Pure functions, no widget.
//
// Every search here returns what the plain left-to-right scan (NaiveFind) returns: the
// first match that begins at or after Start and ends at or before Last, or -1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hexeditor/VXHTranslationKind.h"

// Maps a document byte to the byte an ignore-case search compares: the byte read in the
// display character set, lower-cased there, and written back in the document's set.
using TVXHFoldTable = std::array<uint8_t, 256>;
TVXHFoldTable MakeFoldTable(TVXHTranslationKind Kind);

// Dest[i] := Fold[Source[i]]. Kernel -1 takes the fastest this processor has; 0 is the
// scalar one, 1 the AVX2 and 2 the AVX-512 one (tests compare them; an unavailable one
// falls back to the fastest).
void FoldBuffer(const TVXHFoldTable& Fold, const uint8_t* Source, uint8_t* Dest, size_t Count, int Kernel = -1);
bool FoldKernelAvailable(int Kernel);

// The reference scan: retries every start position in turn. Slow; for tests and benchmarks.
// Fold null: exact. Last at or beyond Size means the last byte; a negative Start counts as 0.
int NaiveFind(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start, int Last,
              const TVXHFoldTable* Fold);

// The same result, fast: a vectorised first/last-byte filter on the raw bytes, or with Fold
// the same search over the document folded through the table a block at a time.
int FastFind(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start, int Last,
             const TVXHFoldTable* Fold);

// Positions of the matches a replace-all meets from Start on: the leftmost match, then the
// leftmost one beginning after its end, and so on (matches never overlap).
std::vector<int> FindAllMatches(const uint8_t* Data, int Size, const uint8_t* Pattern, int Length, int Start,
                                const TVXHFoldTable* Fold);

// The first match of Pattern in Haystack (exact), or null. Exposed for the benchmarks.
const uint8_t* SearchBytes(const uint8_t* Haystack, size_t Size, const uint8_t* Pattern, size_t Length);

// Rewrites Data in place so that each of Count non-overlapping matches of MatchLength bytes at
// the ascending Positions makes room for ReplaceLength bytes, in one pass. Data must hold
// max(OldSize, new size) bytes, where new size = OldSize + Count x (ReplaceLength - MatchLength).
// With Replacement null the new slots are left for the caller to fill.
void RewriteForReplace(uint8_t* Data, int64_t OldSize, const int* Positions, size_t Count, int MatchLength,
                       const uint8_t* Replacement, int ReplaceLength);
