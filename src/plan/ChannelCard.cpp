#include "plan/ChannelCard.h"

#include "channels/ValueDomains.h"
#include "plan/FileSave.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace vq {

namespace {

bool hasReceiveFrequency(const ChannelRecord &record)
{
    return !QString::fromStdString(textOf(record[RxFrequency])).trimmed().isEmpty();
}

// An empty cell keeps its line, so every row stands as high as the others.
QString cell(const std::string &text)
{
    const QString shown = QString::fromStdString(text).trimmed();
    return shown.isEmpty() ? QStringLiteral("&nbsp;") : shown.toHtmlEscaped();
}

} // namespace

ChannelCard::ChannelCard(const PlanRows &rows, Options options) : rows_(rows), options_(std::move(options))
{
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (!options_.onlyWithReceiveFrequency || hasReceiveFrequency(rows_[static_cast<std::size_t>(row)]))
            listed_.push_back(row);
}

QString ChannelCard::title() const
{
    return QCoreApplication::translate("vq::ChannelCard", "VQ4471R 信道表");
}

QString ChannelCard::html() const
{
    const QDate &d = options_.date;
    QString out = QStringLiteral("<p align=\"center\" style=\"font-size:15pt; font-weight:bold\">%1</p>")
                      .arg(title().toHtmlEscaped());
    out += QCoreApplication::translate(
               "vq::ChannelCard",
               "<p>日期：%1年%2月%3日&nbsp;&nbsp;&nbsp;&nbsp;数据库：%4&nbsp;&nbsp;&nbsp;&nbsp;"
               "共%5个信道</p>")
               // In one pass: a file name may hold a "%" of its own.
               .arg(QString::number(d.year()), QString::number(d.month()), QString::number(d.day()),
                    QFileInfo(options_.database).fileName().toHtmlEscaped(), QString::number(listed_.size()));
    out += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                          "style=\"border-collapse:collapse; border-color:#000\"><thead><tr>");
    // Columns as wide, relative to each other, as the grid draws them.
    double total = 0;
    for (double width : columnWidthsTwips())
        total += width;
    for (int field = 0; field < kFieldCount; ++field) {
        const auto at = static_cast<std::size_t>(field);
        out += QStringLiteral("<th width=\"%1%\" align=\"left\" style=\"white-space:nowrap\">%2</th>")
                   .arg(qRound(columnWidthsTwips()[at] * 100 / total))
                   .arg(QCoreApplication::translate("vq::columns", std::string(columnCaptions()[at]).c_str())
                            .trimmed()
                            .toHtmlEscaped());
    }
    out += QStringLiteral("</tr></thead>");
    for (int row : listed_) {
        out += QStringLiteral("<tr>");
        for (const FieldValue &value : rows_[static_cast<std::size_t>(row)])
            out += QStringLiteral("<td>%1</td>").arg(cell(textOf(value)));
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>");
}

bool ChannelCard::hasEmptyChannels(const PlanRows &rows)
{
    return std::any_of(rows.begin(), rows.end(),
                       [](const ChannelRecord &r) { return !hasReceiveFrequency(r); });
}

Result ChannelCard::savePdf(QString path, const Writer &write)
{
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    return saveRendered(path, write);
}

} // namespace vq
