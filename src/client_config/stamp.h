#pragma once
// The bytes of the version-data file once a version has been stamped into the template.
#include <string>

#include "program/version_data_document.h"
#include "client_config/zone_profiles.h"

namespace zonvex {

// Writes the version into Version and resv1 of the document, as a switch does.
inline void StampVersion(VersionDataDocument& doc, const Text& version) {
    doc.setText(kVersionElementPath, version);
    doc.setText(kResv1ElementPath, version);
}

// The template with the version stamped in, in the saved layout.
inline std::string StampedVersionData(const Text& version) {
    VersionDataDocument doc;
    doc.load(kVersionDataTemplate);
    StampVersion(doc, version);
    return doc.save().value_or(std::string());
}

}  // namespace zonvex
