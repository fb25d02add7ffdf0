#include "plan/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace vq {

namespace {

// The translator of the program's texts and the one of Qt's standard
// dialogs; either may be absent.
QTranslator *programTranslator = nullptr;
QTranslator *qtTranslator = nullptr;
Language inUse = Language::Chinese;

void drop(QTranslator *&translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

// A file made for an older program, or cut short, may lack whole windows
// or the command line's texts: one text of each part must be there, the
// menus first, as every user reads them.
bool coversEveryPart(const QTranslator &translator)
{
    const char *const samples[][2] = {{"vq::MainWindow", "        文件(&F)"},
                                      {"vq::MainWindow", "        编辑(&D)"},
                                      {"vq::MainWindow", "        系统设置(&S)"},
                                      {"vq::MainWindow", "       帮助(&H)"},
                                      {"vq::texts", "错误警告 "},
                                      {"vq::fields", "接收频率"},
                                      {"vq::cli", "用法:"}};
    for (const auto &[context, source] : samples)
        if (translator.translate(context, source).isEmpty())
            return false;
    return true;
}

} // namespace

std::optional<Language> languageNamed(const QString &code)
{
    if (code == QLatin1String("zh"))
        return Language::Chinese;
    if (code == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("zh");
}

QString shippedTranslation()
{
    return QStringLiteral(":/i18n/vq4471r_en.qm");
}

bool useLanguage(Language language, const QString &translationFile)
{
    drop(programTranslator);
    drop(qtTranslator);
    bool usable = true;
    if (language == Language::English) {
        auto *translator = new QTranslator;
        if (translator->load(translationFile) && coversEveryPart(*translator)) {
            programTranslator = translator;
            QCoreApplication::installTranslator(translator);
            inUse = Language::English;
            return true; // Qt's own texts are English already
        }
        delete translator;
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("English translation %1 missing or incomplete; using Chinese")
                                    .arg(translationFile)));
        usable = false;
    }
    // Standard buttons read 确定 and 取消.
    auto *translator = new QTranslator;
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtTranslator = translator;
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
    inUse = Language::Chinese;
    return usable;
}

Language languageInUse()
{
    return inUse;
}

} // namespace vq
