#include "cli/CommandLine.h"

#include "plan/Notice.h"
#include "plan/Programmer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <map>
#include <set>

namespace vq::cli {

namespace {

const QString kUsage = QStringLiteral(R"(用法:
  vq4471r-cli ports [--json]
  vq4471r-cli probe   --port DEV
  vq4471r-cli read    --port DEV [--db FILE] [--csv FILE [--layout own|common]]
  vq4471r-cli write   --port DEV [--port DEV ...] [--db FILE | --csv FILE] [--verify]
  vq4471r-cli export  [--db FILE] [--layout own|common] FILE|-
  vq4471r-cli import  [--db FILE] FILE
  vq4471r-cli check   [--db FILE]

read 把对讲机的信道存入数据库；只给 --csv 时只写入该CSV文件，数据库不变。
write 同时写入每个 --port 的对讲机。
退出状态: 0 成功, 1 失败, 2 用法错误。)");

// The options each verb takes, and how many positional arguments.
struct VerbShape {
    std::set<QString> options;
    int files = 0;
};

const std::map<QString, VerbShape> &verbs()
{
    static const std::map<QString, VerbShape> shapes{
        {QStringLiteral("ports"), {{QStringLiteral("json")}, 0}},
        {QStringLiteral("probe"), {{QStringLiteral("port")}, 0}},
        {QStringLiteral("read"),
         {{QStringLiteral("port"), QStringLiteral("db"), QStringLiteral("csv"), QStringLiteral("layout")},
          0}},
        {QStringLiteral("write"),
         {{QStringLiteral("port"), QStringLiteral("db"), QStringLiteral("csv"), QStringLiteral("verify")},
          0}},
        {QStringLiteral("export"), {{QStringLiteral("db"), QStringLiteral("layout")}, 1}},
        {QStringLiteral("import"), {{QStringLiteral("db")}, 1}},
        {QStringLiteral("check"), {{QStringLiteral("db")}, 0}},
    };
    return shapes;
}

QString checkShape(const QCommandLineParser &parser, Command &command)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return QStringLiteral("缺少命令");
    command.verb = positional.first();
    const auto shape = verbs().find(command.verb);
    if (shape == verbs().end())
        return QStringLiteral("未知命令：") + command.verb;
    for (const QString &name : parser.optionNames())
        if (!shape->second.options.count(name))
            return QStringLiteral("%1 不接受选项 --%2").arg(command.verb, name);
    const qsizetype files = positional.size() - 1;
    if (files > shape->second.files)
        return texts::kStrayArgument + positional.at(shape->second.files + 1);
    if (files < shape->second.files)
        return QStringLiteral("%1 缺少文件名").arg(command.verb);
    if (files == 1)
        command.file = positional.at(1);
    for (const QString &single : {QStringLiteral("db"), QStringLiteral("csv"), QStringLiteral("layout")})
        if (parser.values(single).size() > 1)
            return texts::kRepeatedOption + QStringLiteral("--") + single;
    command.ports = parser.values(QStringLiteral("port"));
    if (shape->second.options.count(QStringLiteral("port")) && command.ports.isEmpty())
        return QStringLiteral("%1 需要 --port").arg(command.verb);
    if (command.verb != QLatin1String("write") && command.ports.size() > 1)
        return texts::kRepeatedOption + QStringLiteral("--port");
    if (command.ports.removeDuplicates() > 0)
        return texts::kRepeatedOption + QStringLiteral("--port");
    command.databaseGiven = parser.isSet(QStringLiteral("db"));
    if (command.databaseGiven)
        command.database = parser.value(QStringLiteral("db"));
    command.csv = parser.value(QStringLiteral("csv"));
    if (command.verb == QLatin1String("write") && command.databaseGiven &&
        parser.isSet(QStringLiteral("csv")))
        return QStringLiteral("--db 与 --csv 只能选一个");
    command.layout = parser.value(QStringLiteral("layout"));
    if (command.layout != QLatin1String("own") && command.layout != QLatin1String("common"))
        return QStringLiteral("--layout 只能是 own 或 common");
    if (command.verb == QLatin1String("read") && parser.isSet(QStringLiteral("layout")) &&
        command.csv.isEmpty())
        return QStringLiteral("--layout 需要 --csv");
    if (command.databaseGiven &&
        (command.database.isEmpty() || command.database == QLatin1String(":memory:")))
        return texts::kUnsavableStore + QStringLiteral("--db \"%1\"").arg(command.database);
    if (parser.isSet(QStringLiteral("csv")) && command.csv.isEmpty())
        return QStringLiteral("--csv 缺少文件名");
    command.verify = parser.isSet(QStringLiteral("verify"));
    command.json = parser.isSet(QStringLiteral("json"));
    return {};
}

} // namespace

std::optional<Command> parseCommand(const QCoreApplication &app)
{
    Command command;
    command.database = Programmer::defaultStorePath();
    QCommandLineParser parser;
    // The default store on a line of its own: in an option's text a long
    // path would be broken where the help wraps.
    parser.setApplicationDescription(QStringLiteral("VQ4471R 信道设置（命令行）\n\n") + kUsage +
                                     QStringLiteral("\n默认信道数据库：") +
                                     QDir::toNativeSeparators(command.database));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("port"), QStringLiteral("串口设备（write 可给多个）。"), QStringLiteral("DEV")},
        {QStringLiteral("db"), QStringLiteral("信道数据库文件（默认见上）。"), QStringLiteral("FILE")},
        {QStringLiteral("csv"), QStringLiteral("CSV 文件。"), QStringLiteral("FILE")},
        {QStringLiteral("layout"), QStringLiteral("CSV 格式：own（本程序）或 common（通用格式）。"),
         QStringLiteral("own|common"), QStringLiteral("own")},
        {QStringLiteral("verify"), QStringLiteral("写入后读回校验。")},
        {QStringLiteral("json"), QStringLiteral("以 JSON 输出。")},
    });
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("ports、probe、read、write、export、import 或 check。"));
    QString mistake;
    if (!parser.parse(app.arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        mistake = unknown.isEmpty() ? parser.errorText() : texts::kUnknownOption + unknown.first();
    } else if (parser.isSet(help)) {
        parser.showHelp(0);
    } else if (parser.isSet(version)) {
        parser.showVersion();
    } else {
        mistake = checkShape(parser, command);
    }
    if (!mistake.isEmpty()) {
        std::fputs(qPrintable(mistake + QLatin1Char('\n') + kUsage + QLatin1Char('\n')), stderr);
        return std::nullopt;
    }
    return command;
}

} // namespace vq::cli
