#include "plan/Notice.h"

#include "channels/ChannelStore.h"

namespace vq::texts {

namespace {
// The fixed phrases of the channel rules; composed ones stay as they are.
[[maybe_unused]] const char *const kReasons[] = {
    QT_TRANSLATE_NOOP("vq::reasons", "没有接收频率"),
    QT_TRANSLATE_NOOP("vq::reasons", "剪贴板中没有可粘贴的内容"),
    QT_TRANSLATE_NOOP("vq::reasons", "请先选择要粘贴到的单元格"),
    QT_TRANSLATE_NOOP("vq::reasons", "信道号不能修改，请从接收频率列起粘贴"),
    QT_TRANSLATE_NOOP("vq::reasons", "请选择同一列中的两个或更多单元格"),
    QT_TRANSLATE_NOOP("vq::reasons", "请先选择信道"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是频率"),
    QT_TRANSLATE_NOOP("vq::reasons", "超出范围"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是可用的哑音"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是可用的数字哑音"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是可选的值"),
    QT_TRANSLATE_NOOP("vq::reasons", "行数过多"),
    QT_TRANSLATE_NOOP("vq::reasons", "列数过多"),
    QT_TRANSLATE_NOOP("vq::reasons", "引号位置不对"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是文本"),
    QT_TRANSLATE_NOOP("vq::reasons", "引号没有结束"),
    QT_TRANSLATE_NOOP("vq::reasons", "文件过大"),
    QT_TRANSLATE_NOOP("vq::reasons", "没有表头"),
    QT_TRANSLATE_NOOP("vq::reasons", "没有信道数据"),
    QT_TRANSLATE_NOOP("vq::reasons", "超出信道表的行数"),
    QT_TRANSLATE_NOOP("vq::reasons", "字段数与表头不同"),
    QT_TRANSLATE_NOOP("vq::reasons", "只支持NN"),
    QT_TRANSLATE_NOOP("vq::reasons", "对讲机只支持FM"),
    QT_TRANSLATE_NOOP("vq::reasons", "没有这个信道"),
    QT_TRANSLATE_NOOP("vq::reasons", "不支持的频差方式"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是频率差"),
    QT_TRANSLATE_NOOP("vq::reasons", "不支持的交叉方式"),
    QT_TRANSLATE_NOOP("vq::reasons", "不支持的哑音方式"),
    QT_TRANSLATE_NOOP("vq::reasons", "信道重复"),
    QT_TRANSLATE_NOOP("vq::reasons", "内容过多"),
};
[[maybe_unused]] const char *const kFields[] = {
    QT_TRANSLATE_NOOP("vq::fields", "信道号"),     QT_TRANSLATE_NOOP("vq::fields", "接收频率"),
    QT_TRANSLATE_NOOP("vq::fields", "收哑音"),     QT_TRANSLATE_NOOP("vq::fields", "收数字哑音"),
    QT_TRANSLATE_NOOP("vq::fields", "发送频率"),   QT_TRANSLATE_NOOP("vq::fields", "发哑音"),
    QT_TRANSLATE_NOOP("vq::fields", "发数字哑音"), QT_TRANSLATE_NOOP("vq::fields", "扫描"),
    QT_TRANSLATE_NOOP("vq::fields", "拍频")};
} // namespace

QString fieldName(std::string_view name)
{
    return QCoreApplication::translate("vq::fields", std::string(name).c_str());
}

QString reason(const std::string &why)
{
    return QCoreApplication::translate("vq::reasons", why.c_str());
}

QString storeOpenCause(const ChannelStore &store)
{
    using E = ChannelStore::OpenError;
    switch (store.openError()) {
    case E::Locked:
        return kStoreLocked;
    case E::NotADatabase:
        return kStoreNotADatabase;
    case E::NoTable:
        return kStoreNoTable;
    case E::MissingColumns:
        return storeMissingColumns(store.missingColumns());
    case E::NoFolder:
        return kStoreNoFolder;
    case E::NoPermission:
        return kStoreNoPermission;
    case E::None:
    case E::CannotOpen:
        break;
    }
    return {};
}

QString snapshotReason(ChannelHistory::Reason reason)
{
    using R = ChannelHistory::Reason;
    switch (reason) {
    case R::Read:
        return tr("读自对讲机");
    case R::Write:
        return tr("写入对讲机");
    case R::StartUpWrite:
        return tr("启动时写入对讲机");
    case R::FileOpen:
        return tr("打开文件前");
    case R::Import:
        return tr("导入前");
    case R::Restore:
        return tr("恢复前");
    case R::VerifyReadBack:
        return tr("校验时读回");
    }
    return {};
}

} // namespace vq::texts
