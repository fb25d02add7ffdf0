#pragma once

#include "channels/ChannelJudge.h"
#include "files/ChannelFile.h"
#include "files/CsvImport.h"

#include <QString>

#include <string>

namespace vq {

// What reading a CSV or channel file found, in the language in use.

// Why a CSV file was refused as a whole: "第3行：引号没有结束", or the
// reason alone when no line is at fault.
QString csvFaultText(const CsvFileFault &fault);

// Why a record's value was refused, after "第3行 Tone“XYZ”：".
QString csvProblemReason(const CsvProblem &problem);

// What an import took other than written, or left out.
QString csvWarningText(const CsvWarning &warning);

// Where a channel file goes wrong: "第N项（第M信道 接收频率）不是频率".
QString channelFileProblem(int item, ChannelFileError error);
// An item that reads, but not as a value of its field:
// "第N项（第M信道 收哑音）“88.4”不是可用的哑音".
QString channelFileValueProblem(int item, const ValueRefusal &refusal);

} // namespace vq
