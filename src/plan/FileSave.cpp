#include "plan/FileSave.h"

#include "channels/ChannelStore.h"
#include "plan/Notice.h"
#include "plan/FileTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace vq {

namespace {

// Where a path leads: symbolic links and `..` resolved as far as the
// file system has them, so a name that does not exist yet compares too.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

bool isStoreFile(const QString &target)
{
    // SQLite keeps a store's pending writes beside it under these names.
    static const QStringList companions{QString(), QStringLiteral("-journal"), QStringLiteral("-wal"),
                                        QStringLiteral("-shm")};
    for (const QString &store : ChannelStore::openPaths())
        for (const QString &suffix : companions)
            if (target == resolved(store + suffix))
                return true;
    return false;
}

Notice failed(const QString &why)
{
    Notice notice = errorNotice(texts::kFileSaveFailed);
    notice.informative = why;
    return notice;
}

} // namespace

QString saveRefusal(const QString &path)
{
    if (path.isEmpty())
        return texts::kNotARegularFile;
    const QString target = resolved(path);
    if (isStoreFile(target))
        return texts::kTraceIsStore;
    // A pipe or a device under that name would be written into, or replaced
    // by a plain file; a folder cannot take a file's place.
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return texts::kNotARegularFile;
    return {};
}

Result saveFile(const QString &path, const QByteArray &bytes)
{
    if (const QString why = saveRefusal(path); !why.isEmpty())
        return Result::refused(failed(why));
    // Unbuffered, so a short write (disk full, size limit) shows here
    // instead of being lost in a flush that commit() does not check.
    // QSaveFile gives the new file the old one's permissions.
    QSaveFile file(resolved(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() &&
        file.commit())
        return {};
    const QString reason = file.errorString();
    file.cancelWriting();
    return Result::refused(failed(reason));
}

Result saveRendered(const QString &path, const FileRenderer &render)
{
    if (const QString why = saveRefusal(path); !why.isEmpty())
        return Result::refused(failed(why));
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Result::refused(failed(scratch.errorString()));
    const QString draft = scratch.filePath(QFileInfo(path).fileName());
    if (const QString why = render(draft); !why.isEmpty())
        return Result::refused(failed(why));
    QFile rendered(draft);
    if (!rendered.open(QIODevice::ReadOnly))
        return Result::refused(failed(rendered.errorString()));
    return saveFile(path, rendered.readAll());
}

} // namespace vq
