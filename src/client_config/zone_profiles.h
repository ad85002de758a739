#pragma once
// The four server targets and the exact bytes of every client file written for them.
#include <array>
#include <string_view>

namespace zonvex {

enum class ZoneProfile { TestZone1, TestZone2, TestZone3, LiveServers };

// In the order of the recommendation rows, the buttons and detection.
inline constexpr std::array kZoneProfiles = {ZoneProfile::TestZone1, ZoneProfile::TestZone2,
                                             ZoneProfile::TestZone3, ZoneProfile::LiveServers};

// A profile's two server lists: written whole, byte for byte.
struct ServerListFiles {
    std::string_view dirServer;      // RUDE\config\dirserver.xml
    std::string_view versionServer;  // RUDE\config\VersionServerConfig.xml
};
const ServerListFiles& FilesOf(ZoneProfile profile);

// RUDE\mmog_data.xml as written before the version is stamped into it; shared by all four.
extern const std::string_view kVersionDataTemplate;

// Where the version is stamped: Version inside VersionData inside ClientConf, and resv1.
inline constexpr std::string_view kVersionElementPath = "@1/@2/@1/@1";
inline constexpr std::string_view kResv1ElementPath = "@1/@2/@3";

// The first directory server of each profile. The test zones lie in a range reserved for
// testing and share their first two octets; the live directory host is under a reserved
// name. Detection recognises a profile by these values.
inline constexpr std::string_view kTestZone1Host = "198.18.1.21";
inline constexpr std::string_view kTestZone2Host1 = "198.18.2.22";
inline constexpr std::string_view kTestZone3Host = "198.18.3.24";
inline constexpr std::string_view kLiveHost1 = "login.cf-live.example";

}  // namespace zonvex
