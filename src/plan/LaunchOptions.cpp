#include "plan/LaunchOptions.h"

#include "plan/Language.h"
#include "plan/Notice.h"
#include "plan/PortSettings.h"

#include <QCommandLineParser>

namespace vq {

QString launchMistake(const QCommandLineParser &parser, const QStringList &single)
{
    for (const QString &name : single)
        if (parser.values(name).size() > 1)
            return texts::kRepeatedOption + QStringLiteral("--") + name;
    // An empty value is a slip of the shell (an unset variable), never a
    // device, file or language anyone meant.
    for (const QString &name : parser.optionNames())
        for (const QString &value : parser.values(name))
            if (value.trimmed().isEmpty())
                return texts::kEmptyOption + (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    // A store that can never be saved would lose every edit at exit.
    const QString store = parser.value(QStringLiteral("db"));
    if (store == QLatin1String(":memory:"))
        return texts::kUnsavableStore + QStringLiteral("--db \"%1\"").arg(store);
    const QString code = parser.value(QStringLiteral("lang"));
    if (parser.isSet(QStringLiteral("lang")) && !languageNamed(code))
        return texts::kUnknownLanguage + QStringLiteral("--lang ") + code;
    return {};
}

void useRunLanguage(const QString &code, PortSettings &settings)
{
    useLanguage(languageNamed(code.isEmpty() ? settings.loadLanguage() : code).value_or(Language::Chinese));
}

} // namespace vq
