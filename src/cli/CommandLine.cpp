#include "cli/CommandLine.h"

#include "plan/LaunchOptions.h"
#include "plan/Notice.h"
#include "plan/PortSettings.h"
#include "plan/Programmer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <map>
#include <set>

namespace vq::cli {

namespace {

// The synopsis lines are commands and stay as they are in every language.
QString usage()
{
    return Cli::tr("用法:") + QStringLiteral(R"(
  vq4471r-cli ports [--json]
  vq4471r-cli probe   --port DEV
  vq4471r-cli read    --port DEV [--db FILE] [--csv FILE [--layout own|common]]
  vq4471r-cli write   --port DEV [--port DEV ...] [--db FILE | --csv FILE] [--verify]
  vq4471r-cli export  [--db FILE] [--layout own|common] FILE|-
  vq4471r-cli import  [--db FILE] FILE
  vq4471r-cli diff    --port DEV [--db FILE | --csv FILE]
  vq4471r-cli check   [--db FILE] [--region cn|eu|us [--licence none|amateur]]
  vq4471r-cli sort    --by rx|tx [--db FILE]
  vq4471r-cli chart   [--db FILE] [--region cn|eu|us [--licence none|amateur]] FILE.svg|FILE.png
  vq4471r-cli report  [--db FILE] FILE
  (--lang zh|en)

)") +
           Cli::tr("read 把对讲机的信道存入数据库；只给 --csv 时只写入该CSV文件，数据库不变。\n"
                   "write 同时写入每个 --port 的对讲机。\n"
                   "diff 读出对讲机并与计划比较：0 相同, 1 不同。\n"
                   "退出状态: 0 成功, 1 失败, 2 用法错误。");
}

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
        {QStringLiteral("diff"), {{QStringLiteral("port"), QStringLiteral("db"), QStringLiteral("csv")}, 0}},
        {QStringLiteral("check"), {{QStringLiteral("db"), QStringLiteral("region"), QStringLiteral("licence")}, 0}},
        {QStringLiteral("sort"), {{QStringLiteral("db"), QStringLiteral("by")}, 0}},
        {QStringLiteral("chart"), {{QStringLiteral("db"), QStringLiteral("region"), QStringLiteral("licence")}, 1}},
        {QStringLiteral("report"), {{QStringLiteral("db")}, 1}},
    };
    return shapes;
}

QString checkShape(const QCommandLineParser &parser, Command &command)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return Cli::tr("缺少命令");
    command.verb = positional.first();
    const auto shape = verbs().find(command.verb);
    if (shape == verbs().end())
        return Cli::tr("未知命令：") + command.verb;
    for (const QString &name : parser.optionNames())
        if (name != QLatin1String("lang") && !shape->second.options.count(name))
            return Cli::tr("%1 不接受选项 --%2").arg(command.verb, name);
    const qsizetype files = positional.size() - 1;
    if (files > shape->second.files)
        return texts::kStrayArgument + positional.at(shape->second.files + 1);
    if (files < shape->second.files || (files == 1 && positional.at(1).trimmed().isEmpty()))
        return Cli::tr("%1 缺少文件名").arg(command.verb);
    if (files == 1)
        command.file = positional.at(1);
    // Only a write goes to more than one radio.
    QStringList single{QStringLiteral("db"),     QStringLiteral("csv"),    QStringLiteral("layout"),
                       QStringLiteral("by"),     QStringLiteral("region"), QStringLiteral("licence")};
    if (command.verb != QLatin1String("write"))
        single << QStringLiteral("port");
    if (const QString mistake = launchMistake(parser, single); !mistake.isEmpty())
        return mistake;
    command.ports = parser.values(QStringLiteral("port"));
    if (shape->second.options.count(QStringLiteral("port")) && command.ports.isEmpty())
        return Cli::tr("%1 需要 --port").arg(command.verb);
    if (command.ports.removeDuplicates() > 0)
        return texts::kRepeatedOption + QStringLiteral("--port");
    command.databaseGiven = parser.isSet(QStringLiteral("db"));
    if (command.databaseGiven)
        command.database = parser.value(QStringLiteral("db"));
    command.csv = parser.value(QStringLiteral("csv"));
    if ((command.verb == QLatin1String("write") || command.verb == QLatin1String("diff")) && command.databaseGiven &&
        parser.isSet(QStringLiteral("csv")))
        return Cli::tr("--db 与 --csv 只能选一个");
    const QString layout = parser.value(QStringLiteral("layout"));
    if (layout != QLatin1String("own") && layout != QLatin1String("common"))
        return Cli::tr("--layout 只能是 own 或 common");
    command.layout = layout == QLatin1String("common") ? CsvLayout::Common : CsvLayout::Own;
    if (command.verb == QLatin1String("read") && parser.isSet(QStringLiteral("layout")) &&
        command.csv.isEmpty())
        return Cli::tr("--layout 需要 --csv");
    if (command.verb == QLatin1String("sort")) {
        const QString by = parser.value(QStringLiteral("by"));
        if (by != QLatin1String("rx") && by != QLatin1String("tx"))
            return Cli::tr("sort 需要 --by rx 或 --by tx");
        command.sortBy = by == QLatin1String("rx") ? SortKey::Receive : SortKey::Transmit;
    }
    if (parser.isSet(QStringLiteral("region")) || parser.isSet(QStringLiteral("licence"))) {
        const QString region = parser.value(QStringLiteral("region"));
        const QString licence = parser.value(QStringLiteral("licence"));
        if (region != QLatin1String("cn") && region != QLatin1String("eu") && region != QLatin1String("us"))
            return Cli::tr("--region 只能是 cn、eu 或 us");
        if (parser.isSet(QStringLiteral("licence")) && licence != QLatin1String("none") &&
            licence != QLatin1String("amateur"))
            return Cli::tr("--licence 只能是 none 或 amateur");
        command.air = {region, licence == QLatin1String("amateur")};
    }
    command.verify = parser.isSet(QStringLiteral("verify"));
    command.json = parser.isSet(QStringLiteral("json"));
    return {};
}

// The language must be in use before the help and the first message are
// made, so --lang is looked for ahead of the parser; a one-run choice is not
// remembered, and without one the window's remembered choice holds.
void chooseLanguage(const QStringList &arguments)
{
    QString code;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--lang") && i + 1 < arguments.size())
            code = arguments.at(i + 1);
        else if (arguments.at(i).startsWith(QLatin1String("--lang=")))
            code = arguments.at(i).mid(7);
    }
    PortSettings settings;
    useRunLanguage(code, settings);
}

} // namespace

std::optional<Command> parseCommand(const QCoreApplication &app)
{
    chooseLanguage(app.arguments());
    Command command;
    command.database = DataFolders::defaultStorePath();
    QCommandLineParser parser;
    // The default store on a line of its own: in an option's text a long
    // path would be broken where the help wraps.
    parser.setApplicationDescription(Cli::tr("VQ4471R 信道设置（命令行）") + QStringLiteral("\n\n") +
                                     usage() + QLatin1Char('\n') + Cli::tr("默认信道数据库：") +
                                     QDir::toNativeSeparators(command.database));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("port"), Cli::tr("串口设备（write 可给多个）。"), QStringLiteral("DEV")},
        {QStringLiteral("db"), Cli::tr("信道数据库文件（默认见上）。"), QStringLiteral("FILE")},
        {QStringLiteral("csv"), Cli::tr("CSV 文件。"), QStringLiteral("FILE")},
        {QStringLiteral("layout"), Cli::tr("CSV 格式：own（本程序）或 common（通用格式）。"),
         QStringLiteral("own|common"), QStringLiteral("own")},
        {QStringLiteral("verify"), Cli::tr("写入后读回校验。")},
        {QStringLiteral("json"), Cli::tr("以 JSON 输出。")},
        {QStringLiteral("by"), Cli::tr("排序依据：rx（接收频率）或 tx（发送频率）。"), QStringLiteral("rx|tx")},
        {QStringLiteral("region"), Cli::tr("按所在地区的频率规则检查发射频率：cn、eu 或 us。"),
         QStringLiteral("cn|eu|us")},
        {QStringLiteral("licence"), Cli::tr("持有的执照：none（默认）或 amateur。"), QStringLiteral("none|amateur")},
        {QStringLiteral("lang"), Cli::tr("这一次用的语言：zh（默认）或 en。"), QStringLiteral("zh|en")},
    });
    parser.addPositionalArgument(QStringLiteral("command"),
                                 Cli::tr("ports、probe、read、write、diff、export、import、check、sort、chart 或 report。"));
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
        std::fputs(qPrintable(mistake + QLatin1Char('\n') + usage() + QLatin1Char('\n')), stderr);
        return std::nullopt;
    }
    return command;
}

} // namespace vq::cli
