#include "app/CardPrinter.h"

#include "app/Appearance.h"
#include "plan/TableEditor.h"
#include "plan/FileTexts.h"

#include <QAbstractTextDocumentLayout>
#include <QBoxLayout>
#include <QCheckBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>

namespace vq {

namespace {

// A heading, a line and 51 table lines fill an A4 page at this size.
constexpr double kCardPoints = 10;

void useA4(QPrinter &printer, const QString &title)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    printer.setDocName(title);
}

} // namespace

ChannelCard CardPrinter::card(bool onlyWithReceiveFrequency) const
{
    return ChannelCard(editor_.plan(), {onlyWithReceiveFrequency, QDate::currentDate(), editor_.storePath()});
}

bool CardPrinter::draw(const ChannelCard &card, QPrinter &printer)
{
    QTextDocument document;
    // Measured on the printer, not the screen, so the page holds what was laid out.
    document.documentLayout()->setPaintDevice(&printer);
    document.setDefaultFont(songFont(kCardPoints));
    document.setDocumentMargin(0);
    document.setHtml(card.html());
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    document.setTextWidth(page.width());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // A face with larger lines than expected must not spill onto a second page.
    const double scale = std::min(1.0, page.height() / document.size().height());
    painter.scale(scale, scale);
    document.drawContents(&painter);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

Result CardPrinter::exportPdf(const QString &path, bool onlyWithReceiveFrequency) const
{
    const ChannelCard chosen = card(onlyWithReceiveFrequency);
    return ChannelCard::savePdf(path, [&chosen](const QString &draft) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        useA4(printer, chosen.title());
        return draw(chosen, printer) ? QString() : texts::kCardNotDrawn;
    });
}

void CardPrinter::preview(QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    useA4(printer, card(false).title());
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("打印预览"));
    dialog.setWindowTitle(QCoreApplication::translate("vq::CardPrinter", "打印预览"));
    auto *only = new QCheckBox(texts::kCardOnlyWithRx, &dialog);
    only->setObjectName(QStringLiteral("只打印有接收频率的信道"));
    only->setChecked(onlyWithReceiveFrequency_);
    // Below the pages, not in the tool bar, whose overflow would hide it in a narrow window.
    if (auto *column = qobject_cast<QBoxLayout *>(dialog.layout())) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(8, 4, 8, 6);
        row->addWidget(only);
        column->addLayout(row);
    } else {
        dialog.layout()->addWidget(only);
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this, only](QPrinter *target) { draw(card(only->isChecked()), *target); });
    QObject::connect(only, &QCheckBox::toggled, &dialog, [this, &dialog](bool on) {
        onlyWithReceiveFrequency_ = on;
        if (auto *pages = dialog.findChild<QPrintPreviewWidget *>())
            pages->updatePreview();
    });
    dialog.exec();
}

} // namespace vq
