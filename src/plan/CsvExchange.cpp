#include "plan/CsvExchange.h"

#include "channels/ChannelJudge.h"
#include "files/ChannelCsv.h"
#include "plan/FileTexts.h"
#include "plan/Notice.h"
#include "plan/RefusalText.h"

#include <QFile>
#include <QStringDecoder>

#include <string_view>

namespace vq {

namespace {

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

Notice withProblems(Notice notice, const std::vector<CsvProblem> &problems)
{
    notice.informative = problemLines(problems.size(), [&problems](std::size_t i) {
        const CsvProblem &p = problems[i];
        return texts::csvProblem(p.line, texts::fieldName(p.column), fromStd(p.value), csvProblemReason(p));
    });
    return notice;
}

// The common layout names its columns in English; the program's own names
// the table's fields. The first line that is not a comment tells them apart.
bool isCommonLayout(std::string_view text)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom)
        text.remove_prefix(bom.size());
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!line.empty() && line.front() != '#')
            return line.find("Location") != std::string_view::npos;
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return false;
}

} // namespace

Result makeCsv(const PlanRows &rows, CsvLayout layout, QByteArray &bytes)
{
    if (layout == CsvLayout::Own) {
        bytes = QByteArray::fromStdString(writeOwnCsv(rows));
        return {};
    }
    const CsvExport common = writeCommonCsv(rows);
    if (!common.ok())
        return Result::refused(withProblems(errorNotice(texts::kCsvNotExported), common.problems));
    bytes = QByteArray::fromStdString(common.text);
    return {};
}

Result readCsvFile(const QString &path, std::string &text)
{
    const Notice badFormat = errorNotice(texts::kFileFormat);
    auto refuse = [&badFormat](const QString &why) {
        Notice notice = badFormat;
        notice.informative = why;
        return Result::refused(notice);
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    // Never more than the reader looks at: a huge file is refused unread.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxCsvBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    if (bytes.size() > static_cast<qsizetype>(kMaxCsvBytes))
        return refuse(texts::kFileTooLarge);
    const std::string_view raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (isValidUtf8(raw)) {
        text.assign(raw);
        return {};
    }
    QStringDecoder decoder("GB18030", QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.isValid() ? decoder.decode(bytes) : QString();
    if (!decoder.isValid() || decoder.hasError())
        return refuse(QCoreApplication::translate("vq::texts", "不是文本"));
    text = decoded.toStdString();
    return {};
}

Result csvChanges(const std::string &text, const PlanRows &current,
                  std::vector<ChannelStore::Change> &changes)
{
    const CsvImport reading = isCommonLayout(text) ? readCommonCsv(text, current)
                                                   : readOwnCsv(text, static_cast<int>(current.size()));
    if (reading.fault.why != CsvFault::None) {
        Notice notice = errorNotice(texts::kCsvRefused);
        notice.informative = csvFaultText(reading.fault);
        return Result::refused(notice);
    }
    if (!reading.ok())
        return Result::refused(withProblems(errorNotice(texts::kCsvRefused), reading.problems));
    changes.clear();
    changes.reserve(reading.changes.size());
    PlanRows after = current;
    for (const CsvChange &c : reading.changes) {
        changes.push_back({c.row, c.field, c.value});
        if (c.row >= 0 && c.row < static_cast<int>(after.size()))
            after[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)] = c.value;
    }
    // Each value met its column's rule; the rows as a whole meet the radio's.
    if (const Notice refused = planRefusal(errorNotice(texts::kCsvRefused), judgeChange(current, after));
        !refused.informative.isEmpty()) {
        changes.clear();
        return Result::refused(refused);
    }
    Result result;
    if (!reading.warnings.empty()) {
        QStringList lines;
        for (const CsvWarning &w : reading.warnings)
            lines << csvWarningText(w);
        Notice notice = errorNotice(texts::kCsvWarning);
        notice.informative = lines.join(QLatin1Char('\n'));
        result.notices << notice;
    }
    return result;
}

} // namespace vq
