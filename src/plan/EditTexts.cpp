#include "plan/EditTexts.h"

#include "channels/ValueDomains.h"
#include "plan/Notice.h"
#include "plan/RefusalText.h"

#include <QCoreApplication>

namespace vq {

namespace {

QString clipboardText(const EditError &error)
{
    switch (error.clipboard) {
    case TabularFault::TooLarge:
        return QCoreApplication::translate("vq::edits", "内容过多");
    case TabularFault::NotText:
        return QCoreApplication::translate("vq::edits", "不是文本");
    case TabularFault::TooManyLines:
        return QCoreApplication::translate("vq::edits", "内容过多，最多可粘贴%1行").arg(kMaxTabularLines - 1);
    case TabularFault::OpenQuote:
        return QCoreApplication::translate("vq::edits", "第%1行引号不成对").arg(error.line);
    case TabularFault::None:
        break;
    }
    return {};
}

} // namespace

QString editErrorText(const EditError &error)
{
    switch (error.why) {
    case EditFault::Clipboard:
        return clipboardText(error);
    case EditFault::NothingToPaste:
        return QCoreApplication::translate("vq::edits", "剪贴板中没有可粘贴的内容");
    case EditFault::NoCell:
        return QCoreApplication::translate("vq::edits", "请先选择要粘贴到的单元格");
    case EditFault::ChannelNumberColumn:
        return QCoreApplication::translate("vq::edits", "信道号不能修改，请从接收频率列起粘贴");
    case EditFault::PastLastRow:
        return QCoreApplication::translate("vq::edits", "粘贴的%1行从%2起超出第%3信道，未粘贴")
            .arg(error.count)
            .arg(QCoreApplication::translate("vq::edits", "第%1信道").arg(error.from + 1))
            .arg(error.last);
    case EditFault::PastShownRows:
        return QCoreApplication::translate("vq::edits", "粘贴的%1行从%2起超出显示的最后一行（第%3信道），未粘贴")
            .arg(error.count)
            .arg(QCoreApplication::translate("vq::edits", "第%1信道").arg(error.from + 1))
            .arg(error.last);
    case EditFault::HiddenRow:
        return QCoreApplication::translate("vq::edits", "第%1信道已被查找隐藏，未更改：请先清除查找")
            .arg(error.from + 1);
    case EditFault::PastLastColumn:
        return QCoreApplication::translate("vq::edits", "粘贴的%1列从“%2”列起超出表格，未粘贴")
            .arg(error.count)
            .arg(texts::fieldName(fieldNames()[static_cast<std::size_t>(error.from)]));
    case EditFault::NotOneColumn:
        return QCoreApplication::translate("vq::edits", "请选择同一列中的两个或更多单元格");
    case EditFault::NoChannel:
        return QCoreApplication::translate("vq::edits", "请先选择信道");
    case EditFault::StepNotNumber:
        return QCoreApplication::translate("vq::edits", "步进“%1”不是数字")
            .arg(QString::fromStdString(error.step));
    case EditFault::None:
        break;
    }
    return {};
}

QString cellProblemReason(const CellProblem &problem)
{
    if (problem.refusal)
        return refusalReason(*problem.refusal);
    return QCoreApplication::translate("vq::edits", "没有接收频率");
}

Notice bulkRefusal(const QString &text, const BulkEdit &edit)
{
    Notice notice = errorNotice(text);
    if (edit.error.why != EditFault::None) {
        notice.informative = editErrorText(edit.error);
        return notice;
    }
    notice.informative = problemLines(edit.problems.size(), [&edit](std::size_t i) {
        const CellProblem &p = edit.problems[i];
        return texts::cellProblem(p.row + 1, texts::fieldName(fieldNames()[static_cast<std::size_t>(p.column)]),
                                  QString::fromStdString(p.value), cellProblemReason(p));
    });
    return notice;
}

} // namespace vq
