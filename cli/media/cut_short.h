// Signs that a file ends before its data does, beyond what the decoders
// report: they conceal a JPEG whose data stops and a Matroska file that
// stops within a cluster.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sorvel::cli {

// Whether the JPEG data lacks the end marker after its last scan (a
// progressive picture has several scans; a thumbnail comes before them).
// In the coded data a 0xFF byte is followed only by 0x00 or a restart
// marker, so FF D9 after the last FF DA is the end marker.
bool jpegLacksEnd(const std::uint8_t* data, std::size_t size);

// Whether the packets stop well before the duration the file's header
// declares: ends is where the last packet of any stream ends, duration
// what the header says, both in microseconds (AV_TIME_BASE). A second is
// allowed for headers rounded up and sound that ends early.
bool endsBeforeDuration(std::int64_t ends, std::int64_t duration);

}  // namespace sorvel::cli
