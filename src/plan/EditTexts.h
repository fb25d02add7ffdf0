#pragma once

#include "plan/BulkEdit.h"

#include "plan/Notice.h"

#include <QString>

namespace vq {

// The reasons of a refused grid edit, in the language in use.

// Why the edit as a whole was refused ("请先选择信道").
QString editErrorText(const EditError &error);

// Why a value may not stand where the edit would put it ("不是频率").
QString cellProblemReason(const CellProblem &problem);

// The refusal the user reads: `text`, then one line a problem ("第3信道
// 接收频率“abc”：不是频率"), the first 20 in full.
Notice bulkRefusal(const QString &text, const BulkEdit &edit);

namespace texts {
inline constexpr Text kOutOfRange{QT_TRANSLATE_NOOP("vq::texts", "数据超出范围 ！！")};
// Spreadsheet-style editing in the grid, each one undoable step.
inline constexpr Text kPasteStep{QT_TRANSLATE_NOOP("vq::texts", "粘贴")};
inline constexpr Text kClearStep{QT_TRANSLATE_NOOP("vq::texts", "清除")};
inline constexpr Text kFillDownStep{QT_TRANSLATE_NOOP("vq::texts", "向下填充")};
inline constexpr Text kChangeManyStep{QT_TRANSLATE_NOOP("vq::texts", "批量修改")};
inline constexpr Text kPresetStep{QT_TRANSLATE_NOOP("vq::texts", "插入预设频道")};
inline constexpr Text kSortByRxStep{QT_TRANSLATE_NOOP("vq::texts", "按接收频率排序")};
inline constexpr Text kSortByTxStep{QT_TRANSLATE_NOOP("vq::texts", "按发送频率排序")};
inline constexpr Text kMoveUpStep{QT_TRANSLATE_NOOP("vq::texts", "上移信道")};
inline constexpr Text kMoveDownStep{QT_TRANSLATE_NOOP("vq::texts", "下移信道")};
inline constexpr Text kDragRowsStep{QT_TRANSLATE_NOOP("vq::texts", "拖动信道")};
inline constexpr Text kInsertRowStep{QT_TRANSLATE_NOOP("vq::texts", "插入信道")};
inline constexpr Text kDeleteRowsStep{QT_TRANSLATE_NOOP("vq::texts", "删除信道")};
// Asked before an insert pushes the last channel off the table.
inline QString dropsLastChannel(int channel, const QString &frequency)
{
    return tr("插入后第%1信道（%2）将移出表格，是否继续？").arg(channel).arg(frequency);
}
inline constexpr Text kPasteRefused{QT_TRANSLATE_NOOP("vq::texts", "无法粘贴，表格未作任何修改")};
inline constexpr Text kEditRefused{QT_TRANSLATE_NOOP("vq::texts", "数据有误，表格未作任何修改")};
inline constexpr Text kPresetsUnavailable{QT_TRANSLATE_NOOP("vq::texts", "预设频道数据无法读取")};
// "第3信道 接收频率“abc”：不是频率": a value an edit would put in the grid.
inline QString cellProblem(int channel, const QString &column, const QString &value, const QString &why)
{
    return tr("第%1信道 %2“%3”：%4").arg(channel).arg(column, value, why);
}
} // namespace texts

} // namespace vq
