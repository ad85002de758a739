#include "app/layouts.h"

#include <array>
#include <cstdlib>

namespace zonvex {

namespace {

using K = ControlKind;
using P = Pointer;

// The help links carry their own addresses.
constexpr std::string_view kVersionsPage = ZONVEX_VERSIONS_PAGE_URL;
constexpr std::string_view kReleaseDatesPost = "https://bbs.crossfire.example/thread-3305-1-1.html";
constexpr std::string_view kConversionPatchShare = "https://pan.fileshare.example/s/cf-convert-patch";

constexpr ControlLayout kStartControls[] = {
    {"编辑框1", K::EditBox, "", 8, 16, 336, 32, {}, P::Default},
    {"按钮1", K::Button, "请选择CF安装目录", 352, 8, 112, 40},
    {"透明标签1", K::TransparentLabel, "呐呢？客户端地址是什么？我不知道啊，那就看下面吧", 88, 48, 296, 24},
    {"分组框1", K::GroupBox, "No.1", 8, 72, 220, 80},
    {"透明标签2", K::TransparentLabel, "点击下面的搜索按钮可以搜索注册表上CF的客户端地址", 8, 16, 208, 24, "分组框1"},
    {"超级链接框1", K::Hyperlink, "搜索CF客户端地址", 40, 48, 136, 24, "分组框1", P::Default},
    {"分组框2", K::GroupBox, "No.2", 240, 72, 220, 80},
    {"透明标签3", K::TransparentLabel, "打开你要转换的CF的客户端的登录器后，点击下面的搜索按钮即可", 8, 16, 208, 24, "分组框2"},
    {"超级链接框2", K::Hyperlink, "搜索CF客户端地址", 40, 48, 136, 24, "分组框2", P::Default},
    {"超级链接框5", K::Hyperlink, "我不想转换了，点此获取体验服完整版客户端下载地址", 8, 160, 448, 16, {}, P::Default},
};

constexpr ControlLayout kMainControls[] = {
    {"透明标签1", K::TransparentLabel, "请稍等，正在判断...", 8, 8, 456, 16},
    {"透明标签2", K::TransparentLabel, "请稍等，正在判断...", 8, 32, 456, 16},
    {"时钟1", K::Timer, "", 8, 48, 32, 32, {}, P::Default},
    {"透明标签4", K::TransparentLabel, "请填写完整版本号：", 8, 64, 104, 32},
    {"编辑框2", K::EditBox, "", 112, 64, 152, 32, {}, P::Default},
    {"透明标签5", K::TransparentLabel, "请填写要转换的版本号，不会填写请直接点转换，将自动填写", 280, 56, 192, 32, {}, P::Default},
    {"分组框2", K::GroupBox, "推荐填写", 280, 88, 192, 120},
    {"透明标签10", K::TransparentLabel, "体验服一区：\r\n\r\n体验服二区：\r\n\r\n体验服三区：\r\n\r\n      正服：", 8, 24, 72, 88, "分组框2"},
    {"透明标签9", K::TransparentLabel, "获取中....", 80, 16, 96, 32, "分组框2"},
    {"透明标签8", K::TransparentLabel, "获取中....", 80, 40, 96, 32, "分组框2"},
    {"透明标签6", K::TransparentLabel, "获取中....", 80, 64, 96, 32, "分组框2"},
    {"透明标签7", K::TransparentLabel, "获取中....", 80, 88, 96, 32, "分组框2"},
    {"按钮2", K::Button, "转换到体验服一区", 8, 112, 104, 40},
    {"按钮3", K::Button, "转换到体验服二区", 160, 112, 104, 40},
    {"按钮4", K::Button, "转换到体验服三区", 8, 168, 104, 40},
    {"按钮5", K::Button, "还原到正式服", 160, 168, 104, 40},
    {"分组框1", K::GroupBox, "常见问题区", 8, 216, 464, 72},
    {"超级链接框3", K::Hyperlink, "版本推荐失败怎么办？点此解决", 8, 16, 216, 16, "分组框1", P::Default, kVersionsPage},
    {"超级链接框1", K::Hyperlink, "转换出现问题？点此下载临时转换补丁", 240, 16, 216, 16, "分组框1", P::Default, kConversionPatchShare},
    {"超级链接框2", K::Hyperlink, "点此下载体验服手动升级补丁", 8, 32, 216, 16, "分组框1", P::Default},
    {"超级链接框4", K::Hyperlink, "体验服什么时候发点？", 240, 32, 216, 16, "分组框1", P::Default, kReleaseDatesPost},
    {"超级链接框5", K::Hyperlink, "点此获取体验服完整版客户端下载地址", 8, 48, 216, 16, "分组框1", P::Default},
    {"超级链接框6", K::Hyperlink, "点此重新选择要转换的CF客户端", 240, 48, 216, 16, "分组框1", P::Default},
    {"透明标签3", K::TransparentLabel, "CF体验服一区Vorlan群：615204873", 8, 288, 216, 24},
    {"图形按钮1", K::PictureButton, "", 216, 288, 90, 22, {}, P::Hand},
    {"透明标签11", K::TransparentLabel, "作者体验服昵称：Hollin_Q", 312, 288, 160, 24},
};

constexpr ControlLayout kDownloadControls[] = {
    {"分组框2", K::GroupBox, "体验服一区", 8, 8, 320, 80},
    {"超级链接框11", K::Hyperlink, "普通下载", 8, 32, 80, 32, "分组框2", P::Default},
    {"超级链接框10", K::Hyperlink, "QQ会员下载器", 112, 32, 80, 32, "分组框2", P::Default},
    {"超级链接框9", K::Hyperlink, "蓝钻下载器", 224, 32, 80, 32, "分组框2", P::Default},
    {"分组框1", K::GroupBox, "体验服二区", 8, 96, 320, 80},
    {"超级链接框8", K::Hyperlink, "普通下载", 8, 32, 80, 32, "分组框1", P::Default},
    {"超级链接框7", K::Hyperlink, "QQ会员下载器", 112, 32, 80, 32, "分组框1", P::Default},
    {"超级链接框6", K::Hyperlink, "蓝钻下载器", 224, 32, 80, 32, "分组框1", P::Default},
    {"分组框3", K::GroupBox, "体验服三区", 8, 184, 320, 80},
    {"超级链接框1", K::Hyperlink, "普通下载", 8, 32, 80, 32, "分组框3", P::Default},
    {"超级链接框4", K::Hyperlink, "QQ会员下载器", 112, 32, 80, 32, "分组框3", P::Default},
    {"超级链接框5", K::Hyperlink, "蓝钻下载器", 224, 32, 80, 32, "分组框3", P::Default},
};

constexpr std::array kLayouts = {
    WindowLayout{Window::Start, "【Vorlan】Zonvex - 请选择您的客户端地址", 50, 50, 475, 207, kStartControls},
    WindowLayout{Window::Main, "【Vorlan】Zonvex", 50, 50, 483, 341, kMainControls},
    WindowLayout{Window::Download, "【Vorlan】穿越火线体验服客户端完整版下载地址", 50, 50, 340, 300, kDownloadControls},
};

}  // namespace

std::span<const WindowLayout> Layouts() { return kLayouts; }

const WindowLayout& LayoutOf(Window window) {
    for (const auto& layout : kLayouts)
        if (layout.window == window) return layout;
    std::abort();
}

}  // namespace zonvex
