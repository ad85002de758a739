#pragma once
// The recommendation labels and a pair of pages as the maker publishes them, shared by the
// handler tests and the tests that read real pages.
#include <string>
#include <string_view>

#include "support/utf8.h"

namespace zonvex::testing {

inline const char* const kLabels[] = {"透明标签9", "透明标签8", "透明标签6", "透明标签7"};  // top to bottom
inline constexpr std::string_view kTimer = "时钟1";

// Pages as the maker publishes them: UTF-8.
inline const std::string kVersions = U8(u8"<p>体验服一：1.0.301版本</p><p>体验服二：1.0.302版本</p>"
                                 u8"<p>体验服三：1.0.303版本</p><p>正服：1.0.300版本</p>");
inline const std::string kBulletin = U8(u8"公告：（今晚八点维护）手动补丁：（http://dl.test/patch.exe）"
                                 u8"一区最新完整版客户端下载地址：（http://dl.test/1f）一区QQ会员下载器：（http://dl.test/1q）"
                                 u8"一区蓝钻下载器：（http://dl.test/1b）二区最新完整版客户端下载地址：（http://dl.test/2f）"
                                 u8"二区QQ会员下载器：（http://dl.test/2q）二区蓝钻下载器：（无）"
                                 u8"三区最新完整版客户端下载地址：（无）三区QQ会员下载器：（ 无）三区蓝钻下载器：（）");

}  // namespace zonvex::testing
