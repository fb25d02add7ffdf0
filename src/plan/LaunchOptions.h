#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace vq {

class PortSettings;

// What the window's command line and the tool's decide alike, so that a
// mistake reads the same from either.

// The first mistake among the options both take: one of `single` given
// more than once, a --db that could never be saved, a --lang the program
// does not speak. Empty when there is none.
QString launchMistake(const QCommandLineParser &parser, const QStringList &single);

// Puts the program in the language of this run: `code` when one was given,
// else the one chosen in the window. A one-run choice is not remembered.
void useRunLanguage(const QString &code, PortSettings &settings);

} // namespace vq
