#pragma once

#include "plan/AirRules.h"
#include "plan/Notice.h"

#include <QObject>

#include <optional>

namespace vq {

class PortSettings;
class TableEditor;

// The rules of the air kept current for the faces: the user's choice of
// region and licence (remembered), and the channels of the table as it is
// now that transmit where that choice does not allow. It never refuses:
// the user may hold licences the program does not know.
class AirCheck : public QObject {
    Q_OBJECT
public:
    explicit AirCheck(TableEditor &editor, QObject *parent = nullptr);
    ~AirCheck() override;

    // The choice remembered in `settings`, and later ones kept there.
    void useSettings(PortSettings *settings);
    void choose(const AirChoice &choice);
    const AirChoice &choice() const { return choice_; }
    const AirRules &rules() const { return shippedAirRules(); }
    const std::vector<AirFlag> &flags() const { return flags_; }
    // Why a row is flagged, one reason a line; empty when it is not.
    QString rowReasons(int row) const;
    // "3个信道不符合所选频率规则"; empty when none is flagged.
    QString summary() const;
    // The question before a write when channels are flagged, naming them.
    std::optional<Notice> writeQuestion() const;

signals:
    void flagsChanged();

private:
    void recheck();

    TableEditor &editor_;
    PortSettings *settings_ = nullptr;
    AirChoice choice_;
    std::vector<AirFlag> flags_;
};

} // namespace vq
