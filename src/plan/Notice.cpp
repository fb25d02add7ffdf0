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

} // namespace vq::texts
