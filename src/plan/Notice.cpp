#include "plan/Notice.h"

namespace vq::texts {

namespace {
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

} // namespace vq::texts
