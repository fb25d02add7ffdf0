#pragma once

#include "app/Messenger.h"

#include <QList>
#include <QStringList>

namespace vq::test {

// Stands in for the message boxes and file dialogs: records every message
// and answers file questions from a queue (an empty answer is a cancel).
class RecordingMessenger : public Messenger {
public:
    void show(const Notice &notice) override { notices.append(notice); }
    QString askSavePath(const QString &filter, int *chosen = nullptr, const QString &start = {}) override
    {
        starts << start;
        if (chosen)
            *chosen = chosenFilters.isEmpty() ? 0 : chosenFilters.takeFirst();
        return answer(filter);
    }
    QString askOpenPath(const QString &filter) override { return answer(filter); }
    bool ask(const Notice &question) override
    {
        questions.append(question);
        return yes;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Notice &n : notices)
            out << n.text;
        return out;
    }

    QList<Notice> notices;
    QStringList paths;        // answers to file questions, first first
    QStringList filters;      // the filters the program asked with
    QStringList starts;       // where each save dialog was to start
    QList<int> chosenFilters; // where the filter each save picks stands; the first when empty
    QList<Notice> questions;
    bool yes = true; // the answer to every question

private:
    QString answer(const QString &filter)
    {
        filters << filter;
        return paths.isEmpty() ? QString() : paths.takeFirst();
    }
};

} // namespace vq::test
