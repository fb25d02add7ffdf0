#include "plan/StoreTexts.h"

#include "channels/ChannelStore.h"

namespace vq::texts {

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
    case E::NotAFile:
        return kStoreNotAFile;
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
    case R::Sort:
        return tr("排序前");
    case R::Restore:
        return tr("恢复前");
    case R::VerifyReadBack:
        return tr("校验时读回");
    case R::WriteUnfinished:
        return tr("写入未完成");
    }
    return {};
}

} // namespace vq::texts
