#include "client_config/zone_profiles.h"

// Each file is given line by line, with its line breaks, leading blanks and tabs exactly as
// the client expects them. The hosts stand literally in the text (see zone_profiles.h).

namespace zonvex {

namespace {

constexpr std::string_view kTestZone1DirServer =
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"198.18.1.21\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "\r\n"
    "</Server>\r\n";

constexpr std::string_view kTestZone2DirServer =
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"2\" SuccessfulServerID=\"1\" SuccessfulPort=\"443\">\r\n"
    "        <Server1 Catalog=\"\" host=\"198.18.2.22\" />\r\n"
    "        <Server2 Catalog=\"\" host=\"198.18.2.23\" />\r\n"
    "        <portlist count=\"1\" port1=\"443\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "    <!-- Role  server ip ,port   -->\r\n"
    "    <RoleServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"\">\r\n"
    "        <Server1 Catalog=\"\" host=\"\" />\r\n"
    "        <portlist count=\"1\" port1=\"\">0</portlist>\r\n"
    "    </RoleServer>\r\n"
    "</Server>\r\n";

constexpr std::string_view kTestZone3DirServer =
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"198.18.3.24\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "</Server>\r\n"
    "\r\n";

constexpr std::string_view kLiveDirServer =
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"5\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"login.cf-live.example\" />\r\n"
    "\t\t<Server2 Catalog=\"\" host=\"203.0.113.11\" />\r\n"
    "\t\t<Server3 Catalog=\"\" host=\"203.0.113.12\" />\r\n"
    "\t\t<Server4 Catalog=\"\" host=\"203.0.113.13\" />\r\n"
    "\t\t<Server5 Catalog=\"\" host=\"203.0.113.14\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "\r\n"
    "</Server>\r\n";

constexpr std::string_view kTestZone1VersionServer =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"1\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "       \t<server1 host=\"198.18.1.21\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n"
    " ";

constexpr std::string_view kTestZone2VersionServer =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"2\" SuccessfulServerID=\"1\" SuccessfulPort=\"8000\">\r\n"
    "        <server1 host=\"198.18.2.22\" />\r\n"
    "        <server1 host=\"198.18.2.23\" />\r\n"
    "        <portlist count=\"1\" port1=\"8000\" />\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n"
    " \r\n";

constexpr std::string_view kTestZone3VersionServer =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"1\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "       \t<server1 host=\"198.18.3.24\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n"
    " \r\n";

constexpr std::string_view kLiveVersionServer =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"5\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "       \t<server1 host=\"login.cf-live.example\" />\r\n"
    "\t\t<server2 host=\"203.0.113.11\" />\r\n"
    "\t\t<server3 host=\"203.0.113.12\" />\r\n"
    "\t\t<server4 host=\"203.0.113.13\" />\r\n"
    "\t\t<server5 host=\"203.0.113.14\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n"
    " ";

constexpr ServerListFiles kFiles[] = {
    {kTestZone1DirServer, kTestZone1VersionServer},
    {kTestZone2DirServer, kTestZone2VersionServer},
    {kTestZone3DirServer, kTestZone3VersionServer},
    {kLiveDirServer, kLiveVersionServer},
};

}  // namespace

const ServerListFiles& FilesOf(ZoneProfile profile) { return kFiles[static_cast<int>(profile)]; }

const std::string_view kVersionDataTemplate =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
    "<VersionUpdateData>\r\n"
    "  <VersionConf>16:16:16:16</VersionConf>\r\n"
    "  <ClientConf>\r\n"
    "      <VersionData>\r\n"
    "           <Version>0.0.0.0</Version>\r\n"
    "           <Uin>0</Uin>\r\n"
    "           <WorldID>0.0.0.0</WorldID>\r\n"
    "       </VersionData>\r\n"
    "\t   <VersionDemoStr>→Vorlan出品←</VersionDemoStr>\r\n"
    "\t   <resv1>0.3.4.1</resv1>\r\n"
    "  </ClientConf>\r\n"
    "</VersionUpdateData>\r\n";

}  // namespace zonvex
