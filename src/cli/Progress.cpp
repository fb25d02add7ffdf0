#include "cli/Progress.h"

#include <cstdio>
#include <unistd.h>

namespace vq::cli {

Progress::Progress(const QStringList &labels)
    : shown_(::isatty(STDERR_FILENO) == 1), labels_(labels),
      percents_(static_cast<std::size_t>(labels.size()), 0)
{
}

void Progress::show(qsizetype index, int percent)
{
    if (!shown_)
        return;
    percents_[static_cast<std::size_t>(index)] = percent;
    QStringList parts;
    for (qsizetype i = 0; i < labels_.size(); ++i)
        parts << QStringLiteral("%1 %2%").arg(labels_.at(i),
                                              QString::number(percents_[static_cast<std::size_t>(i)]));
    std::fputs(qPrintable(QLatin1Char('\r') + parts.join(QStringLiteral("  "))), stderr);
}

void Progress::end()
{
    if (shown_)
        std::fputs("\n", stderr);
}

} // namespace vq::cli
