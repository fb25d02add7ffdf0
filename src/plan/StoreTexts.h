#pragma once

#include "channels/ChannelHistory.h"
#include "plan/Notice.h"

namespace vq {

class ChannelStore;

// The store, its history and the table as a whole.
namespace texts {
inline constexpr Text kStoreCannotOpen{QT_TRANSLATE_NOOP("vq::texts", "信道数据库无法打开：")};
inline constexpr Text kStoreOpenedElsewhere{QT_TRANSLATE_NOOP("vq::texts", "信道数据库已被另一程序打开")};
// Why the store could not be opened, under kStoreCannotOpen.
inline constexpr Text kStoreLocked{
    QT_TRANSLATE_NOOP("vq::texts", "数据库正被另一程序锁定，请关闭该程序后重试")};
inline constexpr Text kStoreNotADatabase{QT_TRANSLATE_NOOP("vq::texts", "该文件不是数据库")};
inline constexpr Text kStoreNoTable{QT_TRANSLATE_NOOP("vq::texts", "数据库中没有信道表")};
inline constexpr Text kStoreNoFolder{QT_TRANSLATE_NOOP("vq::texts", "文件夹不存在")};
inline constexpr Text kStoreNotAFile{QT_TRANSLATE_NOOP("vq::texts", "不是普通文件（文件夹、管道或设备）")};
inline constexpr Text kStoreNoPermission{QT_TRANSLATE_NOOP("vq::texts", "没有访问该文件的权限")};
inline constexpr Text kDataFolderCannotCreate{QT_TRANSLATE_NOOP("vq::texts", "无法创建数据文件夹：")};
inline constexpr Text kDataFolderNotWritable{QT_TRANSLATE_NOOP("vq::texts", "数据文件夹不可写：")};
inline QString storeMissingColumns(const QStringList &names)
{
    return tr("信道表缺少字段：") + names.join(tr("、"));
}
// The line for the store's last open failure; empty when there is none to add.
QString storeOpenCause(const ChannelStore &store);
inline constexpr Text kStoreWriteFailed{QT_TRANSLATE_NOOP("vq::texts", "信道数据库写入失败")};
inline constexpr Text kTableChangedElsewhere{
    QT_TRANSLATE_NOOP("vq::texts", "信道表已被另一程序修改，已重新载入，请再试一次")};
inline constexpr Text kTooFewRows50{QT_TRANSLATE_NOOP("vq::texts", "信道表记录不足50条")};
inline constexpr Text kTooFewRows16{QT_TRANSLATE_NOOP("vq::texts", "信道表记录不足16条")};
// Undo and redo, and the safety net around transfers.
inline constexpr Text kReadStep{QT_TRANSLATE_NOOP("vq::texts", "读信道数据（对讲机内容不变）")};
inline constexpr Text kRestoreStep{QT_TRANSLATE_NOOP("vq::texts", "恢复历史记录")};
inline constexpr Text kTakeRadioStep{QT_TRANSLATE_NOOP("vq::texts", "采用对讲机的信道")};
inline constexpr Text kHistoryTitle{QT_TRANSLATE_NOOP("vq::texts", "历史记录")};
inline constexpr Text kHistoryUnavailable{QT_TRANSLATE_NOOP("vq::texts", "历史记录不可用")};
inline constexpr Text kSnapshotGone{QT_TRANSLATE_NOOP("vq::texts", "该历史记录已无法读取")};
// What each snapshot shows as its reason.
QString snapshotReason(ChannelHistory::Reason reason);
// Told at start when a write into these radios never finished.
inline QString writeCutShort(const QStringList &devices)
{
    return tr("上次写入对讲机（%1）没有完成，对讲机里可能只有部分信道，请重新写入").arg(devices.join(tr("、")));
}
} // namespace texts

} // namespace vq
