// The reader stages the driver runs, as replaceable calls: the driver's flows (fallback prompt,
// error boxes, result messages) are tested with scripted stages, independent of the reader.
#pragma once

namespace velmora {

struct DriverStages {
    void (*load_pdf_file)(const char* path);
    bool (*set_up_page)(int page);
    void (*content_scanner)(int page);
};

extern DriverStages g_driver_stages;

// The real reader stages.
DriverStages DefaultDriverStages();

}  // namespace velmora
