// Setting up one page for conversion: MediaBox, rotation, fonts, decoded content streams.
#pragma once

namespace velmora {

// True when the set-up ran to its end (content streams decoded into DecodedStream entries);
// false when it stopped, after recording 64 where the page object lacks a required entry.
bool SetUpPage(int page);

// True when the last set-up of `page` named content streams and none of them could be decoded
// (a damaged or protected stream): such a page is unreadable, not empty.
bool PageContentUnreadable(int page);

}  // namespace velmora
