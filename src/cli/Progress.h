#pragma once

#include <QStringList>

#include <vector>

namespace vq::cli {

// A transfer's progress on one line of a terminal, rewritten in place:
// "label 42%" for each thing moving, side by side. Off the terminal (a
// file, a pipe) it prints nothing.
class Progress {
public:
    explicit Progress(const QStringList &labels);

    // The `index`th label is at `percent` now.
    void show(qsizetype index, int percent);
    // The line is left behind for whatever is said next.
    void end();

private:
    bool shown_;
    QStringList labels_;
    std::vector<int> percents_;
};

} // namespace vq::cli
