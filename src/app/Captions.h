#pragma once

#include "plan/Language.h"

class QObject;
class QWidget;

namespace vq {

// A caption given by its Chinese source text in `owner`'s translation
// context: set now in the language in use, and again by recaption().
void setCaption(const QObject *owner, QObject *object, const char *property, const char *source);
// Every caption of `root` and its children, looked up again.
void recaption(QObject *root);

// Every text of `window` made to fit in the language in use: a label that
// wraps grows downwards, any other text grows its widget sideways, what
// stands below or beside moves along, and the window grows to hold it all.
// A window whose texts fit keeps its fixed layout to the pixel. Widgets in
// a layout are the layout's; a line edit there is only widened for its hint.
void fitTexts(QWidget *window);
// The property that keeps a widget out of fitting: a label drawn as a rule.
inline constexpr const char *kNotFitted = "vqNotFitted";

// Fits every window as it is shown and again after the language changes.
void fitTextsOfEveryWindow();

} // namespace vq
