#pragma once

#include <QTableView>

namespace vq {

// The channel grid: a table view whose open cell editor can be committed
// on demand, so a picker never writes a row while a typed value waits.
// Enter opens a cell as F2 does, and F4 asks for the column's picker.
class ChannelGrid : public QTableView {
    Q_OBJECT
public:
    explicit ChannelGrid(QWidget *parent = nullptr);

    // Stores the text of an open cell editor (which runs its check) and
    // closes it; nothing when no editor is open.
    void commitOpenEditor();
    int currentRow() const;
    void makeRowCurrent(int row);

signals:
    // F4: the user asks for the picker of the current column.
    void pickerAsked(int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vq
