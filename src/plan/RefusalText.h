#pragma once

#include "channels/ChannelJudge.h"
#include "plan/Notice.h"

#include <QString>

#include <optional>

namespace vq {

// Why a value cannot go to the radio, in the language in use: the reason
// alone ("不在步进上，会变成145.00000"), or naming the field and the value
// ("接收频率“145.0030”不在步进上，会变成145.00000").
QString refusalReason(const ValueRefusal &refusal);
QString refusalText(const ValueRefusal &refusal);
// The reason alone as a file names it, a frequency's range not spelt out
// ("超出范围").
QString valueReason(const ValueRefusal &refusal);

// `notice` with one line per refused row (the first 20 and how many more)
// as its informative text; unchanged when there are none.
Notice planRefusal(Notice notice, const std::vector<RowRefusal> &refusals);

} // namespace vq
