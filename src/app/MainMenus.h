#pragma once

#include "plan/Language.h"

#include <QObject>

#include <array>

class QAction;
class QMenu;

namespace vq {

class MainForm;
class MainWindow;
class Messenger;
class Programmer;

// The menu bar of 启动窗体 and the window's Esc: each item under its form
// name, wired to its plan call or to the window's command. A transfer locks
// the menus that must wait for it. The captions keep the window's
// translation context, where the language check looks for the menus.
class MainMenus : public QObject {
    Q_OBJECT
public:
    MainMenus(MainWindow &window, MainForm &form, Programmer &programmer, Messenger &messenger);

    // Captions that carry more than a fixed text, in the language in use.
    void restate();

signals:
    // The user picked a language in 系统设置 → 语言.
    void languageChosen(vq::Language language);

private:
    void buildFileMenu();
    void buildEditMenu();
    void buildEditActions(QMenu *edit);
    void moveSelectedRows(int delta);
    void buildTransfers();
    void buildSystemMenu();
    void buildLanguageMenu();
    void buildHelpMenu();
    // The action or menu under its form name, captioned when a caption is given.
    template <typename Object> Object *named(Object *object, const char *name, const char *caption = nullptr);
    void setTransferMenusEnabled(bool enabled);
    void showUndoState();

    MainWindow &window_;
    MainForm &form_;
    Programmer &programmer_;
    Messenger &messenger_;
    QAction *readAction_ = nullptr;
    QAction *compareAction_ = nullptr;
    QAction *writeAction_ = nullptr;
    QAction *undoAction_ = nullptr;
    QAction *redoAction_ = nullptr;
    QMenu *systemMenu_ = nullptr;
    QAction *exitAction_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    std::array<QAction *, 2> languageActions_{}; // 中文, English
};

} // namespace vq
