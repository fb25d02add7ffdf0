#pragma once

#include "channels/ChannelJudge.h"
#include "plan/Notice.h"

#include <QString>

#include <functional>
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

// One line per problem, the first 20 and how many more, as a notice's
// informative text; `line` gives the line of problem i.
QString problemLines(std::size_t count, const std::function<QString(std::size_t)> &line);

// `notice` with one line per refused row (the first 20 and how many more)
// as its informative text; unchanged when there are none.
Notice planRefusal(Notice notice, const std::vector<RowRefusal> &refusals);

} // namespace vq
