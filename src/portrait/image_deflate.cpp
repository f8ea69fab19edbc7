#include "portrait/image_deflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "shell/error.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace likentor {

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr int kLitLenSymbols = 286;
constexpr int kDistanceSymbols = 30;
constexpr int kCodeLengthSymbols = 19;
constexpr int kEndOfBlock = 256;
// Literal and length codes are kept to 14 bits so that four of them fit the bit buffer between two
// flushes (4 x 14 bits and the 7 left over from the last flush). Counts that would need longer
// codes are rare at this size; the limit costs a few bytes when it applies.
constexpr int kMaxLitLenBits = 14;
constexpr int kMaxDistanceBits = 15;
constexpr int kMaxCodeLengthBits = 7;
constexpr std::size_t kMaxStoredBlock = 65535;

constexpr std::array<std::uint16_t, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, kDistanceSymbols> kDistanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, kDistanceSymbols> kDistanceExtra{
    0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthOrder{
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthExtra{
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

// The length code (0 for symbol 257 ... 28 for 285) of each match length.
constexpr std::array<std::uint8_t, kMaxMatch + 1> kLengthCode = [] {
  std::array<std::uint8_t, kMaxMatch + 1> codes{};
  std::size_t code = 0;
  for (std::size_t length = kMinMatch; length <= kMaxMatch; ++length) {
    while (code + 1 < kLengthBase.size() && kLengthBase[code + 1] <= length) ++code;
    codes[length] = static_cast<std::uint8_t>(code);
  }
  return codes;
}();

int DistanceCode(std::size_t distance) {
  int code = kDistanceSymbols - 1;
  while (kDistanceBase[static_cast<std::size_t>(code)] > distance) --code;
  return code;
}

// A match of `length` bytes copied from one byte back or (far) one pixel back, after `literals`
// bytes written as they are. Length 0 marks the literals at the end.
struct Match {
  std::uint32_t literals;
  std::uint16_t length;
  std::uint16_t far;
};

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t value;
  std::memcpy(&value, p, sizeof value);
  return value;  // byte k of memory in bits 8k..8k+7 (a little-endian host)
}

// How many bytes from `at` on equal those `distance` before them, up to the longest match.
std::size_t MatchLength(const std::uint8_t* data, std::size_t at, std::size_t distance,
                        std::size_t size) {
  const std::size_t longest = std::min(kMaxMatch, size - at);
  const std::uint8_t* p = data + at;
  const std::uint8_t* back = p - distance;
  std::size_t length = 0;
  for (; length + 8 <= longest; length += 8) {
    const std::uint64_t differ = Load64(p + length) ^ Load64(back + length);
    if (differ != 0) return length + static_cast<std::size_t>(std::countr_zero(differ) >> 3);
  }
  while (length < longest && p[length] == back[length]) ++length;
  return length;
}

// Bit k set where position at + k begins three bytes equal to those one byte back or one pixel
// back: where a match may start. Looks at the first kBlockPositions positions.
#if defined(__SSE2__)
constexpr std::size_t kBlockPositions = 14;  // 16 compared bytes, of which the last two end no run
unsigned MatchStarts(const std::uint8_t* data, std::size_t at, std::size_t pixel) {
  const auto load = [](const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  };
  const __m128i here = load(data + at);
  const auto near =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, load(data + at - 1))));
  const auto far =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, load(data + at - pixel))));
  return ((near & near >> 1 & near >> 2) | (far & far >> 1 & far >> 2)) & 0x3FFFu;
}
#else
constexpr std::size_t kBlockPositions = 6;  // 8 compared bytes
unsigned MatchStarts(const std::uint8_t* data, std::size_t at, std::size_t pixel) {
  // The high bit of each zero byte, and nothing else.
  const auto zeros = [](std::uint64_t x) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
  };
  const std::uint64_t here = Load64(data + at);
  const std::uint64_t near = zeros(here ^ Load64(data + at - 1));
  const std::uint64_t far = zeros(here ^ Load64(data + at - pixel));
  const std::uint64_t runs =
      ((near & near >> 8 & near >> 16) | (far & far >> 8 & far >> 16)) & 0x0000808080808080ull;
  unsigned starts = 0;
  for (int k = 0; k < 6; ++k) starts |= static_cast<unsigned>((runs >> (8 * k + 7)) & 1) << k;
  return starts;
}
#endif

// The matches, greedily: at each position the longer of the match one byte back and the match one
// pixel back, when it is at least kMinMatch long. The bytes between them are copied to `literals`
// (room for size + 16 bytes), so that counting and writing them is a straight pass; returns how
// many there are.
std::size_t FindMatches(const std::uint8_t* data, std::size_t size, std::size_t pixel,
                        std::vector<Match>& matches, std::uint8_t* literals) {
  matches.clear();
  std::size_t at = std::min(pixel, size);
  if (at > 0) std::memcpy(literals, data, at);
  std::size_t count = at;
  std::size_t pending = at;  // literals since the last match
  const auto take = [&](std::size_t position) {
    const std::size_t near = MatchLength(data, position, 1, size);
    const std::size_t far = near < kMaxMatch ? MatchLength(data, position, pixel, size) : 0;
    const std::size_t length = std::max(near, far);
    if (length < kMinMatch) return std::size_t{0};
    matches.push_back({static_cast<std::uint32_t>(pending), static_cast<std::uint16_t>(length),
                       static_cast<std::uint16_t>(far > near ? 1 : 0)});
    pending = 0;
    return length;
  };
  while (at + 16 <= size) {
    const unsigned starts = MatchStarts(data, at, pixel);
    std::memcpy(literals + count, data + at, 16);  // the bytes up to a match start are kept
    const std::size_t skipped =
        starts == 0 ? kBlockPositions : static_cast<std::size_t>(std::countr_zero(starts));
    at += skipped;
    count += skipped;
    pending += skipped;
    if (starts == 0) continue;
    // Three equal bytes start here, so there is a match; were there none, the byte would stay a
    // literal (it is already copied).
    const std::size_t length = take(at);
    at += length > 0 ? length : 1;
    count += length > 0 ? 0 : 1;
    pending += length > 0 ? 0 : 1;
  }
  while (at < size) {
    const std::size_t length = at + kMinMatch <= size ? take(at) : 0;
    if (length > 0) {
      at += length;
    } else {
      literals[count++] = data[at++];
      ++pending;
    }
  }
  matches.push_back({static_cast<std::uint32_t>(pending), 0, 0});
  return count;
}

// Huffman code lengths of at most `maxBits` for the symbols with a count; at least two symbols
// must have one. Ties are broken by symbol, so the lengths depend on the counts alone. When the
// tree is too deep the counts are halved (each kept at least 1) until it fits.
void BuildLengths(const std::uint32_t* counts, int symbols, int maxBits, std::uint8_t* lengths) {
  std::array<std::uint64_t, kLitLenSymbols> leaves{};
  int used = 0;
  for (int s = 0; s < symbols; ++s) {
    if (counts[s] != 0)
      leaves[static_cast<std::size_t>(used++)] = std::uint64_t{counts[s]} << 16 | s;
  }
  std::fill(lengths, lengths + symbols, std::uint8_t{0});
  std::array<std::uint64_t, kLitLenSymbols> sorted{};
  std::array<std::uint64_t, 2 * kLitLenSymbols> weight{};
  std::array<std::uint16_t, 2 * kLitLenSymbols> parent{};
  std::array<std::uint16_t, 2 * kLitLenSymbols> depth{};
  const auto n = static_cast<std::size_t>(used);
  for (int shift = 0;; ++shift) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t count = std::max<std::uint64_t>(1, (leaves[i] >> 16) >> shift);
      sorted[i] = count << 16 | (leaves[i] & 0xFFFF);
    }
    std::sort(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t i = 0; i < n; ++i) weight[i] = sorted[i] >> 16;
    // Two queues: the sorted leaves and the inner nodes, made in order of weight.
    std::size_t leaf = 0;
    std::size_t inner = n;
    for (std::size_t node = n; node < 2 * n - 1; ++node) {
      std::size_t pick[2];
      for (std::size_t& p : pick) {
        p = leaf < n && (inner >= node || weight[leaf] <= weight[inner]) ? leaf++ : inner++;
      }
      weight[node] = weight[pick[0]] + weight[pick[1]];
      parent[pick[0]] = parent[pick[1]] = static_cast<std::uint16_t>(node);
    }
    depth[2 * n - 2] = 0;
    int deepest = 0;
    for (std::size_t node = 2 * n - 2; node-- > 0;) {
      depth[node] = static_cast<std::uint16_t>(depth[parent[node]] + 1);
      if (node < n) deepest = std::max<int>(deepest, depth[node]);
    }
    if (deepest <= maxBits) {
      for (std::size_t i = 0; i < n; ++i) {
        lengths[sorted[i] & 0xFFFF] = static_cast<std::uint8_t>(depth[i]);
      }
      return;
    }
  }
}

// The canonical codes of the lengths, their bits reversed for output from the low bit up.
void BuildCodes(const std::uint8_t* lengths, int symbols, std::uint16_t* codes) {
  std::array<int, 16> perLength{};
  for (int s = 0; s < symbols; ++s) ++perLength[lengths[s]];
  perLength[0] = 0;
  std::array<unsigned, 16> next{};
  unsigned code = 0;
  for (std::size_t bits = 1; bits < 16; ++bits) {
    code = (code + static_cast<unsigned>(perLength[bits - 1])) << 1;
    next[bits] = code;
  }
  for (int s = 0; s < symbols; ++s) {
    const unsigned length = lengths[s];
    codes[s] = 0;
    if (length == 0) continue;
    const unsigned canonical = next[length]++;
    unsigned reversed = 0;
    for (unsigned i = 0; i < length; ++i) reversed |= ((canonical >> i) & 1) << (length - 1 - i);
    codes[s] = static_cast<std::uint16_t>(reversed);
  }
}

// Gives a second symbol a count when fewer than two have one, so that every code is complete.
void AtLeastTwo(std::uint32_t* counts, int symbols) {
  int used = 0;
  for (int s = 0; s < symbols; ++s) used += counts[s] != 0 ? 1 : 0;
  for (int s = 0; used < 2; ++s) {
    if (counts[s] == 0) {
      counts[s] = 1;
      ++used;
    }
  }
}

// A code length or a repeat code with its extra bits.
struct CodeLength {
  std::uint8_t symbol;
  std::uint8_t extra;
};

// The lengths of one code as code-length symbols: 16 repeats the last length 3-6 times, 17 and 18
// give 3-10 and 11-138 zeros.
void AppendCodeLengths(const std::uint8_t* lengths, int count, std::vector<CodeLength>& out) {
  for (int i = 0; i < count;) {
    const std::uint8_t value = lengths[i];
    int run = 1;
    while (i + run < count && lengths[i + run] == value) ++run;
    i += run;
    if (value == 0) {
      for (; run >= 11; run -= std::min(run, 138)) {
        out.push_back({18, static_cast<std::uint8_t>(std::min(run, 138) - 11)});
      }
      if (run >= 3) {
        out.push_back({17, static_cast<std::uint8_t>(run - 3)});
        run = 0;
      }
    } else {
      out.push_back({value, 0});
      for (--run; run >= 3; run -= std::min(run, 6)) {
        out.push_back({16, static_cast<std::uint8_t>(std::min(run, 6) - 3)});
      }
    }
    for (; run > 0; --run) out.push_back({value, 0});
  }
}

// Bits written from the low end of a 64-bit buffer; Flush stores whole bytes. Between two flushes
// at most 56 bits may be added (7 may be left from the last). The output needs 8 bytes of room past
// the last byte written.
struct BitWriter {
  std::uint8_t* out;
  std::uint64_t bits = 0;
  unsigned count = 0;

  void Put(std::uint64_t value, unsigned length) {
    bits |= value << count;
    count += length;
  }
  void Flush() {
    std::memcpy(out, &bits, sizeof bits);  // the low byte first on a little-endian host
    out += count >> 3;
    bits >>= count & ~7u;
    count &= 7;
  }
};

void PutBigEndian32(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value >> 24);
  p[1] = static_cast<std::uint8_t>(value >> 16);
  p[2] = static_cast<std::uint8_t>(value >> 8);
  p[3] = static_cast<std::uint8_t>(value);
}

std::size_t StoredSize(std::size_t size) {
  const std::size_t blocks =
      std::max<std::size_t>(1, (size + kMaxStoredBlock - 1) / kMaxStoredBlock);
  return size + 5 * blocks;
}

std::uint8_t* WriteStored(const std::uint8_t* data, std::size_t size, std::uint8_t* out) {
  std::size_t done = 0;
  do {
    const std::size_t block = std::min(kMaxStoredBlock, size - done);
    *out++ = done + block == size ? 1 : 0;  // final flag, type 00, then the byte boundary
    out[0] = static_cast<std::uint8_t>(block);
    out[1] = static_cast<std::uint8_t>(block >> 8);
    out[2] = static_cast<std::uint8_t>(~block);
    out[3] = static_cast<std::uint8_t>(~block >> 8);
    out += 4;
    if (block > 0) std::memcpy(out, data + done, block);
    out += block;
    done += block;
  } while (done < size);
  return out;
}

}  // namespace

void AppendImageDeflate(std::span<const std::uint8_t> data, std::size_t pixelBytes,
                        std::vector<std::uint8_t>& out) {
  static_assert(std::endian::native == std::endian::little,
                "the match search and the bit writer take bytes as little-endian words");
  const std::uint8_t* bytes = data.data();
  const std::size_t size = data.size();
  const std::size_t pixel = std::clamp<std::size_t>(pixelBytes, 1, 8);

  thread_local std::vector<Match> matches;
  thread_local std::vector<std::uint8_t> literals;
  if (literals.size() < size + 16) literals.resize(size + 16);
  const std::size_t literalCount = FindMatches(bytes, size, pixel, matches, literals.data());

  // Counts: the literals (in four tables, so that a run of one byte value does not wait on its
  // own count), the lengths and the two distances.
  std::array<std::uint32_t, kLitLenSymbols> litLenCounts{};
  {
    std::array<std::array<std::uint32_t, 256>, 4> partial{};
    const std::uint8_t* l = literals.data();
    std::size_t i = 0;
    for (; i + 4 <= literalCount; i += 4) {
      ++partial[0][l[i]];
      ++partial[1][l[i + 1]];
      ++partial[2][l[i + 2]];
      ++partial[3][l[i + 3]];
    }
    for (; i < literalCount; ++i) ++partial[0][l[i]];
    for (std::size_t b = 0; b < 256; ++b) {
      litLenCounts[b] = partial[0][b] + partial[1][b] + partial[2][b] + partial[3][b];
    }
  }
  std::array<std::uint32_t, 2> distanceCounts{};  // one byte back, one pixel back
  for (const Match& match : matches) {
    if (match.length == 0) break;
    ++litLenCounts[257 + kLengthCode[match.length]];
    ++distanceCounts[match.far];
  }
  litLenCounts[kEndOfBlock] = 1;
  const int farCode = DistanceCode(pixel);
  std::array<std::uint32_t, kDistanceSymbols> distanceCodeCounts{};
  distanceCodeCounts[0] += distanceCounts[0];
  distanceCodeCounts[static_cast<std::size_t>(farCode)] += distanceCounts[1];

  // The codes. The counts given to unused symbols only shape the codes: no such symbol is written.
  std::array<std::uint8_t, kLitLenSymbols> litLenLengths{};
  std::array<std::uint16_t, kLitLenSymbols> litLenCodes{};
  std::array<std::uint8_t, kDistanceSymbols> distanceLengths{};
  std::array<std::uint16_t, kDistanceSymbols> distanceCodes{};
  {
    std::array<std::uint32_t, kLitLenSymbols> shape = litLenCounts;
    AtLeastTwo(shape.data(), kLitLenSymbols);
    BuildLengths(shape.data(), kLitLenSymbols, kMaxLitLenBits, litLenLengths.data());
    std::array<std::uint32_t, kDistanceSymbols> distanceShape = distanceCodeCounts;
    AtLeastTwo(distanceShape.data(), kDistanceSymbols);
    BuildLengths(distanceShape.data(), kDistanceSymbols, kMaxDistanceBits, distanceLengths.data());
  }
  BuildCodes(litLenLengths.data(), kLitLenSymbols, litLenCodes.data());
  BuildCodes(distanceLengths.data(), kDistanceSymbols, distanceCodes.data());
  int litLenSent = kLitLenSymbols;
  while (litLenSent > 257 && litLenLengths[static_cast<std::size_t>(litLenSent - 1)] == 0) {
    --litLenSent;
  }
  int distanceSent = kDistanceSymbols;
  while (distanceSent > 1 && distanceLengths[static_cast<std::size_t>(distanceSent - 1)] == 0) {
    --distanceSent;
  }
  thread_local std::vector<CodeLength> codeLengths;
  codeLengths.clear();
  AppendCodeLengths(litLenLengths.data(), litLenSent, codeLengths);
  AppendCodeLengths(distanceLengths.data(), distanceSent, codeLengths);
  std::array<std::uint32_t, kCodeLengthSymbols> codeLengthCounts{};
  for (const CodeLength& c : codeLengths) ++codeLengthCounts[c.symbol];
  AtLeastTwo(codeLengthCounts.data(), kCodeLengthSymbols);
  std::array<std::uint8_t, kCodeLengthSymbols> codeLengthLengths{};
  std::array<std::uint16_t, kCodeLengthSymbols> codeLengthCodes{};
  BuildLengths(codeLengthCounts.data(), kCodeLengthSymbols, kMaxCodeLengthBits,
               codeLengthLengths.data());
  BuildCodes(codeLengthLengths.data(), kCodeLengthSymbols, codeLengthCodes.data());
  int codeLengthSent = kCodeLengthSymbols;
  while (codeLengthSent > 4 &&
         codeLengthLengths[kCodeLengthOrder[static_cast<std::size_t>(codeLengthSent - 1)]] == 0) {
    --codeLengthSent;
  }

  // The block's exact size in bits, to choose it or stored blocks and to size the output once.
  std::uint64_t blockBits = 3 + 5 + 5 + 4 + 3 * static_cast<std::uint64_t>(codeLengthSent);
  for (const CodeLength& c : codeLengths) {
    blockBits += codeLengthLengths[c.symbol] + kCodeLengthExtra[c.symbol];
  }
  for (std::size_t s = 0; s < kLitLenSymbols; ++s) {
    const std::uint64_t extra = s > 256 ? kLengthExtra[s - 257] : 0;
    blockBits += std::uint64_t{litLenCounts[s]} * (litLenLengths[s] + extra);
  }
  const auto farDistance = static_cast<std::size_t>(farCode);
  blockBits += std::uint64_t{distanceCounts[0]} * distanceLengths[0] +
               std::uint64_t{distanceCounts[1]} *
                   (distanceLengths[farDistance] + kDistanceExtra[farDistance]);
  const std::size_t blockBytes = static_cast<std::size_t>((blockBits + 7) / 8);
  const bool stored = StoredSize(size) < blockBytes;
  const std::size_t streamBytes = 2 + (stored ? StoredSize(size) : blockBytes) + 4;

  const std::size_t start = out.size();
  out.resize(start + streamBytes + 8);  // 8 bytes of room for the bit writer's last store
  std::uint8_t* p = out.data() + start;
  *p++ = 0x78;  // deflate with a 32 KB window
  *p++ = 0x01;  // the fastest kind of compression; the header's check bits
  if (stored) {
    p = WriteStored(bytes, size, p);
  } else {
    BitWriter w{p};
    w.Put(1 | 2 << 1, 3);  // the final block, with Huffman codes of its own
    w.Put(static_cast<unsigned>(litLenSent - 257), 5);
    w.Put(static_cast<unsigned>(distanceSent - 1), 5);
    w.Put(static_cast<unsigned>(codeLengthSent - 4), 4);
    w.Flush();
    for (int i = 0; i < codeLengthSent; ++i) {
      w.Put(codeLengthLengths[kCodeLengthOrder[static_cast<std::size_t>(i)]], 3);
      if (i % 8 == 7) w.Flush();
    }
    w.Flush();
    for (const CodeLength& c : codeLengths) {
      w.Put(codeLengthCodes[c.symbol], codeLengthLengths[c.symbol]);
      w.Put(c.extra, kCodeLengthExtra[c.symbol]);
      w.Flush();
    }

    // Each literal's code and its length in one word; each match length's code and extra bits.
    std::array<std::uint32_t, 256> literal{};
    for (std::size_t s = 0; s < 256; ++s) {
      literal[s] = litLenCodes[s] | std::uint32_t{litLenLengths[s]} << 16;
    }
    std::array<std::uint32_t, kMaxMatch + 1> length{};
    std::array<std::uint8_t, kMaxMatch + 1> lengthBits{};
    for (std::size_t l = kMinMatch; l <= kMaxMatch; ++l) {
      const std::size_t code = kLengthCode[l];
      const std::size_t symbol = 257 + code;
      length[l] = litLenCodes[symbol] | static_cast<std::uint32_t>(l - kLengthBase[code])
                                            << litLenLengths[symbol];
      lengthBits[l] = static_cast<std::uint8_t>(litLenLengths[symbol] + kLengthExtra[code]);
    }
    const std::array<std::uint32_t, 2> distance{
        distanceCodes[0],
        distanceCodes[farDistance] | static_cast<std::uint32_t>(pixel - kDistanceBase[farDistance])
                                         << distanceLengths[farDistance]};
    const std::array<unsigned, 2> distanceBits{
        distanceLengths[0],
        static_cast<unsigned>(distanceLengths[farDistance] + kDistanceExtra[farDistance])};

    const std::uint8_t* l = literals.data();
    for (const Match& match : matches) {
      const std::uint8_t* end = l + match.literals;
      for (; l + 4 <= end; l += 4) {
        for (std::size_t k = 0; k < 4; ++k) {
          const std::uint32_t c = literal[l[k]];
          w.Put(c & 0xFFFF, c >> 16);
        }
        w.Flush();
      }
      for (; l < end; ++l) {
        const std::uint32_t c = literal[*l];
        w.Put(c & 0xFFFF, c >> 16);
      }
      w.Flush();
      if (match.length == 0) break;
      w.Put(length[match.length], lengthBits[match.length]);
      w.Put(distance[match.far], distanceBits[match.far]);
      w.Flush();
    }
    w.Put(litLenCodes[kEndOfBlock], litLenLengths[kEndOfBlock]);
    w.Flush();
    if (w.count > 0) *w.out++ = static_cast<std::uint8_t>(w.bits);
    p = w.out;
  }
  PutBigEndian32(p, libdeflate_adler32(1, bytes, size));
  p += 4;
  if (static_cast<std::size_t>(p - (out.data() + start)) != streamBytes) {
    throw Error("Cannot encode PNG: the compressed size came out wrong.");
  }
  out.resize(start + streamBytes);
}

}  // namespace likentor
