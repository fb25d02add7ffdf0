#pragma once

#include "app/Messenger.h"

namespace vq::bench {

// Stands in for the message boxes: a benchmark cannot click them away.
class QuietMessenger : public vq::Messenger {
public:
    void show(const vq::Notice &) override {}
    QString askSavePath(const QString &, int * = nullptr, const QString & = {}) override { return {}; }
    QString askOpenPath(const QString &) override { return {}; }
    bool ask(const vq::Notice &) override { return false; }
};

} // namespace vq::bench
