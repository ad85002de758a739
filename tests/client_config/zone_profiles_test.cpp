// The client files, compared with the expected bytes written out line by line: leading
// whitespace, text, and what ends the line.
#include "client_config/zone_profiles.h"

#include <gtest/gtest.h>

#include "client_config/stamp.h"

namespace zonvex {
namespace {

struct Line {
    std::string lead, text, end = "\r\n";
};

std::string Join(const std::vector<Line>& lines) {
    std::string out;
    for (const auto& l : lines) out += l.lead + l.text + l.end;
    return out;
}

const std::string S4(4, ' '), S8(8, ' '), T2 = "\t\t", S7T = "       \t";
const Line kComment{"", "<!-- dir server ip ,port   -->"};
const Line kDirPorts{S8, "<portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>"};
const Line kVersionPorts{S8, "<portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>"};
const Line kDeclaration{"", "<?xml version=\"1.0\" encoding=\"gb2312\" ?>"};
const std::string kVersionServer1 =
    "<versionserver version=\"1\" count=\"1\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">";

TEST(ZoneProfilesTest, DirServerFiles) {
    EXPECT_EQ(FilesOf(ZoneProfile::TestZone1).dirServer,
              Join({kComment, {"", "<Server>"},
                    {S4, "<DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">"},
                    {S8, "<Server1 Catalog=\"\" host=\"198.18.1.21\" />"}, kDirPorts, {S4, "</DirServer>"}, {"", ""},
                    {"", "</Server>"}}));
    EXPECT_EQ(FilesOf(ZoneProfile::TestZone2).dirServer,
              Join({kComment, {"", "<Server>"},
                    {S4, "<DirServer count=\"2\" SuccessfulServerID=\"1\" SuccessfulPort=\"443\">"},
                    {S8, "<Server1 Catalog=\"\" host=\"198.18.2.22\" />"},
                    {S8, "<Server2 Catalog=\"\" host=\"198.18.2.23\" />"},
                    {S8, "<portlist count=\"1\" port1=\"443\">0</portlist>"}, {S4, "</DirServer>"},
                    {S4, "<!-- Role  server ip ,port   -->"},
                    {S4, "<RoleServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"\">"},
                    {S8, "<Server1 Catalog=\"\" host=\"\" />"}, {S8, "<portlist count=\"1\" port1=\"\">0</portlist>"},
                    {S4, "</RoleServer>"}, {"", "</Server>"}}));
    EXPECT_EQ(FilesOf(ZoneProfile::TestZone3).dirServer,
              Join({kComment, {"", "<Server>"},
                    {S4, "<DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">"},
                    {S8, "<Server1 Catalog=\"\" host=\"198.18.3.24\" />"}, kDirPorts, {S4, "</DirServer>"},
                    {"", "</Server>"}, {"", ""}}));
    EXPECT_EQ(FilesOf(ZoneProfile::LiveServers).dirServer,
              Join({kComment, {"", "<Server>"},
                    {S4, "<DirServer count=\"5\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">"},
                    {S8, "<Server1 Catalog=\"\" host=\"login.cf-live.example\" />"},
                    {T2, "<Server2 Catalog=\"\" host=\"203.0.113.11\" />"},
                    {T2, "<Server3 Catalog=\"\" host=\"203.0.113.12\" />"},
                    {T2, "<Server4 Catalog=\"\" host=\"203.0.113.13\" />"},
                    {T2, "<Server5 Catalog=\"\" host=\"203.0.113.14\" />"}, kDirPorts, {S4, "</DirServer>"},
                    {"", ""}, {"", "</Server>"}}));
}

TEST(ZoneProfilesTest, VersionServerFiles) {
    EXPECT_EQ(FilesOf(ZoneProfile::TestZone1).versionServer,
              Join({kDeclaration, {"", "<Server>"}, {S4, kVersionServer1}, {S7T, "<server1 host=\"198.18.1.21\" />"},
                    kVersionPorts, {S4, "</versionserver>"}, {"", "</Server>"}, {" ", "", ""}}));
    EXPECT_EQ(FilesOf(ZoneProfile::TestZone2).versionServer,
              Join({kDeclaration, {"", "<Server>"},
                    {S4, "<versionserver version=\"1\" count=\"2\" SuccessfulServerID=\"1\" SuccessfulPort=\"8000\">"},
                    {S8, "<server1 host=\"198.18.2.22\" />"}, {S8, "<server1 host=\"198.18.2.23\" />"},
                    {S8, "<portlist count=\"1\" port1=\"8000\" />"}, {S4, "</versionserver>"}, {"", "</Server>"},
                    {" ", ""}}));
    EXPECT_EQ(FilesOf(ZoneProfile::TestZone3).versionServer,
              Join({kDeclaration, {"", "<Server>"}, {S4, kVersionServer1}, {S7T, "<server1 host=\"198.18.3.24\" />"},
                    kVersionPorts, {S4, "</versionserver>"}, {"", "</Server>"}, {" ", ""}}));
    std::string live = kVersionServer1;
    live.replace(live.find("count=\"1\""), 9, "count=\"5\"");
    EXPECT_EQ(FilesOf(ZoneProfile::LiveServers).versionServer,
              Join({kDeclaration, {"", "<Server>"}, {S4, live}, {S7T, "<server1 host=\"login.cf-live.example\" />"},
                    {T2, "<server2 host=\"203.0.113.11\" />"}, {T2, "<server3 host=\"203.0.113.12\" />"},
                    {T2, "<server4 host=\"203.0.113.13\" />"}, {T2, "<server5 host=\"203.0.113.14\" />"},
                    kVersionPorts, {S4, "</versionserver>"}, {"", "</Server>"}, {" ", "", ""}}));
}

TEST(ZoneProfilesTest, FirstDirectoryServerIsOnLineFourAndTheFirstHost) {
    const std::string_view hosts[] = {kTestZone1Host, kTestZone2Host1, kTestZone3Host, kLiveHost1};
    for (ZoneProfile profile : kZoneProfiles) {
        std::string_view file = FilesOf(profile).dirServer;
        size_t line4 = 0;
        for (int i = 0; i < 3; ++i) line4 = file.find("\r\n", line4) + 2;
        std::string host = "host=\"" + std::string(hosts[static_cast<int>(profile)]) + "\"";
        EXPECT_EQ(file.find("host=\""), file.find(host, line4));
        EXPECT_NE(FilesOf(profile).versionServer.find(host), std::string_view::npos) << "same first host";
    }
}

TEST(ZoneProfilesTest, VersionDataTemplate) {
    const std::string S2(2, ' '), S6(6, ' '), S11(11, ' '), S7(7, ' '), T3 = "\t   ";
    EXPECT_EQ(kVersionDataTemplate,
              Join({{"", "<?xml version=\"1.0\" encoding=\"gb2312\"?>"}, {"", "<VersionUpdateData>"},
                    {S2, "<VersionConf>16:16:16:16</VersionConf>"}, {S2, "<ClientConf>"}, {S6, "<VersionData>"},
                    {S11, "<Version>0.0.0.0</Version>"}, {S11, "<Uin>0</Uin>"}, {S11, "<WorldID>0.0.0.0</WorldID>"},
                    {S7, "</VersionData>"}, {T3, "<VersionDemoStr>\xA1\xFAVorlan\xB3\xF6\xC6\xB7\xA1\xFB</VersionDemoStr>"},
                    {T3, "<resv1>0.3.4.1</resv1>"}, {S2, "</ClientConf>"}, {"", "</VersionUpdateData>"}}));
}

// The stamp a switch gives the template: the exact saved layout, whatever the version.
std::string Stamped(const std::string& escapedVersion) {
    auto element = [&](const std::string& name) {
        return escapedVersion.empty() ? "<" + name + "/>" : "<" + name + ">" + escapedVersion + "</" + name + ">";
    };
    std::string out = Join({{"", "<?xml version=\"1.0\" encoding=\"gb2312\"?>"}, {"", "<VersionUpdateData>"},
                            {"\t", "<VersionConf>16:16:16:16</VersionConf>"}, {"\t", "<ClientConf>"},
                            {"\t\t", "<VersionData>"}, {"\t\t\t", element("Version")}, {"\t\t\t", "<Uin>0</Uin>"},
                            {"\t\t\t", "<WorldID>0.0.0.0</WorldID>"}, {"\t\t", "</VersionData>"},
                            {"\t\t", "<VersionDemoStr>→Vorlan出品←</VersionDemoStr>"}, {"\t\t", element("resv1")},
                            {"\t", "</ClientConf>"}, {"", "</VersionUpdateData>", ""}});
    return out;
}

TEST(ZoneProfilesTest, StampingTheTemplate) {
    const struct {
        Text version;
        std::string escaped;
        Text readBack;  // loading trims an element's text at both ends
    } cases[] = {{"1.0.2.30", "1.0.2.30", "1.0.2.30"},
                 {"", "", ""},
                 {"a&b<c>'\"", "a&amp;b&lt;c&gt;&apos;&quot;", "a&b<c>'\""},
                 {" 1.0 .2\t", " 1.0 .2\t", "1.0 .2"}};  // stamped as given, blanks and all
    for (const auto& [version, escaped, readBack] : cases) {
        VersionDataDocument doc;
        ASSERT_TRUE(doc.load(kVersionDataTemplate));
        StampVersion(doc, version);
        EXPECT_EQ(doc.save(), Stamped(escaped)) << version;
        EXPECT_EQ(StampedVersionData(version), Stamped(escaped));
        // Stamping the stamped file again leaves only the second version.
        ASSERT_TRUE(doc.load(*doc.save()));
        EXPECT_EQ(doc.getText(kVersionElementPath), readBack);
        StampVersion(doc, "9");
        EXPECT_EQ(doc.save(), Stamped("9"));
    }
}

}  // namespace
}  // namespace zonvex
