#pragma once

#include "plan/CsvExchange.h"
#include "plan/Notice.h"
#include "plan/Result.h"

#include <QString>

#include <array>

class QWidget;

namespace vq {

// What the file dialogs show for channel files.
inline const QString kChannelFileFilter = QStringLiteral("text(*.doc)");
// The CSV layouts in the order the dialogs offer their filters.
inline constexpr std::array<CsvLayout, 2> kCsvLayouts = {CsvLayout::Own, CsvLayout::Common};
// Their filters, ";;" between them, in the language in use now: built when a
// dialog opens, since the language can change while the program runs.
QString csvFilters();
// The layout of the CSV filter at `position` in csvFilters().
CsvLayout csvLayoutAt(int position);

// Everything that waits for the person at the screen goes through here:
// message boxes and the file dialog. Tests put a recorder in its place, so
// no test ever waits for a click.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void show(const Notice &notice) = 0;
    // The chosen path, or an empty text when the user cancelled. Several
    // filters are separated by ";;"; `chosen`, when given, learns the
    // position of the one the user picked (texts are no guide: two layouts
    // may read alike in some language). The dialog starts at `start` (a
    // folder, or a file name to offer) when given.
    virtual QString askSavePath(const QString &filter, int *chosen = nullptr, const QString &start = {}) = 0;
    virtual QString askOpenPath(const QString &filter) = 0;
    // A yes/no question; true for yes.
    virtual bool ask(const Notice &question) = 0;

    // Every notice of an operation's result, in order: the one way a window
    // tells what came back.
    void tell(const Result &result);
};

// Modal message boxes with an OK button and the platform's file dialogs.
class DialogMessenger : public Messenger {
public:
    explicit DialogMessenger(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void show(const Notice &notice) override;
    QString askSavePath(const QString &filter, int *chosen = nullptr, const QString &start = {}) override;
    QString askOpenPath(const QString &filter) override;
    bool ask(const Notice &question) override;

private:
    QWidget *parent_;
};

} // namespace vq
