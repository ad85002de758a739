#include "ctl/zonvexctl.h"

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>

#include <nlohmann/json.hpp>

#include "bulletins/bulletins.h"
#include "client_config/detection.h"
#include "client_config/switch_zone.h"
#include "client_location/install_paths.h"

namespace zonvex {

namespace {

using Json = nlohmann::ordered_json;

// The zones as the command line and the JSON name them, in profile order.
struct ZoneName {
    std::string_view key;
    std::string_view name;
};
constexpr ZoneName kZoneNames[] = {
    {"test1", "体验服一区"}, {"test2", "体验服二区"}, {"test3", "体验服三区"}, {"live", "正服"}};
constexpr std::string_view kUnknownZone = "unknown";

// The kinds of download link of each zone, in the order of kDownloadLinks.
constexpr std::string_view kLinkKinds[] = {"client", "qq_member", "blue_diamond"};
constexpr std::string_view kPatchLabel = "手动补丁：";
constexpr std::string_view kValueStart = "（";
constexpr std::string_view kNoLink = "无";

constexpr std::string_view kHelp = R"(用法：zonvexctl [--json] 命令 [参数]

不开窗口完成 Zonvex 的转换工作，供脚本和游戏管理器（如 Lutris 的启动前脚本）使用。

命令：
  status [目录]       显示客户端的目录、所在的区和版本号
  switch 区 [--version 版本号] [--launch] [目录]
                      把客户端转换到该区：test1、test2、test3 或 live
                      （也可写 体验服一区、体验服二区、体验服三区、正服）。
                      不给版本号时使用版本推荐页面上该区的推荐版本；
                      --launch 在转换后启动登录器 QQLogin.exe
  versions            显示版本推荐页面上四个区的推荐版本
  links               显示公告页面上的手动补丁和九个下载地址
  find                列出能找到的客户端：注册表记录的和正在运行的

目录可以是 Windows 路径（如 C:\游戏\穿越火线）或 Linux 路径；
不给目录时使用 find 找到的第一个客户端（设置了 WINEPREFIX 时先找那里）。

选项：
  --json      在标准输出上输出一个 JSON 对象
  --help      显示本帮助
  --version   显示程序版本

退出码：0 完成；1 文件无法写入（客户端没有任何改动）；2 用法错误；
3 那里没有客户端；4 无法读取页面，或页面上没有该区的推荐版本；
5 该区现在不能转换（停服或不可还原）。
每次转换都在 $XDG_STATE_HOME/zonvex/zonvexctl.log 追加一行记录。
)";

constexpr std::string_view kSeeHelp = "请用 zonvexctl --help 查看用法。";
constexpr std::string_view kNoInstallationAt = "这里没有CF客户端（找不到 crossfire.exe）：";
constexpr std::string_view kNothingFound = "没有找到CF客户端，请给出客户端的安装目录。";
constexpr std::string_view kVersionsUnreadable = "无法读取版本推荐页面。";
constexpr std::string_view kNoRecommendations = "版本推荐页面上没有任何推荐版本。";
constexpr std::string_view kBulletinUnreadable = "无法读取公告页面。";
constexpr std::string_view kNoLinks = "公告页面上没有任何下载地址。";
constexpr std::string_view kFilesUnwritable = "客户端的文件无法写入，没有做任何改动。";
constexpr std::string_view kRecommendedUsed = "没有给出版本号，使用推荐版本号：";
constexpr std::string_view kLaunching = "正在启动登录器：";
constexpr std::string_view kLogUnwritable = "无法写入日志文件：";

// A command that cannot be carried out: its exit code, the word the JSON and the log name
// it by, and the message.
struct Failure {
    int code;
    std::string_view word;
    Text message;
};

Failure Usage(const Text& what) { return {kWrongUsage, "usage", "用法错误：" + what}; }

std::string Utf8(const Text& text) { return GbkToUtf8(text); }

std::string ZoneKey(std::optional<ZoneProfile> zone) {
    return std::string(zone ? kZoneNames[static_cast<int>(*zone)].key : kUnknownZone);
}
const ZoneName& NameOf(ZoneProfile zone) { return kZoneNames[static_cast<int>(zone)]; }

std::optional<ZoneProfile> ParseZone(const std::string& arg) {
    for (ZoneProfile zone : kZoneProfiles)
        if (EqualsIgnoringAsciiCase(arg, NameOf(zone).key) || Utf8ToGbk(arg) == NameOf(zone).name) return zone;
    return std::nullopt;
}

// An empty text is a missing value.
Json ValueOrNull(const Text& text) { return text.empty() ? Json(nullptr) : Json(Utf8(text)); }

// A log field stays on its line and in its column whatever a page or a path holds.
std::string LogField(const Text& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string field;
    for (char c : Utf8(text)) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) field += c;
        else field += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }
    return field.empty() ? "-" : field;
}

std::string Now() {
    time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    char stamp[40];
    return std::string(stamp, strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S%z", &local));
}

// What the log says of a switch; empty where it is not known (yet).
struct SwitchRecord {
    Text folder, before, after, version;  // before and after: the zones as the JSON names them
};

// The command line, taken apart.
struct Invocation {
    std::string command;
    std::vector<std::string> operands;
    std::optional<std::string> clientVersion;  // switch --version V
    bool json = false, launch = false, help = false, programVersion = false;
    std::optional<Failure> wrong;  // the first thing wrong with it
};

Invocation Parse(std::span<const std::string> args) {
    Invocation in;
    auto wrong = [&in](const Text& what) {
        if (!in.wrong) in.wrong = Usage(what);
    };
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            (in.command.empty() ? in.command : in.operands.emplace_back()) = a;
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--json") {
            in.json = true;
        } else if (a == "--help" || a == "-h") {
            in.help = true;
        } else if (a == "--launch") {
            in.launch = true;
        } else if (in.command == "switch" && a.starts_with("--version=")) {
            in.clientVersion = a.substr(a.find('=') + 1);
        } else if (in.command == "switch" && a == "--version") {
            if (i + 1 < args.size()) in.clientVersion = args[++i];
            else wrong("--version 后面缺少版本号");
        } else if (a == "--version") {
            in.programVersion = true;
        } else {
            wrong("未知的选项 " + Utf8ToGbk(a));
        }
    }
    // Asked for help or for the version, the rest of the line does not matter.
    if (in.help || in.programVersion) return in;
    const size_t maxOperands = in.command == "switch" ? 2 : in.command == "status" ? 1 : 0;
    if (in.command.empty()) wrong("缺少命令");
    else if (in.command != "status" && in.command != "switch" && in.command != "versions" && in.command != "links" &&
             in.command != "find")
        wrong("未知的命令 " + Utf8ToGbk(in.command));
    else if (in.operands.size() > maxOperands) wrong("多余的参数 " + Utf8ToGbk(in.operands[maxOperands]));
    else if (in.command == "switch" && in.operands.empty()) wrong("缺少要转换到的区");
    else if (in.command == "switch" && !ParseZone(in.operands[0])) wrong("未知的区 " + Utf8ToGbk(in.operands[0]));
    if (in.launch && in.command != "switch") wrong("--launch 只用于 switch");
    if (in.clientVersion && in.clientVersion->empty()) wrong("版本号是空的");
    return in;
}

class Session {
public:
    Session(ControlServices& services, std::ostream& out, std::ostream& err, bool json)
        : s_(services), out_(out), err_(err), json_(json) {}

    int Run(const Invocation& in) {
        try {
            const std::optional<std::string> folder =
                in.operands.size() > (in.command == "switch" ? 1u : 0u) ? std::optional(in.operands.back()) : std::nullopt;
            if (in.command == "status") return Status(folder);
            if (in.command == "switch") return Switch(*ParseZone(in.operands[0]), in.clientVersion, in.launch, folder);
            if (in.command == "versions") return Versions();
            if (in.command == "links") return Links();
            return Find();
        } catch (const Failure& f) {
            return Fail(f);
        }
    }

    int Fail(const Failure& f) {
        Say(f.message);
        if (f.code == kWrongUsage) Say(Text(kSeeHelp));
        if (json_) Emit({{"error", f.word}, {"message", Utf8(f.message)}});
        return f.code;
    }

private:
    void Say(const Text& message) { err_ << Utf8(message) << '\n'; }
    void Emit(const Json& json) { out_ << json.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n'; }
    void Print(const Text& line) { out_ << Utf8(line) << '\n'; }

    // The installation the command is about: the folder given, or the first one found.
    Text Locate(const std::optional<std::string>& given) {
        if (!given) {
            std::vector<Installation> found = s_.findInstallations();
            if (found.empty()) throw Failure{kNoInstallation, "no-installation", Text(kNothingFound)};
            return found.front().folder;
        }
        Text folder = Utf8ToGbk(*given);
        if (!s_.files.exists(folder + Text(kMainExecutableSuffix)))
            throw Failure{kNoInstallation, "no-installation", Text(kNoInstallationAt) + folder};
        return folder;
    }

    ClientStatus Detect(const Text& folder) {
        VersionDataDocument doc;
        DetectionState detection;
        return ReadClientStatus(s_.files, doc, detection, folder);
    }

    void PrintStatus(const Text& folder, const ClientStatus& status) {
        Print(folder);
        Print(ZoneLine(status.zone));
        Print(VersionLine(status.version.value_or(Text())));
    }

    int Status(const std::optional<std::string>& given) {
        const Text folder = Locate(given);
        const ClientStatus status = Detect(folder);
        if (json_) Emit({{"folder", Utf8(folder)}, {"zone", ZoneKey(status.zone)}, {"version", VersionJson(status)}});
        else PrintStatus(folder, status);
        return kDone;
    }

    static Json VersionJson(const ClientStatus& status) {
        return status.version ? Json(Utf8(*status.version)) : Json(nullptr);
    }

    // The zone's recommended version from the versions page, as a switch without a version takes it.
    Text Recommended(ZoneProfile zone) {
        const Text page = ReadPage(s_.http, s_.pages.versionsPage);
        if (page.empty()) throw Failure{kNoRecommendation, "page-unreadable", Text(kVersionsUnreadable)};
        const Text version = RecommendedVersions(page)[static_cast<int>(zone)];
        if (version.empty())
            throw Failure{kNoRecommendation, "no-recommendation",
                          "版本推荐页面上没有" + Text(NameOf(zone).name) + "的推荐版本。"};
        if (IsStopWord(zone, version)) throw Failure{kRefused, "refused", Text(SwitchTextsOf(zone).refusal)};
        Say(Text(kRecommendedUsed) + version);
        return version;
    }

    int Switch(ZoneProfile zone, const std::optional<std::string>& given, bool launch,
               const std::optional<std::string>& folderArg) {
        // Game managers throw a pre-launch command's output away: the log keeps every switch.
        SwitchRecord log;
        try {
            if (folderArg) log.folder = Utf8ToGbk(*folderArg);
            const Text folder = Locate(folderArg);
            log.folder = folder;
            const ClientStatus before = Detect(folder);
            log.before = log.after = ZoneKey(before.zone);
            const Text version = given ? Utf8ToGbk(*given) : Recommended(zone);
            log.version = version;

            // Already there is done, even where the files could not be written now.
            const bool already = HoldsProfileFiles(s_.files, folder, zone, version);
            if (!already) {
                VersionDataDocument doc;
                switch (SwitchInstallation(s_.files, doc, folder, zone, version)) {
                    case SwitchOutcome::Switched: break;
                    case SwitchOutcome::NoInstallation:
                        throw Failure{kNoInstallation, "no-installation", Text(kNoInstallationAt) + folder};
                    case SwitchOutcome::NotWritten:
                        throw Failure{kNotWritten, "not-written", Text(kSwitchFailed) + Text(kFilesUnwritable)};
                }
            }
            const ClientStatus after = Detect(folder);
            log.after = ZoneKey(after.zone);
            const std::string_view result = already ? "already" : "switched";
            AppendLog(log, "0 " + std::string(result));

            Say(Text(SwitchTextsOf(zone).success));
            if (launch) {
                Say(Text(kLaunching) + folder + Text(kLauncherSuffix));
                s_.launcher.start(folder + Text(kLauncherSuffix));
            }
            if (json_)
                Emit({{"folder", Utf8(folder)}, {"zone", ZoneKey(after.zone)}, {"version", VersionJson(after)},
                      {"zone_before", ZoneKey(before.zone)}, {"version_before", VersionJson(before)},
                      {"result", result}, {"launched", launch}});
            else
                PrintStatus(folder, after);
            return kDone;
        } catch (const Failure& f) {
            AppendLog(log, std::to_string(f.code) + " " + std::string(f.word));
            throw;
        }
    }

    // One line, tab-separated: the time, the record's four fields, the result.
    void AppendLog(const SwitchRecord& r, const std::string& result) {
        const std::string line = Now() + '\t' + LogField(r.folder) + '\t' + LogField(r.before) + '\t' +
                                 LogField(r.after) + '\t' + LogField(r.version) + '\t' + result + '\n';
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(s_.logFile).parent_path(), ec);
        std::ofstream file(s_.logFile, std::ios::app | std::ios::binary);
        file << line << std::flush;
        if (!file) Say(Text(kLogUnwritable) + Utf8ToGbk(s_.logFile));
    }

    int Versions() {
        const Text page = ReadPage(s_.http, s_.pages.versionsPage);
        if (page.empty()) throw Failure{kNoRecommendation, "page-unreadable", Text(kVersionsUnreadable)};
        const std::array<Text, 4> versions = RecommendedVersions(page);
        if (std::all_of(versions.begin(), versions.end(), [](const Text& v) { return v.empty(); }))
            throw Failure{kNoRecommendation, "no-recommendation", Text(kNoRecommendations)};
        Json json = Json::object();
        for (ZoneProfile zone : kZoneProfiles) {
            const Text& version = versions[static_cast<int>(zone)];
            json[std::string(NameOf(zone).key)] = ValueOrNull(version);
            if (!json_) Print(Text(NameOf(zone).name) + "：" + version);
        }
        if (json_) Emit(json);
        return kDone;
    }

    int Links() {
        const Text page = ReadPage(s_.http, s_.pages.bulletinPage);
        if (page.empty()) throw Failure{kNoRecommendation, "page-unreadable", Text(kBulletinUnreadable)};
        const Text patch = PatchLinkOf(page);
        const std::array<Text, 9> downloads = DownloadLinksOf(page);
        if (patch.empty() && std::all_of(downloads.begin(), downloads.end(), [](const Text& l) { return l.empty(); }))
            throw Failure{kNoRecommendation, "no-links", Text(kNoLinks)};
        if (!json_) {
            Print(Text(kPatchLabel) + patch);
            for (size_t i = 0; i < downloads.size(); ++i) {
                std::string_view marker = kDownloadLinks[i].marker;
                Print(Text(marker.substr(0, marker.size() - kValueStart.size())) + downloads[i]);
            }
            return kDone;
        }
        // "无" is the page's way of offering no link: to a script that is no link at all.
        auto link = [](const Text& l) { return l == kNoLink ? Json(nullptr) : ValueOrNull(l); };
        Json zones = Json::object();
        for (size_t i = 0; i < downloads.size(); ++i)
            zones[std::string(kZoneNames[i / 3].key)][std::string(kLinkKinds[i % 3])] = link(downloads[i]);
        Emit({{"patch", link(patch)}, {"downloads", zones}});
        return kDone;
    }

    int Find() {
        const std::vector<Installation> found = s_.findInstallations();
        Json list = Json::array();
        for (const Installation& i : found) {
            list.push_back({{"folder", Utf8(i.folder)}, {"prefix", i.prefix}, {"source", i.source}});
            if (!json_) out_ << Utf8(i.folder) << '\t' << i.prefix << '\t' << i.source << '\n';
        }
        if (json_) Emit({{"installations", list}});
        if (found.empty()) Say(Text(kNothingFound));
        return found.empty() ? kNoInstallation : kDone;
    }

    ControlServices& s_;
    std::ostream& out_;
    std::ostream& err_;
    bool json_;
};

}  // namespace

int RunZonvexctl(std::span<const std::string> args, ControlServices& services, std::ostream& out, std::ostream& err) {
    const Invocation in = Parse(args);
    Session session(services, out, err, in.json);
    if (in.help) {
        out << Utf8(Text(kHelp));
        return kDone;
    }
    if (in.programVersion && !in.wrong) {
        out << "zonvexctl " << ZONVEX_VERSION << '\n';
        return kDone;
    }
    if (in.wrong) return session.Fail(*in.wrong);
    return session.Run(in);
}

}  // namespace zonvex
