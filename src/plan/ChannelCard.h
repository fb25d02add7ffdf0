#pragma once

#include "channels/ChannelHistory.h"
#include "plan/Result.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace vq {

// The channel card: one printed page with the plan's channels in the grid's
// ten columns under a title, the date and the database's file name. This
// decides what is on it; the window's printer only lays it on paper.
class ChannelCard {
public:
    struct Options {
        // Channels without a receive frequency are left off.
        bool onlyWithReceiveFrequency = false;
        QDate date;
        // The store's file; the card names its file name only.
        QString database;
    };

    // Fills the temporary file it is given; an empty text when it did, else why not.
    using Writer = std::function<QString(const QString &path)>;

    ChannelCard(const PlanRows &rows, Options options);

    // The rows (positions in the plan) the card lists, in order.
    const std::vector<int> &listed() const { return listed_; }
    QString title() const;
    // Title, date and database line, and the table; the face and size are
    // the printer's to choose.
    QString html() const;

    // Whether any channel lacks a receive frequency: only then is there a
    // choice to make.
    static bool hasEmptyChannels(const PlanRows &rows);
    // A PDF at `path` (".pdf" added to a name without a suffix): `write`
    // fills a temporary file in the same folder, which then takes the
    // place of `path` whole. On failure nothing is left behind and an
    // older file of that name stays as it was.
    static Result savePdf(QString path, const Writer &write);

private:
    PlanRows rows_;
    Options options_;
    std::vector<int> listed_;
};

} // namespace vq
