#pragma once

#include "plan/ChannelCard.h"

class QPrinter;
class QWidget;

namespace vq {

class TableEditor;

// Lays the channel card on paper: the print preview (with the choice of
// channels in its tool bar) and the PDF export. One A4 page in the Song
// face, so the Chinese prints as it reads on screen.
class CardPrinter {
public:
    explicit CardPrinter(const TableEditor &editor) : editor_(editor) {}

    // The card of the plan as it is now, dated today.
    ChannelCard card(bool onlyWithReceiveFrequency) const;
    // The card on one page of `printer`, shrunk when it would run longer;
    // false when the printer would not take it.
    static bool draw(const ChannelCard &card, QPrinter &printer);
    Result exportPdf(const QString &path, bool onlyWithReceiveFrequency) const;
    // Waits until the preview is closed (printed or not).
    void preview(QWidget *parent);

private:
    const TableEditor &editor_;
    // The preview's last choice, offered again next time.
    bool onlyWithReceiveFrequency_ = false;
};

} // namespace vq
