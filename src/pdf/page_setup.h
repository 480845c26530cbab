// Setting up one page for conversion: MediaBox, rotation, fonts, decoded content streams.
#pragma once

namespace velmora {

bool SetUpPage(int page);

}  // namespace velmora
