#pragma once

#include <QString>

#include <optional>

namespace vq {

// The interface speaks Chinese unless the user chose English: the Chinese
// texts are the source, English is a translation shipped inside the program.
enum class Language { Chinese, English };

// "zh" and "en", as the command line and the settings file spell them.
std::optional<Language> languageNamed(const QString &code);
QString languageCode(Language language);

// The compiled English translation embedded in the program.
QString shippedTranslation();

// Puts the program in `language` at once: every widget gets a
// LanguageChange, and every text looked up from now on comes out in it.
// English from a file that is missing or lacks a part's texts stays
// Chinese, says so on stderr and returns false.
bool useLanguage(Language language, const QString &translationFile = shippedTranslation());
Language languageInUse();

} // namespace vq
