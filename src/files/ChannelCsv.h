#pragma once

// Channel plans as CSV files, in the program's own layout and in the common
// layout of open-source radio programmers.
#include "files/CommonCsvReader.h"
#include "files/CommonCsvWriter.h"
#include "files/CsvImport.h"
#include "files/CsvText.h"
#include "files/OwnCsv.h"
#include "files/Utf8.h"
