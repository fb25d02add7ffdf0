#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace vq {

class HistoryModel;
class Messenger;
class Programmer;

// The window History: every snapshot of the plan, newest first, and for
// the selected one the channels that differ from the table now, side by
// side. A snapshot can be put back (one undoable step) or saved as a file.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(Programmer &programmer, Messenger &messenger, QWidget *parent = nullptr);

    HistoryModel *model() const { return model_; }
    bool selectRow(int row);
    void restoreSelected();
    void exportSelected();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showCaptions();
    void showState();
    void showDifferences();
    qint64 selectedId() const;

    Programmer &programmer_;
    Messenger &messenger_;
    HistoryModel *model_ = nullptr;
    QTableView *list_ = nullptr;
    QStandardItemModel *differences_ = nullptr;
    QLabel *state_ = nullptr;
    QPushButton *restore_ = nullptr;
    QPushButton *export_ = nullptr;
};

} // namespace vq
