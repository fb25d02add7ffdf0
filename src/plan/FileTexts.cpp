#include "plan/FileTexts.h"

#include "channels/ValueDomains.h"
#include "plan/Notice.h"
#include "plan/RefusalText.h"

#include <QCoreApplication>
#include <QStringList>

namespace vq {

namespace {

QString joined(const std::vector<std::string> &names)
{
    QStringList list;
    for (const std::string &name : names)
        list << QString::fromStdString(name);
    return list.join(QCoreApplication::translate("vq::files", "、"));
}

QString faultReason(const CsvFileFault &fault)
{
    switch (fault.why) {
    case CsvFault::TooLarge:
        return QCoreApplication::translate("vq::files", "文件过大");
    case CsvFault::TooManyRecords:
        return QCoreApplication::translate("vq::files", "行数过多");
    case CsvFault::TooManyFields:
        return QCoreApplication::translate("vq::files", "列数过多");
    case CsvFault::MisplacedQuote:
        return QCoreApplication::translate("vq::files", "引号位置不对");
    case CsvFault::NotText:
        return QCoreApplication::translate("vq::files", "不是文本");
    case CsvFault::OpenQuote:
        return QCoreApplication::translate("vq::files", "引号没有结束");
    case CsvFault::NoHeader:
        return QCoreApplication::translate("vq::files", "没有表头");
    case CsvFault::NoData:
        return QCoreApplication::translate("vq::files", "没有信道数据");
    case CsvFault::ColumnTwice:
        return QCoreApplication::translate("vq::files", "列重复：%1").arg(joined(fault.names));
    case CsvFault::MissingColumns:
        return QCoreApplication::translate("vq::files", "缺少列：%1").arg(joined(fault.names));
    case CsvFault::None:
        break;
    }
    return {};
}

QString fileItem(int item, const QString &why)
{
    const int channel = (item - 1) / (kFieldCount - 1) + 1;
    const int field = (item - 1) % (kFieldCount - 1) + 1;
    return texts::fileItemProblem(item, channel,
                                  texts::fieldName(fieldNames()[static_cast<std::size_t>(field)]), why);
}

} // namespace

QString csvFaultText(const CsvFileFault &fault)
{
    if (fault.line <= 0)
        return faultReason(fault);
    return QCoreApplication::translate("vq::files", "第%1行：%2").arg(fault.line).arg(faultReason(fault));
}

QString csvProblemReason(const CsvProblem &problem)
{
    switch (problem.why) {
    case CsvReason::Value:
        return problem.refusal ? valueReason(*problem.refusal) : QString();
    case CsvReason::TransmitValue:
        return QCoreApplication::translate("vq::files", "%1%2")
            .arg(texts::fieldName(fieldNames()[TxFrequency]),
                 problem.refusal ? valueReason(*problem.refusal) : QString());
    case CsvReason::CommentValue:
        return QCoreApplication::translate("vq::files", "%1不是可选的值")
            .arg(QString::fromStdString(problem.refusal ? problem.refusal->value : problem.value));
    case CsvReason::FieldCount:
        return QCoreApplication::translate("vq::files", "字段数与表头不同");
    case CsvReason::NoSuchChannel:
        return QCoreApplication::translate("vq::files", "没有这个信道");
    case CsvReason::ChannelTwice:
        return QCoreApplication::translate("vq::files", "信道重复");
    case CsvReason::OnlyNN:
        return QCoreApplication::translate("vq::files", "只支持NN");
    case CsvReason::OnlyFM:
        return QCoreApplication::translate("vq::files", "对讲机只支持FM");
    case CsvReason::NotDuplex:
        return QCoreApplication::translate("vq::files", "不支持的频差方式");
    case CsvReason::NotOffset:
        return QCoreApplication::translate("vq::files", "不是频率差");
    case CsvReason::NotCrossMode:
        return QCoreApplication::translate("vq::files", "不支持的交叉方式");
    case CsvReason::NotToneMode:
        return QCoreApplication::translate("vq::files", "不支持的哑音方式");
    }
    return {};
}

QString csvWarningText(const CsvWarning &warning)
{
    switch (warning.why) {
    case CsvNote::UnknownColumns:
        return QCoreApplication::translate("vq::files", "忽略未知的列：%1").arg(joined(warning.names));
    case CsvNote::UnheldColumns:
        return QCoreApplication::translate("vq::files", "对讲机不能保存这些列，已忽略：%1").arg(joined(warning.names));
    case CsvNote::SkipAsAdd:
        return QCoreApplication::translate("vq::files", "第%1行：Skip为P，按add处理").arg(warning.line);
    }
    return {};
}

QString channelFileProblem(int item, ChannelFileError error)
{
    switch (error) {
    case ChannelFileError::NotText:
        return fileItem(item, QCoreApplication::translate("vq::files", "不是文本"));
    case ChannelFileError::TooFewItems:
        return fileItem(item, QCoreApplication::translate("vq::files", "缺少此项"));
    case ChannelFileError::BadFrequency:
        return fileItem(item, QCoreApplication::translate("vq::files", "不是频率"));
    case ChannelFileError::None:
        break;
    }
    return {};
}

QString channelFileValueProblem(int item, const ValueRefusal &refusal)
{
    return fileItem(
        item, QStringLiteral("“%1”%2").arg(QString::fromStdString(refusal.value), valueReason(refusal)));
}

} // namespace vq
