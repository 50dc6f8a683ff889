#pragma once
// The run-length and mode code tables of ITU-T T.4 / T.6, as (run, code, length) rows, and the
// lookup tables built from them for decoding.

#include <cstdint>

struct TCcittCode {
    uint16_t Run;
    uint16_t Code;
    uint8_t Length;
};

// Terminating codes for runs 0..63 and make-up codes for 64..1728, per colour; the extended
// make-up codes 1792..2560 are shared by both colours.
extern const TCcittCode CcittWhiteCodes[91];
extern const TCcittCode CcittBlackCodes[91];
extern const TCcittCode CcittExtendedCodes[13];

// Codes of the two-dimensional modes.
enum TCcittMode : uint8_t { cmInvalid, cmPass, cmHorizontal, cmV0, cmVR1, cmVR2, cmVR3, cmVL1, cmVL2, cmVL3 };
struct TCcittModeCode {
    TCcittMode Mode;
    uint8_t Code;
    uint8_t Length;
};
extern const TCcittModeCode CcittModeCodes[9];

inline constexpr uint32_t CcittEol = 1;  // 000000000001
inline constexpr int CcittEolLength = 12;

// Run lookup: indexed by the next 13 bits; Length 0 marks no valid code.
inline constexpr int CcittRunLookupBits = 13;
struct TCcittRunEntry {
    int16_t Run;
    uint8_t Length;
};
// Mode lookup: indexed by the next 7 bits.
inline constexpr int CcittModeLookupBits = 7;
struct TCcittModeEntry {
    TCcittMode Mode;
    uint8_t Length;
};

struct TCcittLookup {
    TCcittRunEntry White[1 << CcittRunLookupBits];
    TCcittRunEntry Black[1 << CcittRunLookupBits];
    TCcittModeEntry Modes[1 << CcittModeLookupBits];
};
// Built once, on first use.
const TCcittLookup& CcittDecodeLookup();
