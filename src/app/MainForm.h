#pragma once

#include "plan/BulkEdit.h"

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vq {

class ChannelGrid;
class ChannelTableModel;
class Messenger;
class Programmer;

// The client area of 启动窗体, each control at its fixed place: the
// captions, the date frame, the status line, the progress bar, the channel
// grid with the seven pickers over its columns, and the find box. Typed
// values and picks go straight to the programmer.
class MainForm : public QWidget {
    Q_OBJECT
public:
    MainForm(Programmer &programmer, Messenger &messenger, QWidget *window);
    // The size the form was drawn for; it may grow from there.
    QSize sizeHint() const override;

    ChannelGrid *grid() const { return grid_; }
    ChannelTableModel *model() const { return model_; }
    QLabel *date() const { return date_; }

    // A picker selection, as if the user had chosen `text` in Combo<picker>.
    void pick(int picker, const QString &text);
    // The selected cells of shown rows; the current cell when none is selected.
    std::vector<Cell> selectedCells() const;
    std::vector<int> selectedRows() const;
    // These rows selected whole, `current` the current row.
    void selectRows(const std::vector<int> &rows, int current);
    // The find box, shown with its text selected for typing over.
    void showFind();
    // 隐藏空信道 on or off.
    void setHidingEmpty(bool hide);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildLabels();
    void buildGrid();
    void buildPickers();
    void buildFind();
    void buildAdapterOffer();
    // The free USB adapter on offer, by its device's short name; hidden when none.
    void showAdapterOffer();
    // Rows the find text or 隐藏空信道 leaves out are hidden, never removed:
    // the store and the order the radio gets stay as they are.
    void showMatchingRows();
    // A row header dragged from visual place `from` to `to`: the selected
    // rows (or that one) move there.
    void dropDraggedRows(int row, int from, int to);
    // Each picker named as its column, in the language in use.
    void namePickers();
    // F4 in the grid: the picker over `column`, if there is one, opened.
    void openPicker(int column);
    // Each picker over its column, as the columns and the grid move.
    void placePickers();
    int viewportLeft() const;

    Programmer &programmer_;
    Messenger &messenger_;
    ChannelTableModel *model_ = nullptr;
    ChannelGrid *grid_ = nullptr;
    QLabel *status_ = nullptr; // Label2
    QLabel *date_ = nullptr;   // Label8
    QLabel *airSummary_ = nullptr;
    QProgressBar *progress_ = nullptr;
    std::array<QComboBox *, 7> pickers_{};
    QLineEdit *find_ = nullptr;
    QPushButton *adapterButton_ = nullptr;
    QWidget *line_ = nullptr;
    QComboBox *pickerFromGrid_ = nullptr;
    QSize firstSize_;
    int ownRowHeight_ = 0;
    // Each column's width at the first size; the window's extra width is
    // shared among them by `columnScale_`.
    std::array<double, kFieldCount> columnWidths_{};
    int firstColumnsWidth_ = 1;
    double columnScale_ = 1.0;
    bool scalingColumns_ = false;
    std::array<std::array<int, 2>, 7> pickerOffsets_{};
    bool hidingEmpty_ = false;
};

} // namespace vq
