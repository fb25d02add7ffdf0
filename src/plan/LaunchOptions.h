#pragma once

#include "plan/Notice.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace vq {

// Command-line mistakes, each followed by the usage; kept beside the rule
// that finds them, in the context of the program's other messages.
namespace texts {
inline constexpr Text kUnknownOption{QT_TRANSLATE_NOOP("vq::texts", "未知选项：")};
inline constexpr Text kStrayArgument{QT_TRANSLATE_NOOP("vq::texts", "多余的参数：")};
inline constexpr Text kRepeatedOption{QT_TRANSLATE_NOOP("vq::texts", "选项重复：")};
inline constexpr Text kUnknownLanguage{QT_TRANSLATE_NOOP("vq::texts", "未知语言：")};
inline constexpr Text kEmptyOption{QT_TRANSLATE_NOOP("vq::texts", "选项的值为空：")};
inline constexpr Text kUnsavableStore{QT_TRANSLATE_NOOP("vq::texts", "无法保存的信道数据库：")};
} // namespace texts

class PortSettings;

// What the window's command line and the tool's decide alike, so that a
// mistake reads the same from either.

// The first mistake among the options both take: one of `single` given
// more than once, any option with an empty value, a --db that could never be saved, a --lang the program
// does not speak. Empty when there is none.
QString launchMistake(const QCommandLineParser &parser, const QStringList &single);

// Puts the program in the language of this run: `code` when one was given,
// else the one chosen in the window. A one-run choice is not remembered.
void useRunLanguage(const QString &code, PortSettings &settings);

} // namespace vq
