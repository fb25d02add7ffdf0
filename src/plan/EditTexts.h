#pragma once

#include "plan/BulkEdit.h"

#include <QString>

namespace vq {

// The reasons of a refused grid edit, in the language in use.

// Why the edit as a whole was refused ("请先选择信道").
QString editErrorText(const EditError &error);

// Why a value may not stand where the edit would put it ("不是频率").
QString cellProblemReason(const CellProblem &problem);

} // namespace vq
