// The version-data document: any file loaded, stamped, saved, and the saved bytes loaded
// again must save the same.
#include <cstdlib>

#include "program/version_data_document.h"

namespace {
constexpr std::string_view kVersion = "@1/@2/@1/@1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zonvex::VersionDataDocument doc;
    doc.load(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)doc.getText(kVersion);
    doc.setText(kVersion, "1.0.0");
    auto saved = doc.save();
    if (!saved) return 0;
    zonvex::VersionDataDocument again;
    again.load(*saved);
    if (again.save() != saved) abort();
    return 0;
}
