#pragma once
// The tool's release notes, newest first: one entry per release. The version-notes page
// lists them; the first entry is the current release.
#include "core/app/Caption.h"

#include <array>
#include <initializer_list>
#include <string_view>

namespace rz {

struct ReleaseNote {
    std::u16string_view release;
    std::u16string_view date;    // yyyy-mm-dd
    std::u16string_view changes; // one change a line
};

inline constexpr std::array kReleaseNotes{
    ReleaseNote{
        u"A16.2",
        u"2026-12-10",
        u"场景页：50个场景的名称、效果、继电器、可控硅调光、墙板与VOD关联、效果器音效与音源\n"
        u"效果页：小节与拍子的素材编排、鼓点模拟、小节复制粘贴、效果与模块的导入导出\n"
        u"素材页：逐步编辑素材、虚拟灯具联动、配接灯具、画圆动作、标准与个性素材、跑马工具\n"
        u"灯控页：开机场景、排风、空调、摇麦、烟机、喝彩倒彩、密集鼓点、Dmx通道固定值、VOD暂停与可控硅调光的设置\n"
        u"灯控页：效果器红外键值的输入与在线学习\n"
        u"红外空调学习界面：七种空调状态的学习、发射测试与停止学习\n"
        u"灯光文件的打开、另存与新建，操作前自动备份\n"
        u"RDM页：灯具搜索、读取与修改地址和通道模式；测试页与开发模式窗口\n"
        u"灯库、下载、固件升级页与DMX监视窗口",
    },
};

static_assert(kReleaseNotes.front().release == releaseName, "the newest note is the current release");

} // namespace rz
