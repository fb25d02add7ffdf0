#pragma once

#include "plan/Language.h"

class QObject;

namespace vq {

// A caption given by its Chinese source text in `owner`'s translation
// context: set now in the language in use, and again by recaption().
void setCaption(const QObject *owner, QObject *object, const char *property, const char *source);
// Every caption of `root` and its children, looked up again.
void recaption(QObject *root);

} // namespace vq
