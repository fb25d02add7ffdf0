#include "plan/AirCheck.h"

#include "channels/ChannelTableModel.h"
#include "plan/PortSettings.h"
#include "plan/TableEditor.h"

#include <QCoreApplication>

namespace vq {

AirCheck::AirCheck(TableEditor &editor, QObject *parent) : QObject(parent), editor_(editor)
{
    connect(&editor_, &TableEditor::tableChanged, this, &AirCheck::recheck);
    editor_.model()->setRowNotes([this](int row) { return rowReasons(row); });
}

AirCheck::~AirCheck()
{
    // The model may outlive this check; it must not ask a gone one.
    editor_.model()->setRowNotes({});
}

void AirCheck::useSettings(PortSettings *settings)
{
    settings_ = settings;
    if (settings_)
        choice_ = settings_->loadAirChoice();
    recheck();
}

void AirCheck::choose(const AirChoice &choice)
{
    choice_ = choice;
    if (settings_)
        settings_->saveAirChoice(choice);
    recheck();
}

void AirCheck::recheck()
{
    flags_ = checkAir(rules(), editor_.plan(), choice_);
    editor_.model()->notesChanged();
    emit flagsChanged();
}

QString AirCheck::rowReasons(int row) const
{
    QStringList reasons;
    for (const AirFlag &flag : flags_)
        if (flag.row == row)
            reasons << airFlagText(rules(), flag);
    return reasons.join(QLatin1Char('\n'));
}

QString AirCheck::summary() const
{
    if (flags_.empty())
        return {};
    return QCoreApplication::translate("vq::air", "%1个信道不符合所选频率规则").arg(flags_.size());
}

std::optional<Notice> AirCheck::writeQuestion() const
{
    if (flags_.empty())
        return std::nullopt;
    QStringList lines;
    for (const AirFlag &flag : flags_)
        lines << QCoreApplication::translate("vq::air", "第%1信道：%2").arg(flag.row + 1).arg(airFlagText(rules(), flag));
    Notice question = errorNotice(QCoreApplication::translate("vq::air", "以下信道不符合%1的频率规则，仍要写入吗？")
                                      .arg(regionName(choice_.region)));
    question.informative = lines.join(QLatin1Char('\n'));
    return question;
}

} // namespace vq
