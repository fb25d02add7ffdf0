#pragma once

#include <QString>

#include <optional>

class QObject;

namespace vq {

// The interface speaks Chinese unless the user chose English: the Chinese
// texts are the source, English is a translation shipped inside the program.
enum class Language { Chinese, English };

// "zh" and "en", as the command line and the settings file spell them.
std::optional<Language> languageNamed(const QString &code);
QString languageCode(Language language);

// The compiled English translation embedded in the program.
QString shippedTranslation();

// Puts the interface in `language` at once: every widget gets a
// LanguageChange. English from a file that is missing or lacks the menus'
// texts stays Chinese, says so on stderr and returns false.
bool useLanguage(Language language, const QString &translationFile = shippedTranslation());
Language languageInUse();

// A caption given by its Chinese source text in `owner`'s translation
// context: set now in the language in use, and again by recaption().
void setCaption(const QObject *owner, QObject *object, const char *property, const char *source);
// Every caption of `root` and its children, looked up again.
void recaption(QObject *root);

} // namespace vq
