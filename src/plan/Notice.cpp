#include "plan/Notice.h"

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

} // namespace vq::texts
