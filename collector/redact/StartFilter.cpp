#include "redact/StartFilter.h"

#include <emmintrin.h>

#include <algorithm>
#include <initializer_list>

#include "redact/Match.h"

namespace redact {

namespace {

constexpr char kCaseBit = 0x20;
constexpr size_t kChunk = 16;
constexpr size_t kBlockChunks = StartFilter::kBlock / kChunk;
// More different characters than this in one place of the prefixes are taken as any: each
// costs a comparison of every chunk.
constexpr size_t kMostCharacters = 4;

__m128i Folded(__m128i v) { return _mm_or_si128(v, _mm_set1_epi8(kCaseBit)); }
std::uint64_t Mask(__m128i matches) { return static_cast<std::uint16_t>(_mm_movemask_epi8(matches)); }
__m128i Is(__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }
__m128i IsOneOf(__m128i v, const std::vector<char>& characters) {
    __m128i any = _mm_setzero_si128();
    for (char c : characters) any = _mm_or_si128(any, Is(v, c));
    return any;
}
// Shifted so that `low` is the smallest signed value, the range is the values below a bound.
// Characters from 0x80 on are in no range of characters below it.
template <char kLow, char kHigh>
__m128i InRange(__m128i v) {
    const __m128i shifted = _mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(-128 - kLow)));
    return _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(-128 + (kHigh - kLow) + 1)));
}

// Bit k for character k of the block and then of its look ahead: `bits >> n` has at k what
// character k + n has.
using Bits = std::uint64_t;
static_assert(StartFilter::kBlock + StartFilter::kLookAhead == 64);

// The characters of a class in the block and its look ahead; `inClass(chunk)` tells them in
// one chunk, loaded or folded.
struct Chunks {
    static constexpr size_t kCount = 64 / kChunk;
    __m128i raw[kCount];
    __m128i folded[kCount];

    explicit Chunks(const char* text) {
        for (size_t chunk = 0; chunk < kCount; ++chunk) {
            raw[chunk] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + chunk * kChunk));
            folded[chunk] = Folded(raw[chunk]);
        }
    }
    template <typename Class>
    Bits Gather(Class inClass) const {
        Bits bits = 0;
        for (size_t chunk = 0; chunk < kCount; ++chunk) bits |= Mask(inClass(raw[chunk], folded[chunk])) << (chunk * kChunk);
        return bits;
    }
};

// Bit k set where one of (kAll: each of) the kWidth characters from k on has the class.
template <bool kAll, int kWidth>
Bits Within(Bits bits) {
    int covered = 1;
    for (; covered * 2 <= kWidth; covered *= 2) bits = kAll ? bits & (bits >> covered) : bits | (bits >> covered);
    if (covered < kWidth) bits = kAll ? bits & (bits >> (kWidth - covered)) : bits | (bits >> (kWidth - covered));
    return bits;
}
template <int kWidth>
Bits AnyWithin(Bits bits) { return Within<false, kWidth>(bits); }
template <int kWidth>
Bits AllWithin(Bits bits) { return Within<true, kWidth>(bits); }

// A place of the prefixes takes one more character; past the most it takes any.
void Allow(std::vector<char>& characters, bool& any, const std::string& word, size_t place) {
    if (word.size() <= place) any = true;
    if (any) return characters.clear();
    const char c = static_cast<char>(word[place] | kCaseBit);
    if (std::find(characters.begin(), characters.end(), c) == characters.end()) characters.push_back(c);
    if (characters.size() > kMostCharacters) Allow(characters, any, std::string(), place);
}

}  // namespace

StartFilter::StartFilter(const NameTable& names, bool lineStarts) : lineStarts_(lineStarts) {
    Add(names.MachineFolder());
    for (int c = 0; c < 256; ++c)
        for (const NameEntry& name : names.StartingWith(static_cast<unsigned char>(c))) Add(name.lower);
}

void StartFilter::Add(const std::string& word) {
    if (word.empty()) return;
    const char first = static_cast<char>(word[0] | kCaseBit);
    auto prefix = std::find_if(prefixes_.begin(), prefixes_.end(), [first](const Prefix& p) { return p.first == first; });
    if (prefix == prefixes_.end()) prefix = prefixes_.insert(prefixes_.end(), Prefix{first, false, false, {}, {}});
    Allow(prefix->seconds, prefix->anySecond, word, 1);
    Allow(prefix->thirds, prefix->anyThird, word, 2);
}

std::uint64_t StartFilter::Marks(const char* text, char previous) const {
    const Chunks chunks(text);
    const Bits digit = chunks.Gather([](__m128i v, __m128i) { return InRange<'0', '9'>(v); });
    const Bits letter = chunks.Gather([](__m128i, __m128i folded) { return InRange<'a', 'z'>(folded); });
    const Bits colon = chunks.Gather([](__m128i v, __m128i) { return Is(v, ':'); });
    const Bits dash = chunks.Gather([](__m128i v, __m128i) { return Is(v, '-'); });
    const Bits dot = chunks.Gather([](__m128i v, __m128i) { return Is(v, '.'); });
    const Bits alnum = digit | letter;
    auto behind = [](Bits bits, bool first) { return (bits << 1) | (first ? 1 : 0); };

    // Addresses and SIDs begin a token: not after a letter or digit, nor (but an IPv4 address
    // or a SID) after a dot, ':' or '-'; an IPv6 or MAC address may follow a label's ':'.
    // Letters and digits here stand for hexadecimal digits.
    const Bits afterDot = behind(dot, previous == '.');
    const Bits afterDash = behind(dash, previous == '-');
    const Bits afterColonOrDash = behind(colon | dash, previous == ':' || previous == '-');
    const Bits afterLabelColon = behind(colon & behind(alnum, true), previous == ':');
    // IPv4: up to three digits and a dot, twice (a first dot third counts for the second too).
    const Bits ipv4 = digit & AnyWithin<3>(dot >> 1) & AnyWithin<4>(dot >> 3);
    // MAC and Fibre Channel names: two digits and a separator, five times; four digits and a
    // dot; twelve digits.
    auto separatesMac = [](Bits separator) {
        return (separator >> 2) & (separator >> 5) & (separator >> 8) & (separator >> 11) & (separator >> 14);
    };
    const Bits mac = alnum & (alnum >> 1) & (separatesMac(colon) | separatesMac(dash));
    const Bits unseparatedMac = (AllWithin<4>(alnum) & (dot >> 4) & (dot >> 9)) | AllWithin<12>(alnum);
    // IPv6: up to four digits, then a colon; either "::" follows soon or the address is long:
    // fifteen characters of digits and colons.
    const Bits ipv6 =
        (alnum | colon) & AnyWithin<5>(colon) & (AllWithin<15>(alnum | colon) | AnyWithin<14>(colon & (colon >> 1)));
    // SID: "S-".
    const Bits sid = letter & (dash >> 1);
    Bits marks = ((ipv4 & ~afterDot) | (mac & ~afterDot & ~afterColonOrDash) |
                  (ipv6 & ~afterDot & (~afterColonOrDash | afterLabelColon)) | (unseparatedMac & ~afterDot & ~afterDash) |
                  sid) &
                 ~behind(alnum, IsAlnum(previous));
    // Secrets: the first three letters of a key, "pas" and "pwd", or "sec", "tok", "api", "aut"
    // and "net", each place a class of its own; and a URL's "://". Classes cost less than a
    // prefix for each first letter; what else they let through is told apart by the rewrite.
    auto oneOf = [](__m128i folded, std::initializer_list<char> characters) {
        __m128i any = _mm_setzero_si128();
        for (char c : characters) any = _mm_or_si128(any, Is(folded, c));
        return any;
    };
    const Bits p = chunks.Gather([](__m128i, __m128i folded) { return Is(folded, 'p'); });
    const Bits aw = chunks.Gather([&](__m128i, __m128i folded) { return oneOf(folded, {'a', 'w'}); });
    const Bits sd = chunks.Gather([&](__m128i, __m128i folded) { return oneOf(folded, {'s', 'd'}); });
    const Bits stan = chunks.Gather([&](__m128i, __m128i folded) { return oneOf(folded, {'s', 't', 'a', 'n'}); });
    const Bits eoupSlash = chunks.Gather([&](__m128i, __m128i folded) { return oneOf(folded, {'e', 'o', 'u', 'p', '/'}); });
    const Bits ckit = chunks.Gather([&](__m128i, __m128i folded) { return oneOf(folded, {'c', 'k', 'i', 't'}); });
    marks |= (p & (aw >> 1) & (sd >> 2)) | (stan & (eoupSlash >> 1) & (ckit >> 2));
    marks |= colon & (eoupSlash >> 1) & (eoupSlash >> 2);
    if (lineStarts_) marks |= behind(chunks.Gather([](__m128i v, __m128i) { return Is(v, '\n'); }), previous == '\n');

    for (const Prefix& prefix : prefixes_) {
        Bits starts = chunks.Gather([&prefix](__m128i, __m128i folded) { return Is(folded, prefix.first); });
        if (starts != 0 && !prefix.anySecond)
            starts &= chunks.Gather([&prefix](__m128i, __m128i folded) { return IsOneOf(folded, prefix.seconds); }) >> 1;
        if (starts != 0 && !prefix.anyThird)
            starts &= chunks.Gather([&prefix](__m128i, __m128i folded) { return IsOneOf(folded, prefix.thirds); }) >> 2;
        marks |= starts;
    }
    return marks & ((Bits{1} << StartFilter::kBlock) - 1);
}

}  // namespace redact
