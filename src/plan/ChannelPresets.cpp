#include "plan/ChannelPresets.h"

#include "channels/ValueDomains.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vq {

namespace {

int fieldOf(const QString &name)
{
    for (int f = RxFrequency; f < kFieldCount; ++f)
        if (name.toStdString() == fieldNames()[static_cast<std::size_t>(f)])
            return f;
    return -1;
}

std::vector<ChannelPreset> unreadable(QString *problem, const QString &why)
{
    if (problem)
        *problem = why;
    return {};
}

// The names the shipped data gives its sets, so that their translations
// are gathered with the program's other texts.
[[maybe_unused]] constexpr const char *kShippedNames[] = {
    QT_TRANSLATE_NOOP("vq::presets", "公众对讲频道（免执照）"),
    QT_TRANSLATE_NOOP("vq::presets", "PMR446"),
};

} // namespace

QString ChannelPreset::shownName() const
{
    return QCoreApplication::translate("vq::presets", name.toUtf8().constData());
}

std::vector<ChannelPreset> readChannelPresets(const QByteArray &json, QString *problem)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return unreadable(problem, error.errorString());
    std::vector<ChannelPreset> out;
    for (const QJsonValue &set : document.object().value(QStringLiteral("sets")).toArray()) {
        ChannelPreset preset;
        preset.name = set[QStringLiteral("name")].toString();
        std::vector<int> fields;
        for (const QJsonValue &name : set[QStringLiteral("fields")].toArray()) {
            fields.push_back(fieldOf(name.toString()));
            if (fields.back() < 0)
                return unreadable(problem, QStringLiteral("未知字段：") + name.toString());
        }
        for (const QJsonValue &channel : set[QStringLiteral("channels")].toArray()) {
            const QJsonArray values = channel.toArray();
            if (values.size() != static_cast<qsizetype>(fields.size()))
                return unreadable(problem, preset.name + QStringLiteral("：字段数不符"));
            FieldValues record;
            for (std::size_t k = 0; k < fields.size(); ++k)
                record[static_cast<std::size_t>(fields[k])] =
                    values[static_cast<qsizetype>(k)].toString().toStdString();
            preset.channels.push_back(record);
        }
        if (preset.name.isEmpty() || preset.channels.empty())
            return unreadable(problem, QStringLiteral("预设缺少名称或信道"));
        out.push_back(std::move(preset));
    }
    if (out.empty())
        return unreadable(problem, QStringLiteral("没有预设"));
    return out;
}

std::vector<ChannelPreset> shippedChannelPresets(QString *problem)
{
    QFile file(QStringLiteral(":/vq/ChannelPresets.json"));
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(problem, file.errorString());
    return readChannelPresets(file.readAll(), problem);
}

} // namespace vq
