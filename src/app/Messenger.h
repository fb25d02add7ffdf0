#pragma once

#include "plan/CsvExchange.h"
#include "plan/Notice.h"

#include <QString>

class QWidget;

namespace vq {

// What the file dialogs show for channel files.
inline const QString kChannelFileFilter = QStringLiteral("text(*.doc)");
// The layout a CSV filter stands for.
inline CsvLayout csvLayoutOf(const QString &filter)
{
    return filter == texts::kCsvCommonFilter ? CsvLayout::Common : CsvLayout::Own;
}
// Both CSV layouts, the program's own first.
inline const QString kCsvFilters = texts::kCsvFilter + QStringLiteral(";;") + texts::kCsvCommonFilter;

// Everything that waits for the person at the screen goes through here:
// message boxes and the file dialog. Tests put a recorder in its place, so
// no test ever waits for a click.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void show(const Notice &notice) = 0;
    // The chosen path, or an empty text when the user cancelled. Several
    // filters are separated by ";;"; `chosen`, when given, learns which one
    // the user picked. The dialog starts at `start` (a folder, or a file
    // name to offer) when given.
    virtual QString askSavePath(const QString &filter, QString *chosen = nullptr,
                                const QString &start = {}) = 0;
    virtual QString askOpenPath(const QString &filter) = 0;
    // A yes/no question; true for yes.
    virtual bool ask(const Notice &question) = 0;
};

// Modal message boxes with an OK button and the platform's file dialogs.
class DialogMessenger : public Messenger {
public:
    explicit DialogMessenger(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void show(const Notice &notice) override;
    QString askSavePath(const QString &filter, QString *chosen = nullptr, const QString &start = {}) override;
    QString askOpenPath(const QString &filter) override;
    bool ask(const Notice &question) override;

private:
    QWidget *parent_;
};

} // namespace vq
