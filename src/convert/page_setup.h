// Setting up one page for conversion: MediaBox, rotation, fonts, decoded content streams.
#pragma once

namespace velmora {

// True when the set-up ran to its end (content streams decoded into DecodedStream entries);
// false when it stopped, after recording 64 where the page object lacks a required entry.
bool SetUpPage(int page);

}  // namespace velmora
