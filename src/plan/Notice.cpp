#include "plan/Notice.h"

#include "channels/ChannelStore.h"

#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

namespace vq::texts {

namespace {
// The fixed phrases of the channel rules; composed ones stay as they are.
[[maybe_unused]] const char *const kReasons[] = {
    QT_TRANSLATE_NOOP("vq::reasons", "没有接收频率"),
    QT_TRANSLATE_NOOP("vq::reasons", "剪贴板中没有可粘贴的内容"),
    QT_TRANSLATE_NOOP("vq::reasons", "请先选择要粘贴到的单元格"),
    QT_TRANSLATE_NOOP("vq::reasons", "信道号不能修改，请从接收频率列起粘贴"),
    QT_TRANSLATE_NOOP("vq::reasons", "请选择同一列中的两个或更多单元格"),
    QT_TRANSLATE_NOOP("vq::reasons", "请先选择信道"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是频率"),
    QT_TRANSLATE_NOOP("vq::reasons", "超出范围"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是可用的哑音"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是可用的数字哑音"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是可选的值"),
    QT_TRANSLATE_NOOP("vq::reasons", "行数过多"),
    QT_TRANSLATE_NOOP("vq::reasons", "列数过多"),
    QT_TRANSLATE_NOOP("vq::reasons", "引号位置不对"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是文本"),
    QT_TRANSLATE_NOOP("vq::reasons", "引号没有结束"),
    QT_TRANSLATE_NOOP("vq::reasons", "文件过大"),
    QT_TRANSLATE_NOOP("vq::reasons", "没有表头"),
    QT_TRANSLATE_NOOP("vq::reasons", "没有信道数据"),
    QT_TRANSLATE_NOOP("vq::reasons", "超出信道表的行数"),
    QT_TRANSLATE_NOOP("vq::reasons", "字段数与表头不同"),
    QT_TRANSLATE_NOOP("vq::reasons", "只支持NN"),
    QT_TRANSLATE_NOOP("vq::reasons", "对讲机只支持FM"),
    QT_TRANSLATE_NOOP("vq::reasons", "没有这个信道"),
    QT_TRANSLATE_NOOP("vq::reasons", "不支持的频差方式"),
    QT_TRANSLATE_NOOP("vq::reasons", "不是频率差"),
    QT_TRANSLATE_NOOP("vq::reasons", "不支持的交叉方式"),
    QT_TRANSLATE_NOOP("vq::reasons", "不支持的哑音方式"),
    QT_TRANSLATE_NOOP("vq::reasons", "信道重复"),
    QT_TRANSLATE_NOOP("vq::reasons", "内容过多"),
};
[[maybe_unused]] const char *const kFields[] = {
    QT_TRANSLATE_NOOP("vq::fields", "信道号"),     QT_TRANSLATE_NOOP("vq::fields", "接收频率"),
    QT_TRANSLATE_NOOP("vq::fields", "收哑音"),     QT_TRANSLATE_NOOP("vq::fields", "收数字哑音"),
    QT_TRANSLATE_NOOP("vq::fields", "发送频率"),   QT_TRANSLATE_NOOP("vq::fields", "发哑音"),
    QT_TRANSLATE_NOOP("vq::fields", "发数字哑音"), QT_TRANSLATE_NOOP("vq::fields", "扫描"),
    QT_TRANSLATE_NOOP("vq::fields", "拍频")};
} // namespace

QString fieldName(std::string_view name)
{
    return QCoreApplication::translate("vq::fields", std::string(name).c_str());
}

namespace {

// Reasons the rules compose around a value, as patterns: the pattern is
// translated and the values put back, each translated in turn when it is
// itself a phrase ("第5信道", a field name).
const char *const kComposedReasons[] = {
    QT_TRANSLATE_NOOP("vq::reasons", "第%1信道"),
    QT_TRANSLATE_NOOP("vq::reasons", "列重复：%1"),
    QT_TRANSLATE_NOOP("vq::reasons", "缺少列：%1"),
    QT_TRANSLATE_NOOP("vq::reasons", "忽略未知的列：%1"),
    QT_TRANSLATE_NOOP("vq::reasons", "第%1行：Skip为P，按add处理"),
    QT_TRANSLATE_NOOP("vq::reasons", "%1不在步进上，会变成%2"),
    QT_TRANSLATE_NOOP("vq::reasons", "内容过多，最多可粘贴%1行"),
    QT_TRANSLATE_NOOP("vq::reasons", "第%1行引号不成对"),
    QT_TRANSLATE_NOOP("vq::reasons", "粘贴的%1行从%2起超出第%3信道，未粘贴"),
    QT_TRANSLATE_NOOP("vq::reasons", "粘贴的%1列从“%2”列起超出表格，未粘贴"),
    QT_TRANSLATE_NOOP("vq::reasons", "步进“%1”不是数字"),
    QT_TRANSLATE_NOOP("vq::reasons", "数据块长度为%1，应为%2"),
    QT_TRANSLATE_NOOP("vq::reasons", "第%1位字符“%2”不是十六进制数字"),
    QT_TRANSLATE_NOOP("vq::reasons", "第%1位字符“%2”不是十进制数字"),
    QT_TRANSLATE_NOOP("vq::reasons", "%1不是可选的值"),
    QT_TRANSLATE_NOOP("vq::reasons", "%1不是整数"),
    QT_TRANSLATE_NOOP("vq::reasons", "%1超出范围"),
    QT_TRANSLATE_NOOP("vq::reasons", "%1值无效"),
    QT_TRANSLATE_NOOP("vq::reasons", "%1不是频率"),
};

bool hasHan(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF; });
}

} // namespace

QString reason(const std::string &why)
{
    const QString text = QString::fromStdString(why);
    const QString fixed = QCoreApplication::translate("vq::reasons", why.c_str());
    if (fixed != text || !hasHan(text))
        return fixed;
    const QString field = QCoreApplication::translate("vq::fields", why.c_str());
    if (field != text)
        return field;
    static const auto patterns = [] {
        std::vector<std::pair<const char *, QRegularExpression>> list;
        for (const char *source : kComposedReasons) {
            QString expression = QRegularExpression::escape(QString::fromUtf8(source));
            for (int n = 1; n <= 3; ++n)
                expression.replace(QStringLiteral("\\%%1").arg(n), QStringLiteral("(.+?)"));
            list.emplace_back(source, QRegularExpression(QLatin1Char('^') + expression + QLatin1Char('$')));
        }
        return list;
    }();
    for (const auto &[source, expression] : patterns) {
        const QRegularExpressionMatch match = expression.match(text);
        if (!match.hasMatch())
            continue;
        QString out = QCoreApplication::translate("vq::reasons", source);
        for (int n = 1; n <= match.lastCapturedIndex(); ++n) {
            const QString value = match.captured(n);
            out = out.arg(hasHan(value) ? reason(value.toStdString()) : value);
        }
        return out;
    }
    return text;
}

QString storeOpenCause(const ChannelStore &store)
{
    using E = ChannelStore::OpenError;
    switch (store.openError()) {
    case E::Locked:
        return kStoreLocked;
    case E::NotADatabase:
        return kStoreNotADatabase;
    case E::NoTable:
        return kStoreNoTable;
    case E::MissingColumns:
        return storeMissingColumns(store.missingColumns());
    case E::NoFolder:
        return kStoreNoFolder;
    case E::NoPermission:
        return kStoreNoPermission;
    case E::None:
    case E::CannotOpen:
        break;
    }
    return {};
}

QString snapshotReason(ChannelHistory::Reason reason)
{
    using R = ChannelHistory::Reason;
    switch (reason) {
    case R::Read:
        return tr("读自对讲机");
    case R::Write:
        return tr("写入对讲机");
    case R::StartUpWrite:
        return tr("启动时写入对讲机");
    case R::FileOpen:
        return tr("打开文件前");
    case R::Import:
        return tr("导入前");
    case R::Restore:
        return tr("恢复前");
    case R::VerifyReadBack:
        return tr("校验时读回");
    }
    return {};
}

} // namespace vq::texts
