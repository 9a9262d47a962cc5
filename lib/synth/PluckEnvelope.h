#pragma once

#include <array>
#include <cstdint>

// The plucked tone's amplitude envelope: 261 entries (0 … 32767) played at
// 87 entries per second, so the whole table spans 3 s. Entries 259 and 260
// are 0, which ends the tone.
inline constexpr int kPluckEnvelopeSize = 261;

extern const std::array<std::int32_t, kPluckEnvelopeSize> kPluckEnvelope;
