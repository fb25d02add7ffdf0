#pragma once

#include "plan/BulkEdit.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace vq {

// Where a user may transmit: the region they are in and whether they hold
// an amateur licence. Until they choose a region nothing is checked.
struct AirChoice {
    QString region; // "cn", "eu" or "us"; empty: not chosen
    bool amateur = false;

    bool isSet() const { return !region.isEmpty(); }
    bool operator==(const AirChoice &) const = default;
};

// One band of the rules, as the program's data (AirRules.json) gives it.
struct AirBand {
    enum class Transmit { Anyone, Amateur, Nobody };

    QString id;
    QString region; // "cn", "eu", "us", or "*" for every region
    QString zh, en;
    QString source;  // the regulation that sets it
    QString checked; // when the program's data was checked against it
    std::int64_t low = 0, high = 0; // 10 Hz steps, both ends included
    std::int64_t step = 0;          // a channel grid from `low`; 0: none
    bool simplex = false;           // transmit only on the receive frequency
    Transmit transmit = Transmit::Anyone;

    QString shownName() const; // in the language in use
    bool contains(std::int64_t f) const { return f >= low && f <= high; }
};
using AirRules = std::vector<AirBand>;

// Why a channel transmits where the choice does not allow it.
enum class AirFault {
    NotAllowed,   // in no band the region allows
    NeedsLicence, // in an amateur band, without the licence
    OffGrid,      // between a band's channels
    Split,        // transmit and receive differ in a band that allows only simplex
    ReceiveOnly,  // in a band nobody may transmit in
};

struct AirFlag {
    int row = 0;
    AirFault fault = AirFault::NotAllowed;
    int band = -1; // the rule it is against, an index of the rules; -1: none

    bool operator==(const AirFlag &) const = default;
};

// The bands of the data: an object with "bands", each with "id", "region",
// "zh", "en", "source", "checked", "transmit" (anyone, amateur, nobody),
// "simplex", and either "low" and "high" or "first", "step" and "channels"
// (MHz as text). Nothing and `problem` set when the data cannot be read.
AirRules readAirRules(const QByteArray &json, QString *problem = nullptr);
// The rules the program ships.
const AirRules &shippedAirRules();
// The bands of one region (and those of every region), as the data lists them.
AirRules regionRules(const AirRules &rules, const QString &region);

// Every channel of `plan` that transmits where `choice` does not allow, in
// row order, the first fault of each. Receiving is never flagged; a channel
// without a transmit frequency does not transmit.
std::vector<AirFlag> checkAir(const AirRules &rules, const PlanRows &plan, const AirChoice &choice);

// The flag as the user reads it, naming the rule and its source
// ("PMR446只允许收发同频（ECC/DEC/(15)05）").
QString airFlagText(const AirRules &rules, const AirFlag &flag);
// A region's name in the language in use ("中国").
QString regionName(const QString &region);

} // namespace vq
