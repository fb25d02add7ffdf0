#pragma once

#include "app/ChannelGrid.h"

#include <QLineEdit>
#include <QTest>

namespace vq::test {

// Types into a cell as a user does: select it, type (the first key opens
// the editor), and press Enter unless told not to. False when no editor
// opened or it did not close again.
inline bool typeIntoCell(ChannelGrid *grid, int row, int column, const QString &text, bool enter = true)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClicks(grid, text.left(1));
    auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
    if (!editor)
        return false;
    QTest::keyClicks(editor, text.mid(1));
    if (!enter)
        return true;
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits on its next turn of the event loop.
    return QTest::qWaitFor([&] { return !grid->indexWidget(grid->currentIndex()); }, 2000);
}

} // namespace vq::test
