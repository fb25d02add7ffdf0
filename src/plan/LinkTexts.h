#pragma once

#include "plan/Notice.h"

namespace vq {

// Ports, devices, the radio and the transfers.
namespace texts {
inline QString portInUse(int port)
{
    return tr("串行端口 %1已被其它设备使用").arg(port);
}
inline constexpr Text kPortNotOpen{QT_TRANSLATE_NOOP("vq::texts", "串行端口未打开")};
inline constexpr Text kPortFailed{QT_TRANSLATE_NOOP("vq::texts", "串行端口通信失败")};
inline constexpr Text kReadError{QT_TRANSLATE_NOOP("vq::texts", "读数错误！！")};
inline constexpr Text kTransferBusy{QT_TRANSLATE_NOOP("vq::texts", "数据传送中，请稍后再选择端口")};
inline constexpr Text kPort1Used{QT_TRANSLATE_NOOP("vq::texts", "串行端口 1 已被使用 ")};
inline constexpr Text kPort2Used{QT_TRANSLATE_NOOP("vq::texts", "串行端口 2 已被使用， ")};
// Why a port could not be opened when it is not "in use" (that case keeps
// the texts above): "串行端口 N" and one of these.
inline constexpr Text kPortMissing{QT_TRANSLATE_NOOP("vq::texts", "的设备不存在")};
inline constexpr Text kPortNotSerial{QT_TRANSLATE_NOOP("vq::texts", "的设备不是串口")};
inline constexpr Text kPortNoPermission{QT_TRANSLATE_NOOP("vq::texts", "没有访问权限")};
inline constexpr Text kPortCannotOpen{QT_TRANSLATE_NOOP("vq::texts", "无法打开")};
inline constexpr Text kPortOtherChosen{QT_TRANSLATE_NOOP("vq::texts", "，已选择 COM%1")};
inline constexpr Text kNoPortAtAll{QT_TRANSLATE_NOOP("vq::texts", "，没有可用的串行端口")};
inline constexpr Text kPortFixHint{
    QT_TRANSLATE_NOOP("vq::texts", "可在“系统设置 → 端口设备”中为端口选择对讲机所连的设备。")};
inline constexpr Text kCompareTitle{QT_TRANSLATE_NOOP("vq::texts", "与对讲机比较")};
inline constexpr Text kRadioHoldsPlan{QT_TRANSLATE_NOOP("vq::texts", "对讲机中的信道与计划相同")};
inline constexpr Text kStatusSilent{QT_TRANSLATE_NOOP("vq::texts", "对讲机未响应")};
inline constexpr Text kSysInfoUnavailable{QT_TRANSLATE_NOOP("vq::texts", "此时系统信息不可用")};
inline constexpr Text kStatusStartUp{QT_TRANSLATE_NOOP("vq::texts", "系统初始化，请稍等...")};
inline constexpr Text kStatusWriting{QT_TRANSLATE_NOOP("vq::texts", "正在传送数据,,,,,,,")};
inline constexpr Text kStatusReading{QT_TRANSLATE_NOOP("vq::texts", "正在读数据......")};
inline constexpr Text kStatusReady{QT_TRANSLATE_NOOP("vq::texts", "对讲机就绪...")};
inline constexpr Text kStatusTableEmpty{QT_TRANSLATE_NOOP("vq::texts", "信道表为空，请先读信道数据")};
inline constexpr Text kStatusVerifying{QT_TRANSLATE_NOOP("vq::texts", "正在校验...")};
inline constexpr Text kStatusVerified{QT_TRANSLATE_NOOP("vq::texts", "校验通过")};
inline constexpr Text kVerifyReadFailed{QT_TRANSLATE_NOOP("vq::texts", "校验读数失败")};
inline constexpr Text kVerifyNoReply{QT_TRANSLATE_NOOP("vq::texts", "写入后对讲机未响应，无法校验")};
// "第3、7信道校验不符": the channels, 1-based, whose read-back differs.
inline QString verifyMismatch(const QList<int> &channels)
{
    QStringList numbers;
    for (int channel : channels)
        numbers << QString::number(channel);
    return tr("第%1信道校验不符").arg(numbers.join(tr("、")));
}
// A write to several radios, each port's outcome on its own:
// "串行端口 /dev/ttyUSB2 的设备不存在", reasons as kPortMissing … kPortUsed.
inline QString devicePortProblem(const QString &device, const QString &reason)
{
    return tr("串行端口 %1 %2").arg(device, reason);
}
inline constexpr Text kPortUsed{QT_TRANSLATE_NOOP("vq::texts", "已被使用")};
inline constexpr Text kWriteDone{QT_TRANSLATE_NOOP("vq::texts", "写入完成")};
inline constexpr Text kWriteNoReply{QT_TRANSLATE_NOOP("vq::texts", "写入后对讲机未响应")};
inline constexpr Text kWriteNotVerified{QT_TRANSLATE_NOOP("vq::texts", "写入完成，未校验")};
inline constexpr Text kWriteCancelled{QT_TRANSLATE_NOOP("vq::texts", "已取消，对讲机内容未变")};
// While a write runs the program will not close: the radio would keep
// half a plan.
inline QString closeDuringWrite(int seconds)
{
    return tr("正在写入对讲机，约%1秒后完成，请稍后再关闭").arg(seconds);
}
// "第N信道数据错误，无法写入", N the channel's row.
inline QString unencodableRow(int row)
{
    return tr("第%1信道数据错误，无法写入").arg(row);
}
// The line the user should read when a device cannot be used because of
// its access rights: the group comes from the device itself, and joining
// root's group is never offered.
QString permissionHint(const QString &device);
inline QString joinGroup(const QString &device, const QString &group, const QString &user)
{
    return tr("没有使用 %1 的权限：请运行 sudo usermod -aG %2 %3，然后注销并重新登录。")
        .arg(device, group, user);
}
inline QString groupNotActive(const QString &device, const QString &group)
{
    return tr("没有使用 %1 的权限：当前用户已在 %2 组中，但本次登录尚未生效，请注销并重新登录。")
        .arg(device, group);
}
inline QString needsAdministrator(const QString &device, const QString &group)
{
    return tr("没有使用 %1 的权限：该设备属于 %2 组，加入该组无效，需要 udev 规则或请管理员授权。")
        .arg(device, group.isEmpty() ? tr("未知") : group);
}
// "检测线路": one line a finding.
inline constexpr Text kCableCheckTitle{QT_TRANSLATE_NOOP("vq::texts", "检测线路")};
inline QString deviceFound(const QString &path)
{
    return tr("找到设备 %1").arg(path);
}
inline QString deviceFoundAs(const QString &path, const QString &device)
{
    return tr("找到设备 %1（实际设备 %2）").arg(path, device);
}
inline QString deviceMissing(const QString &path)
{
    return tr("找不到设备 %1：请检查连接线是否插好").arg(path);
}
inline QString deviceNotSerial(const QString &path)
{
    return tr("%1 不是串行设备").arg(path);
}
inline constexpr Text kDeviceAccessible{QT_TRANSLATE_NOOP("vq::texts", "当前用户可以读写该设备")};
inline constexpr Text kDeviceNotInUse{QT_TRANSLATE_NOOP("vq::texts", "设备未被其他程序占用")};
inline constexpr Text kDeviceInUse{QT_TRANSLATE_NOOP("vq::texts", "设备正被另一程序使用，请先关闭该程序")};
inline QString deviceUsedBy(const QString &name, qint64 pid)
{
    return tr("设备正被进程 %1（PID %2）使用，请先关闭该程序")
        .arg(name.isEmpty() ? QStringLiteral("?") : name)
        .arg(pid);
}
inline constexpr Text kNoSerialGrabbers{QT_TRANSLATE_NOOP("vq::texts", "未发现会抢占串口的后台程序")};
inline QString brlttyRunning(qint64 pid)
{
    return tr("盲文显示服务 brltty 正在运行（PID %1），它会抢占 USB 串口转接线：请卸载 brltty，"
              "或禁用它的 udev 规则")
        .arg(pid);
}
inline QString modemManagerRunning(qint64 pid)
{
    return tr("ModemManager 正在运行（PID %1），它会向串口发送 AT 命令：请用含 "
              "ENV{ID_MM_DEVICE_IGNORE}=\"1\" 的 udev 规则排除该设备，或停止 ModemManager")
        .arg(pid);
}
inline constexpr Text kRadioAnswered{QT_TRANSLATE_NOOP("vq::texts", "对讲机已应答")};
inline constexpr Text kRadioSilent{QT_TRANSLATE_NOOP(
    "vq::texts", "对讲机没有应答，也没有收到任何字符：请检查连接线是否插紧、对讲机是否开机、设备是否选对")};
// `hex` is what came back, as "41 54 0D".
inline QString radioNoise(const QString &hex)
{
    return tr("收到了字符，但不是对讲机的应答：可能是速率不对、设备选错或转接线损坏。收到：%1").arg(hex);
}
inline QString probeFailed(const QString &detail)
{
    return tr("无法使用该设备：%1").arg(detail);
}
inline constexpr Text kProbeNotAsked{QT_TRANSLATE_NOOP("vq::texts", "未检测对讲机应答：诊断报告不向设备发送任何数据")};
inline constexpr Text kProbeSkipped{QT_TRANSLATE_NOOP("vq::texts", "未检测对讲机应答：请先解决上面的问题")};
// "查找对讲机" and the device window.
inline constexpr Text kDevicesTitle{QT_TRANSLATE_NOOP("vq::texts", "串口设备")};
inline QString radioFoundOn(const QString &device)
{
    return tr("在 %1 上找到对讲机").arg(device);
}
inline QString noRadioFound(int searched)
{
    return tr("在 %1 个可用设备上都没有找到对讲机").arg(searched);
}
inline constexpr Text kCheckingCurrentPort{QT_TRANSLATE_NOOP(
    "vq::texts",
    "这是本程序正在使用的端口：状态栏显示“对讲机就绪...”即线路正常；要检测它，请先换用另一端口")};
inline constexpr Text kNoDeviceToSearch{QT_TRANSLATE_NOOP("vq::texts", "没有可供查找的空闲设备")};
inline QString useFoundRadio(const QString &device, int port)
{
    return tr("在 %1 上找到对讲机，是否用作串行端口 %2？").arg(device).arg(port);
}
inline QString linkCounts(int port, const QString &device, qint64 sent, qint64 received)
{
    return tr("当前端口 %1：%2    已发送 %3 字节    已接收 %4 字节")
        .arg(port)
        .arg(device.isEmpty() ? tr("未打开") : device)
        .arg(sent)
        .arg(received);
}
inline constexpr Text kAskCancelRead{QT_TRANSLATE_NOOP("vq::texts", "确定要中止读取吗？")};
// A write cut off half-way leaves the radio with a plan nobody knows.
inline QString writeCannotStop(int seconds)
{
    return tr("正在写入对讲机，约%1秒后完成，写入不能中止").arg(seconds);
}
// The first lines of a link trace: the program, when, and the port in use.
inline QString traceHeader(const QString &version, const QString &when, int port, const QString &device,
                           bool open)
{
    // The trace is a file for whoever helps the user: always in Chinese.
    return QStringLiteral("# VQ4471R 信道设置系统 %1 通信记录 %2，端口 %3：%4%5\n"
                          "# 时间  方向（> 发送，< 接收，= 打开设备）  十六进制  字符\n")
        .arg(version, when, QString::number(port), device, open ? QString() : QStringLiteral("（未打开）"));
}
// A live trace file that could not be written; the transfer goes on without it.
inline constexpr Text kTraceWriteFailed{QT_TRANSLATE_NOOP("vq::texts", "通信记录无法写入，已停止记录")};
} // namespace texts

} // namespace vq
