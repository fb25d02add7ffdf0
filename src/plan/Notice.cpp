#include "plan/Notice.h"

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
        return QStringLiteral("读自对讲机");
    case R::Write:
        return QStringLiteral("写入对讲机");
    case R::StartUpWrite:
        return QStringLiteral("启动时写入对讲机");
    case R::FileOpen:
        return QStringLiteral("打开文件前");
    case R::Import:
        return QStringLiteral("导入前");
    case R::Restore:
        return QStringLiteral("恢复前");
    case R::VerifyReadBack:
        return QStringLiteral("校验时读回");
    }
    return {};
}

} // namespace vq::texts
