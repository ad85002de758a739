#pragma once
// Where things lie in a client installation. A path is the installation folder followed by
// one of these suffixes: plain concatenation, no separator added, no normalisation (the
// platform's file names are case-insensitive).
#include <string_view>

namespace zonvex {

inline constexpr std::string_view kMainExecutableSuffix = "\\crossfire.exe";
inline constexpr std::string_view kDirServerSuffix = "\\RUDE\\config\\dirserver.xml";
inline constexpr std::string_view kVersionServerSuffix = "\\RUDE\\config\\VersionServerConfig.xml";
inline constexpr std::string_view kVersionDataSuffix = "\\RUDE\\mmog_data.xml";
inline constexpr std::string_view kLauncherSuffix = "\\QQLogin.exe";
// The running launcher's image, as the registry records it and as its process shows it.
inline constexpr std::string_view kRunningLauncherSuffix = "\\rude\\Client.exe";
inline constexpr std::string_view kRunningLauncherName = "Client.exe";

}  // namespace zonvex
