#pragma once

#include <QCoreApplication>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

class QTestData;

namespace vq {

// A message the user must read, as core objects report it; the window turns
// it into a modal message box.
struct Notice {
    enum class Icon { None, Information, Exclamation };
    Icon icon = Icon::Information;
    QString title;
    QString text;
    // A second line with what the user can do about it, when there is one.
    QString informative;
};

// The program's own message texts, one header an area (StoreTexts,
// LinkTexts, FileTexts, EditTexts), so that every path that reports the
// same failure says it the same way. Chinese is the source text; each is
// looked up when it is shown, so a message comes out in the language in
// use then, not the one at start-up.
namespace texts {
inline QString tr(const char *source)
{
    return QCoreApplication::translate("vq::texts", source);
}
// A fixed text: its Chinese source, translated wherever it becomes a QString.
struct Text {
    const char *source;
    operator QString() const { return tr(source); }
    QString text() const { return tr(source); }
    template <typename... Args> QString arg(Args &&...args) const
    {
        return text().arg(std::forward<Args>(args)...);
    }
    friend QString operator+(const Text &a, const QString &b) { return a.text() + b; }
    friend QString operator+(const QString &a, const Text &b) { return a + b.text(); }
    friend QString operator+(const Text &a, const Text &b) { return a.text() + b.text(); }
    friend bool operator==(const Text &a, const QString &b) { return a.text() == b; }
};
// A test's data table takes a fixed text as the QString it becomes (defined
// with the test support, the only place that uses it).
QTestData &operator<<(QTestData &data, const Text &text);
inline constexpr Text kSystemTitle{QT_TRANSLATE_NOOP("vq::texts", "系统信息")};
inline constexpr Text kErrorTitle{QT_TRANSLATE_NOOP("vq::texts", "错误警告 ")};
// A field of the table by the name the interface gives it.
QString fieldName(std::string_view name);
// Said when something must wait for a transfer to end.
inline constexpr Text kTransferBusyRetry{QT_TRANSLATE_NOOP("vq::texts", "数据传送中，请稍后再试")};
} // namespace texts

// A data or link error, and a port problem, in the program's two styles.
inline Notice errorNotice(const QString &text)
{
    return Notice{Notice::Icon::Information, texts::kErrorTitle, text, {}};
}
inline Notice systemNotice(const QString &text)
{
    return Notice{Notice::Icon::Exclamation, texts::kSystemTitle, text, {}};
}
// The notice with a second line saying why.
inline Notice withReason(Notice notice, const QString &reason)
{
    notice.informative = reason;
    return notice;
}

} // namespace vq

Q_DECLARE_METATYPE(vq::Notice)
