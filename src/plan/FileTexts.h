#pragma once

#include "channels/ChannelJudge.h"
#include "files/ChannelFile.h"
#include "files/CsvImport.h"

#include "plan/Notice.h"

#include <QString>

#include <string>

namespace vq {

// What reading a CSV or channel file found, in the language in use.

// Why a CSV file was refused as a whole: "第3行：引号没有结束", or the
// reason alone when no line is at fault.
QString csvFaultText(const CsvFileFault &fault);

// Why a record's value was refused, after "第3行 Tone“XYZ”：".
QString csvProblemReason(const CsvProblem &problem);

// What an import took other than written, or left out.
QString csvWarningText(const CsvWarning &warning);

// Where a channel file goes wrong: "第N项（第M信道 接收频率）不是频率".
QString channelFileProblem(int item, ChannelFileError error);
// An item that reads, but not as a value of its field:
// "第N项（第M信道 收哑音）“88.4”不是可用的哑音".
QString channelFileValueProblem(int item, const ValueRefusal &refusal);

namespace texts {
inline constexpr Text kFileFormat{QT_TRANSLATE_NOOP("vq::texts", "文件格式错误")};
inline constexpr Text kFileSaveFailed{QT_TRANSLATE_NOOP("vq::texts", "文件保存失败")};
inline constexpr Text kNotARegularFile{QT_TRANSLATE_NOOP("vq::texts", "目标不是普通文件")};
inline constexpr Text kFileTooLarge{QT_TRANSLATE_NOOP("vq::texts", "文件过大")};
// Where a channel file goes wrong: "第N项（第M信道 接收频率）不是频率".
inline QString fileItemProblem(int item, int channel, const QString &field, const QString &why)
{
    return tr("第%1项（第%2信道 %3）%4").arg(item).arg(channel).arg(field, why);
}
inline constexpr Text kTraceIsStore{QT_TRANSLATE_NOOP("vq::texts", "这是信道数据库文件")};
// CSV import and export.
inline constexpr Text kImportStep{QT_TRANSLATE_NOOP("vq::texts", "导入CSV")};
inline constexpr Text kCsvRefused{QT_TRANSLATE_NOOP("vq::texts", "CSV文件有误，未导入任何数据")};
inline constexpr Text kCsvNotExported{QT_TRANSLATE_NOOP("vq::texts", "有信道无法用通用格式表示，未导出")};
inline constexpr Text kCsvWarning{QT_TRANSLATE_NOOP("vq::texts", "CSV文件已导入，但请注意：")};
inline constexpr Text kCsvFilter{QT_TRANSLATE_NOOP("vq::texts", "CSV 文件 (*.csv)")};
inline constexpr Text kCsvCommonFilter{QT_TRANSLATE_NOOP("vq::texts", "通用格式 (*.csv)")};
// "第3行 Tone“XYZ”：不是可用的模式": where a CSV row goes wrong.
inline QString csvProblem(int line, const QString &column, const QString &value, const QString &why)
{
    return tr("第%1行 %2“%3”：%4").arg(line).arg(column, value, why);
}
inline QString csvMoreProblems(qsizetype count)
{
    return tr("另有%1处问题").arg(count);
}
// The channel card, printed or as PDF.
inline constexpr Text kPdfFilter{QT_TRANSLATE_NOOP("vq::texts", "PDF 文件 (*.pdf)")};
inline constexpr Text kCardTitle{QT_TRANSLATE_NOOP("vq::texts", "导出PDF")};
inline constexpr Text kCardOnlyWithRx{QT_TRANSLATE_NOOP("vq::texts", "只打印有接收频率的信道")};
inline constexpr Text kAskPdfOnlyWithRx{QT_TRANSLATE_NOOP("vq::texts", "只导出有接收频率的信道吗？")};
inline constexpr Text kCardNotDrawn{QT_TRANSLATE_NOOP("vq::texts", "无法生成PDF")};
} // namespace texts

} // namespace vq
