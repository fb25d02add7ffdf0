#include "plan/Programmer.h"

#include "plan/Notice.h"
#include "plan/StoreTexts.h"

#include <QDir>
#include <QFileInfo>

namespace vq {

Programmer::Programmer(QObject *parent)
    : QObject(parent), editor_(store_, history_, [this] { return transfers_.isReading(); })
{
    connect(&editor_, &TableEditor::firstRowCurrent, this, &Programmer::firstRowCurrent);
    transfers_.useAirCheck(&airCheck_);
    connect(&transfers_, &Transfers::notice, this, &Programmer::notice);
    connect(&traces_, &LinkTraces::notice, this, &Programmer::notice);
    connect(&transfers_, &Transfers::statusChanged, this, &Programmer::statusChanged);
    connect(&transfers_, &Transfers::progressChanged, this, &Programmer::progressChanged);
    connect(&transfers_, &Transfers::transferRunningChanged, this, &Programmer::transferRunningChanged);
    connect(&transfers_, &Transfers::readingChanged, this, &Programmer::readingChanged);
    connect(&transfers_, &Transfers::readStored, this, &Programmer::readStored);
    connect(&transfers_, &Transfers::verifyMismatch, this, &Programmer::verifyMismatch);
}

Programmer::~Programmer()
{
    shutDown();
}

Result Programmer::openStore(const QString &path)
{
    // The data folder is made on first start; a store named elsewhere must
    // have its folder already, as it always had.
    if (QDir::cleanPath(QFileInfo(path).absoluteFilePath()) ==
        QDir::cleanPath(DataFolders::defaultStorePath())) {
        const QString folder = DataFolders::dataFolder();
        QString why;
        if (!QDir().mkpath(folder))
            why = texts::kDataFolderCannotCreate + QDir::toNativeSeparators(folder);
        else if (!QFileInfo(folder).isWritable())
            why = texts::kDataFolderNotWritable + QDir::toNativeSeparators(folder);
        if (!why.isEmpty())
            return Result::refused(
                withReason(systemNotice(texts::kStoreCannotOpen + QDir::toNativeSeparators(path)), why));
    }
    if (store_.open(path))
        return Result{true, store_.openedElsewhere() ? QList{systemNotice(texts::kStoreOpenedElsewhere)}
                                                     : QList<Notice>{}};
    Notice notice = systemNotice(texts::kStoreCannotOpen + QDir::toNativeSeparators(path));
    notice.informative = texts::storeOpenCause(store_);
    return Result::refused(notice);
}

HistoryModel *Programmer::newHistoryModel(QObject *parent)
{
    return new HistoryModel(history_, store_, parent);
}

void Programmer::shutDown()
{
    // A write that has just ended may still have its last frame in Qt's
    // buffer, and closing would drop it; one stopped half-way is left so.
    if (!controller_.transferRunning())
        link_.drain();
    controller_.stop();
    link_.close();
}

} // namespace vq
