#include "plan/Notice.h"

#include "channels/ChannelStore.h"

#include <QFile>

#include <grp.h>
#include <sys/stat.h>

namespace vq::texts {

QString permissionHint(const QString &device)
{
    struct stat st {};
    QString group;
    if (::stat(QFile::encodeName(device).constData(), &st) == 0) {
        if (const struct group *g = ::getgrgid(st.st_gid))
            group = QString::fromLocal8Bit(g->gr_name);
    }
    if (group.isEmpty())
        group = QStringLiteral("dialout");
    return QStringLiteral("没有使用 %1 的权限：请把当前用户加入 %2 组后重新登录。").arg(device, group);
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

} // namespace vq::texts
